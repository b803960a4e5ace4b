// The optical transfer function (OTF) of the current PSF: the Fourier transform of the
// intensity, normalised to 1 at zero frequency; the modulation transfer function (MTF) is its
// modulus, the contrast with which the optics image a sine pattern of that frequency.
//
// The 128 far-field samples XPSFStep apart make frequencies 1 / (128 XPSFStep) apart, zero
// frequency on sample 65 like the centre of the PSF. The OTF of a pupil D wide reaches to the
// cut-off D / (lambda EFL), which is 2 ncenter steps (the pupil's width in samples less one:
// the longest lag of its autocorrelation). The grid holds frequencies up to 64 steps; a PSF
// sampled below Q = 2 has a cut-off beyond them, and its higher frequencies fold back onto
// the lower ones.
#pragma once

#include <complex>
#include <optional>
#include <string>
#include <vector>

#include "optics/continuous_psf.h"

// The frequency unit: cycles per millimetre in the image plane for a PSF in microns, cycles
// per milliradian or per arc second for an angle. For people ("cycles/mm") and as a CSV
// column's ending ("cy_per_mm").
const char *frequency_unit_name();
const char *frequency_unit_csv();
// The frequency step in that unit; calls set_domains().
double frequency_step();
// The pupil's cut-off frequency D / (lambda EFL), in steps.
double cutoff_steps();

// The last frequency of an MTF curve, in steps.
constexpr int MTF_LAST_STEP = 64;

// The MTF along x (along_x) or y through zero frequency at 0 .. 64 steps, from the intensity
// [1..128][1..128]: the 1-D transform of the intensity summed across the other axis (the
// projection-slice theorem). Empty when the intensity holds no light.
std::vector<double> mtf_curve(float **intensity, bool along_x);
// The same for the PSF of the current transmission without phase error.
std::vector<double> diffraction_limited_mtf_curve(bool along_x);
// The transform of the samples of a PSF whose pupil autocorrelation is c, along x or y at
// 0 .. 64 steps: |C(k) + C(k - 128)| / C(0), the lag k - 128 folding onto k. Exact in double,
// where the samples m_output hold floats. Empty for a dark pupil.
std::vector<double> mtf_curve(const PupilAutocorrelation &c, bool along_x);
// The MTF curve of the current PSF: from its pupil's autocorrelation for one wavelength held
// still, from the samples m_output over a band or with jitter.
std::vector<double> psf_mtf_curve(bool along_x);

// The OTF over the whole grid from the intensity [1..128][1..128]: [(i - 1) 128 + j - 1],
// frequency (i - 65, j - 65) steps. Empty when the intensity holds no light.
std::vector<std::complex<double>> otf_map(float **intensity);
// Fills mtf_output with the MTF of m_output, all 0 when the PSF is dark; false then.
bool compute_mtf_output();

// The curve's value `steps` from zero frequency, linear between its samples; empty beyond its
// last sample.
std::optional<double> curve_value(const std::vector<double> &curve, double steps);
// The lowest frequency, in steps, where the curve falls to `level`, linear between samples;
// empty when it stays above the level up to `last` steps.
std::optional<double> curve_crossing(const std::vector<double> &curve, double level, double last);

// The two MTF slices as CSV: a header naming the frequency's unit
// ("frequency_cy_per_mm,mtf_x,mtf_y,mtf_diffraction_limit,mtf_diffraction_limit_y"), then one
// row per step from zero frequency to the cut-off rounded up to a whole step (at most 64).
// Empty when the PSF is dark.
std::string format_mtf_csv();
// The steps the MTF slices show: 0 .. the cut-off rounded up, at most MTF_LAST_STEP.
int mtf_slice_steps();
