#include "optics/spectral_psf.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "optics/settings.h"
#include "optics/spectrum.h"

namespace {

constexpr double TWO_PI = 2 * std::numbers::pi;

// exp(2 pi i s k t / 128) for k = first .. first + count - 1.
void ramp(int first, int count, double s, double t, std::vector<std::complex<double>> &out)
{
    out.resize(count);
    for (int k = 0; k < count; k++) out[k] = std::polar(1.0, TWO_PI * s * (first + k) * t / GRID);
}

}  // namespace

void SpectralPsf::read()
{
    const std::vector<SpectralLine> band = spectral_lines();
    const double sx = jitter_samples(true), sy = jitter_samples(false);
    psfs_.resize(band.size());
    lines_.clear();
    terms_.clear();
    mean_ = reference_peak_ = 0;
    highest_scale_ = 1;
    for (std::size_t k = 0; k < band.size(); k++) {
        ContinuousPsf &psf = psfs_[k];
        psf.read_pupil(band[k].scale);
        if (psf.dark()) return;
        const double s = band[k].scale, w = band[k].weight * s * s;
        const PupilAutocorrelation &c = psf.autocorrelation();
        lines_.push_back({&c, s, w, sx, sy});
        reference_peak_ += w * psf.transmission_sum() * psf.transmission_sum();
        mean_ += w * c.at(0, 0).real();
        highest_scale_ = std::max(highest_scale_, s);
        Line line{s, c.nu, c.nv, std::vector<std::complex<double>>(c.values.size())};
        const double ax = 2 * std::numbers::pi * std::numbers::pi * sx * sx * s * s / (GRID * GRID);
        const double ay = 2 * std::numbers::pi * std::numbers::pi * sy * sy * s * s / (GRID * GRID);
        for (int v = 1 - c.nv; v < c.nv; v++)
            for (int u = (v > 0 ? 0 : 1); u < c.nu; u++)
                line.c[(v + c.nv - 1) * c.nu + u] =
                    2 * w * std::exp(-(ax * u * u + ay * v * v)) * c.at(u, v);
        terms_.push_back(std::move(line));
    }
}

IntensityDerivatives SpectralPsf::derivatives(double x, double y, bool second) const
{
    IntensityDerivatives d{mean_, 0, 0, 0, 0, 0};
    std::vector<std::complex<double>> ru, rv;
    for (const Line &line : terms_) {
        ramp(0, line.nu, line.scale, x, ru);
        ramp(1 - line.nv, 2 * line.nv - 1, line.scale, y, rv);
        const double k = TWO_PI * line.scale / GRID;  // radians per lag per sample
        for (int v = 1 - line.nv; v < line.nv; v++) {
            const std::complex<double> *c = &line.c[(v + line.nv - 1) * line.nu];
            const std::complex<double> turn = rv[v + line.nv - 1];
            double re = 0, im = 0, ure = 0, uim = 0, uure = 0;
            for (int u = 0; u < line.nu; u++) {
                const std::complex<double> z = c[u] * ru[u] * turn;
                re += z.real();
                if (!second) continue;
                im += z.imag();
                ure += u * z.real();
                uim += u * z.imag();
                uure += double(u) * u * z.real();
            }
            d.value += re;
            if (!second) continue;
            // d/dx of Re(z) is -k u Im(z), d2/dx2 is -(k u)^2 Re(z), and likewise for v.
            d.dx -= k * uim;
            d.dy -= k * v * im;
            d.dxx -= k * k * uure;
            d.dxy -= k * k * v * ure;
            d.dyy -= k * k * double(v) * v * re;
        }
    }
    return d;
}

double SpectralPsf::intensity(double x, double y) const { return derivatives(x, y, false).value; }

// As for one wavelength, with steps of at most half the shortest line's sample.
PsfPoint SpectralPsf::peak(PsfPoint at) const
{
    if (dark()) return at;
    return climb_to_peak(
        at, 0.5 / highest_scale_, [this](double x, double y) { return derivatives(x, y, true); },
        [this](double x, double y) { return intensity(x, y); });
}

std::vector<SpectralPsf::Section> SpectralPsf::section(const PsfPoint &point, bool along_x) const
{
    std::vector<Section> sections;
    std::vector<std::complex<double>> turns;
    for (const Line &line : terms_) {
        Section cut{line.scale, along_x ? 0 : 1 - line.nv,
                    std::vector<std::complex<double>>(along_x ? line.nu : 2 * line.nv - 1)};
        if (along_x) {  // sum over v at the point's y
            ramp(1 - line.nv, 2 * line.nv - 1, line.scale, point.y, turns);
            for (int v = 1 - line.nv; v < line.nv; v++)
                for (int u = 0; u < line.nu; u++)
                    cut.d[u] += line.c[(v + line.nv - 1) * line.nu + u] * turns[v + line.nv - 1];
        } else {  // sum over u at the point's x
            ramp(0, line.nu, line.scale, point.x, turns);
            for (int v = 1 - line.nv; v < line.nv; v++)
                for (int u = 0; u < line.nu; u++)
                    cut.d[v + line.nv - 1] += line.c[(v + line.nv - 1) * line.nu + u] * turns[u];
        }
        sections.push_back(std::move(cut));
    }
    return sections;
}

// As for one wavelength: stepped out from the peak in sixteenths of the shortest line's sample
// scale, then halved down to 1e-8 sample.
std::optional<double> SpectralPsf::width_at_half(const PsfPoint &peak, bool along_x) const
{
    if (dark()) return std::nullopt;
    const std::vector<Section> sections = section(peak, along_x);
    const double centre = along_x ? peak.x : peak.y, half = peak.intensity / 2;
    std::vector<std::complex<double>> turns;
    const auto above_half = [&](double t) {
        double value = mean_;
        for (const Section &cut : sections) {
            ramp(cut.first, int(cut.d.size()), cut.scale, t, turns);
            for (std::size_t k = 0; k < cut.d.size(); k++) value += (cut.d[k] * turns[k]).real();
        }
        return value > half;
    };
    return width_between_crossings(centre, 1.0 / (16 * highest_scale_), above_half);
}
