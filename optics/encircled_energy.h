// Encircled energy of the continuous PSF about a fixed centre, exactly, through the optical
// transfer function.
//
// The intensity is I(x, y) = sum over lags k = (u, v) of C(k) exp(2 pi i k.x / 128) (see
// continuous_psf.h). Over a disc of radius r about c each term integrates to
//     C(k) exp(2 pi i k.c / 128) r J1(2 pi r rho) / rho,   rho = |k| / 128 cycles per sample,
// and to pi r^2 C(0) for k = 0. One period of I holds 128^2 C(0), which is also the sum of the
// 128 x 128 samples. Lags of equal |k| share the Bessel factor, so the terms are gathered into
// rings of equal u^2 + v^2 once per centre.
//
// Why this route: it is exact for the sampled pupil (no grid to refine, no pixel to split at
// the rim), and once the rings are gathered a radius costs one table look-up per ring (652 for
// the start-up pupil, 5838 for one filling the grid), so a radius takes about twenty
// evaluations in tens of microseconds, where a grid fine enough for 1e-3 would cost
// milliseconds.
#pragma once

#include <complex>
#include <optional>
#include <vector>

#include "optics/continuous_psf.h"

// One wavelength of a band: its pupil autocorrelation, the scale of its frequencies on the
// grid (lag k at s k / 128 cycles per sample), the weight of its intensity, and the RMS jitter
// in samples along x and y, which multiplies each term by the Gaussian's transform.
struct WeightedAutocorrelation {
    const PupilAutocorrelation *c = nullptr;
    double scale = 1, weight = 1, sigma_x = 0, sigma_y = 0;
};

class EncircledEnergy {
public:
    // Gathers the rings about (cx, cy), in samples from the centre sample; the arrays of the
    // last centring are reused.
    void centre_on(const PupilAutocorrelation &c, double cx, double cy);
    // The same for the sum of several weighted, blurred intensities; one period is then the
    // 128 x 128 samples of the grid, holding 128^2 times the mean intensity.
    void centre_on(const std::vector<WeightedAutocorrelation> &lines, double cx, double cy);

    // The fraction of one period's energy within `radius` samples of the centre.
    double fraction_within(double radius) const;

    // The radius that holds `fraction` of the energy, to 1e-9 sample; empty when even
    // max_radius holds less.
    std::optional<double> radius_holding(double fraction, double max_radius) const;

private:
    struct Ring {
        double rho;     // cycles per sample
        double weight;  // sum over the ring of Re(C(k) exp(2 pi i k.c / 128))
    };
    struct Value {
        double fraction, slope;
    };
    Value evaluate(double radius) const;

    std::vector<Ring> rings_;
    double zero_lag_ = 0;         // C(0), the energy per unit area
    std::vector<double> weight_;  // by u^2 + v^2 while gathering, left cleared
    std::vector<char> present_;
    std::vector<std::complex<double>> ramp_u_, ramp_v_;
};
