// The one path from the settings to the PSF and what is reported about it, taken by the batch
// job and by every sweep row; the window takes its second half after Create PSF.
#pragma once

#include <optional>

#include "optics/centroid.h"
#include "optics/farfield.h"
#include "optics/image_quality.h"

// What is reported about the current PSF.
struct PsfReport {
    double wavesrms = 0;
    double xpsfcent = 0, ypsfcent = 0;  // samples from the centre sample
    PsfPeak peak;
    ImageQuality quality;
    std::optional<CentroidError> centroid_error;  // when the analysis ran and saw light
};

// Reads the report from the arrays as they are now (after do_FFT).
PsfReport psf_report();

// Settings to figures: derives the dependent settings, rebuilds the pupil, transforms it and
// reads the report.
PsfReport compute_psf();
