// The far field at focus: transform of the complex pupil, intensity scaled to a peak of 100,
// centroid offsets, and optionally the centroid error analysis.
#pragma once

// Fills r_output, i_output, m_output, xpsfcent, ypsfcent from A_input/B_input and sets
// HaveCurrentPSF. With nDoCentroidError 1 it then runs the centroid error analysis and
// reports its result through the optics notify hook.
void do_FFT();

// True when the last do_FFT found no light at all (empty or fully obscured pupil): the PSF
// and the centroids were left at zero.
bool psf_is_dark();

struct PsfPeak {
    int i = 0, j = 0;  // the sample, [1..128] each
    float value = 0.0f;
};

// The brightest sample of m_output, the one the batch job prints. Of equal samples the first
// met with j outer and i inner wins. (The figures of merit find the peak between the samples:
// optics/continuous_psf.h.)
PsfPeak find_psf_peak();
