// The far field of the sampled pupil at any point of the image plane, not only at the 128 x 128
// samples the FFT gives: the figures of merit read it where the PSF really peaks and crosses
// half its height, wherever the samples fall.
//
// With a(i, j) = t exp(2 pi i phi) the complex pupil sample and x, y in far-field samples from
// the centre sample (65, 65),
//     E(x, y) = sum a(i, j) exp(2 pi i ((i - 64.5) x + (j - 64.5) y) / 128),
// the trigonometric polynomial the FFT samples at whole x, y (up to a phase that |E|^2 does not
// see). Its intensity |E|^2 repeats every 128 samples and carries the frequencies -127 .. 127 per
// axis; their weights are the autocorrelation of the pupil (the unnormalised OTF).
#pragma once

#include <complex>
#include <functional>
#include <optional>
#include <vector>

// A point of the image plane in samples from the centre sample, with the intensity |E|^2 there.
struct PsfPoint {
    double x = 0, y = 0;
    double intensity = 0;
};

// An intensity with its first and second derivatives at one point.
struct IntensityDerivatives {
    double value, dx, dy, dxx, dxy, dyy;
};

// The brightest point near start of a smooth intensity, to a relative 1e-9: Newton steps,
// and where the surface is not concave (or a step would lose height) the gradient instead,
// halving the step until it gains; no step is longer than most_step samples.
PsfPoint climb_to_peak(PsfPoint start, double most_step,
                       const std::function<IntensityDerivatives(double, double)> &derivatives,
                       const std::function<double(double, double)> &intensity);

// The distance between the crossings of half the peak nearest centre on either side of a line
// through it: stepped out from centre by step samples up to 64, then halved down to 1e-8
// sample. above_half(t) tells whether the intensity at t is above half. Empty when one side
// has no crossing.
std::optional<double> width_between_crossings(double centre, double step,
                                              const std::function<bool(double)> &above_half);

// C(u, v) = sum a(i + u, j + v) conj(a(i, j)), so that |E(x, y)|^2 = sum over u, v of
// C(u, v) exp(2 pi i (u x + v y) / 128). Kept for u = 0 .. nu - 1 and |v| < nv; the other half
// is C(-u, -v) = conj(C(u, v)).
struct PupilAutocorrelation {
    int nu = 0, nv = 0;
    std::vector<std::complex<double>> values;  // [(v + nv - 1) nu + u]
    std::complex<double> at(int u, int v) const { return values[(v + nv - 1) * nu + u]; }
};

// Kept from one PSF to the next where many are analysed: reading a pupil reuses the arrays of
// the last one (up to a few megabytes for a pupil that fills the grid).
class ContinuousPsf {
public:
    // Dark until a pupil is read.
    ContinuousPsf() = default;
    // Takes r_input and phase_input as they are now, the phase scaled by phase_scale (the
    // phase at another wavelength).
    void read_pupil(double phase_scale = 1);

    // Sum of the transmissions: |E|^2 of the same pupil without phase error peaks at its square.
    double transmission_sum() const { return transmission_sum_; }
    bool dark() const { return !(transmission_sum_ > 0); }

    double intensity(double x, double y) const;

    // The brightest point of the plane near the brightest sample, to a relative 1e-9 in
    // intensity.
    PsfPoint peak() const;

    // Full width at half the peak's intensity along x (along_x true) or y through the peak:
    // the distance between the half-maximum crossings nearest the peak on either side, in
    // samples. Empty when one side has no crossing within 64 samples.
    std::optional<double> width_at_half(const PsfPoint &peak, bool along_x) const;

    const PupilAutocorrelation &autocorrelation() const { return autocorrelation_; }

private:
    IntensityDerivatives derivatives(double x, double y) const;
    // The line through the peak as a one-dimensional polynomial: its coefficients per pupil
    // index i (along x) or j (along y).
    std::vector<std::complex<double>> line(const PsfPoint &peak, bool along_x) const;
    void transform_to_grid();

    int i0_ = 1, j0_ = 1;          // first lit sample along i and along j
    int ni_ = 0, nj_ = 0;          // lit box, in samples
    std::vector<double> re_, im_;  // a(i0 + p, j0 + q) at [p nj + q]
    double transmission_sum_ = 0;
    PsfPoint brightest_;  // of the samples the FFT grid gives
    PupilAutocorrelation autocorrelation_;
};
