// The PSF over a band of wavelengths and blurred by jitter as a continuous function of the
// image plane, for the figures of merit (optics/spectrum.h says how the band is made).
//
// Each line s contributes w s^2 |E_s|^2, whose terms are its pupil's autocorrelation C_s(u, v)
// at the frequencies s (u, v) / 128 cycles per sample; jitter multiplies each term by the
// Gaussian's transform. So with lags k and -k taken together,
//     I(x, y) = mean + sum over half the lags of 2 Re(c exp(2 pi i s (u x + v y) / 128)),
// exact between the samples as the monochromatic far field is.
#pragma once

#include <optional>
#include <vector>

#include "optics/continuous_psf.h"
#include "optics/encircled_energy.h"

class SpectralPsf {
public:
    // Takes r_input, phase_input and the band and jitter settings as they are now.
    void read();
    bool dark() const { return !(reference_peak_ > 0); }
    // The highest point of the band's PSF without phase error and without jitter: every line
    // peaks on the axis at w s^2 (sum of the transmissions)^2.
    double reference_peak() const { return reference_peak_; }

    double intensity(double x, double y) const;
    // The brightest point near start, to a relative 1e-9 in intensity.
    PsfPoint peak(PsfPoint start) const;
    // Full width at half the peak's intensity through it along x or y, in samples; empty when
    // one side has no crossing within 64 samples.
    std::optional<double> width_at_half(const PsfPoint &peak, bool along_x) const;
    // The lines for the encircled energy.
    const std::vector<WeightedAutocorrelation> &lines() const { return lines_; }

private:
    // One line's terms: c(u, v) for u = 0 .. nu - 1, |v| < nv, zero outside half the plane,
    // the factor 2 of the conjugate lag, the weight and the blur included.
    struct Line {
        double scale;
        int nu, nv;
        std::vector<std::complex<double>> c;  // [(v + nv - 1) nu + u]
    };
    IntensityDerivatives derivatives(double x, double y, bool second) const;
    // The PSF along x or y through a point, per line: the coefficient d_k of each lag k along
    // the axis, the other axis summed at the point.
    struct Section {
        double scale;
        int first;  // the lag of d[0]
        std::vector<std::complex<double>> d;
    };
    std::vector<Section> section(const PsfPoint &point, bool along_x) const;

    std::vector<ContinuousPsf> psfs_;
    std::vector<WeightedAutocorrelation> lines_;
    std::vector<Line> terms_;
    double mean_ = 0, reference_peak_ = 0, highest_scale_ = 1;
};
