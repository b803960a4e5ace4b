#include "optics/transfer_function.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "optics/domains.h"
#include "optics/number_text.h"
#include "optics/plane_fft.h"
#include "optics/settings.h"
#include "optics/spectrum.h"

namespace {

// exp(-2 pi i k / 128) for k = 0 .. 127: a frequency f at sample i turns by (i - 65) f.
struct Turns {
    double c[GRID], s[GRID];
    Turns()
    {
        for (int k = 0; k < GRID; k++) {
            c[k] = std::cos(2 * std::numbers::pi * k / GRID);
            s[k] = -std::sin(2 * std::numbers::pi * k / GRID);
        }
    }
};

// |sum over i of p(i) exp(-2 pi i (i - 65) f / 128)| / sum p for f = 0 .. 64, the line p
// holding the intensity summed across the other axis, p[0] for sample 1.
std::vector<double> curve_of_line(const double (&p)[GRID])
{
    static const Turns turns;
    double total = 0;
    for (double v : p) total += v;
    if (!(total > 0)) return {};
    std::vector<double> curve(MTF_LAST_STEP + 1);
    curve[0] = 1;
    for (int f = 1; f <= MTF_LAST_STEP; f++) {
        double re = 0, im = 0;
        for (int k = 0; k < GRID; k++) {
            const int turn = (((k + 1 - PSF_CENTRE) * f) % GRID + GRID) % GRID;
            re += p[k] * turns.c[turn];
            im += p[k] * turns.s[turn];
        }
        curve[f] = std::hypot(re, im) / total;
    }
    return curve;
}

// The 2-D transform of the plane in place, sign -1; the result comes out transposed.
void transform_plane(Plane &plane, Plane &scratch)
{
    transform_columns(plane, GRID, -1);
    scratch.resize(GRID);
    transpose(plane, scratch, GRID, GRID);
    transform_columns(scratch, GRID, -1);
    std::swap(plane, scratch);
}

// The field of the transmission alone, |E|^2 at every sample, transposed: the PSF without
// phase error up to a shift, which no MTF sees.
void diffraction_limited_intensity(Plane &out)
{
    thread_local Plane scratch;
    out.resize(GRID);
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            out.r(i - 1, j - 1) = r_input[i][j];
            out.i(i - 1, j - 1) = 0;
        }
    transform_plane(out, scratch);
    for (std::size_t k = 0; k < out.re.size(); k++) {
        out.re[k] = out.re[k] * out.re[k] + out.im[k] * out.im[k];
        out.im[k] = 0;
    }
}

// C(u, v) for u >= 0, zero beyond the lags the pupil has.
std::complex<double> lag_or_zero(const PupilAutocorrelation &c, int u, int v)
{
    if (u >= c.nu || v <= -c.nv || v >= c.nv) return 0;
    return c.at(u, v);
}

}  // namespace

const char *frequency_unit_name() { return psf_unit_names().frequency; }

const char *frequency_unit_csv() { return psf_unit_names().frequency_csv; }

double frequency_step()
{
    set_domains();
    // A PSF in microns has its frequencies per millimetre.
    const double per_unit = 1.0 / (GRID * XPSFStep);
    return nCurrentPSFUnits == PSF_MICRONS ? 1000 * per_unit : per_unit;
}

double cutoff_steps() { return 2.0 * ncenter; }

std::vector<double> mtf_curve(float **intensity, bool along_x)
{
    double p[GRID] = {};
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) p[(along_x ? i : j) - 1] += intensity[i][j];
    return curve_of_line(p);
}

std::vector<double> diffraction_limited_mtf_curve(bool along_x)
{
    if (is_broadband()) {
        const std::vector<double> band = diffraction_limited_band_intensity();
        double p[GRID] = {};
        for (int i = 0; i < GRID; i++)
            for (int j = 0; j < GRID; j++) p[along_x ? i : j] += band[i * GRID + j];
        return curve_of_line(p);
    }
    thread_local Plane intensity;
    diffraction_limited_intensity(intensity);
    // Transposed: row j - 1, column i - 1.
    double p[GRID] = {};
    for (int j = 0; j < GRID; j++)
        for (int i = 0; i < GRID; i++) p[along_x ? i : j] += intensity.r(j, i);
    return curve_of_line(p);
}

std::vector<double> mtf_curve(const PupilAutocorrelation &c, bool along_x)
{
    if (c.nu == 0 || !(c.at(0, 0).real() > 0)) return {};
    // C(u, v) is kept for u >= 0; C(-u, -v) is its conjugate.
    const auto lag = [&c](int u, int v) -> std::complex<double> {
        if (u < 0) return std::conj(lag_or_zero(c, -u, -v));
        return lag_or_zero(c, u, v);
    };
    std::vector<double> curve(MTF_LAST_STEP + 1);
    for (int k = 0; k <= MTF_LAST_STEP; k++) {
        const std::complex<double> sum =
            along_x ? lag(k, 0) + lag(k - GRID, 0) : lag(0, k) + lag(0, k - GRID);
        curve[k] = std::abs(sum) / c.at(0, 0).real();
    }
    return curve;
}

std::vector<double> psf_mtf_curve(bool along_x)
{
    if (is_broadband() || is_jittered()) return mtf_curve(m_output, along_x);
    thread_local ContinuousPsf psf;
    psf.read_pupil();
    return mtf_curve(psf.autocorrelation(), along_x);
}

std::vector<std::complex<double>> otf_map(float **intensity)
{
    thread_local Plane plane, scratch;
    plane.resize(GRID);
    double total = 0;
    // The signs (-1)^(i + j) move zero frequency from the corner to sample 65.
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            const double v = intensity[i][j];
            total += v;
            plane.r(i - 1, j - 1) = (i + j) % 2 ? -v : v;
            plane.i(i - 1, j - 1) = 0;
        }
    if (!(total > 0)) return {};
    transform_plane(plane, scratch);
    // Sample (i, j) now holds the transform at frequency (i - 65, j - 65) about the first
    // sample; about the centre sample 65 it turns by (-1)^(i + j) once more.
    std::vector<std::complex<double>> otf(GRID_VALUES);
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            const double sign = (i + j) % 2 ? -1.0 : 1.0;
            otf[(i - 1) * GRID + (j - 1)] = {sign * plane.r(j - 1, i - 1) / total,
                                             sign * plane.i(j - 1, i - 1) / total};
        }
    return otf;
}

bool compute_mtf_output()
{
    const std::vector<std::complex<double>> otf = otf_map(m_output);
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            mtf_output[i][j] = otf.empty() ? 0.0f : float(std::abs(otf[(i - 1) * GRID + j - 1]));
    return !otf.empty();
}

std::optional<double> curve_value(const std::vector<double> &curve, double steps)
{
    steps = std::fabs(steps);  // the MTF of a real intensity is even
    const double last = double(curve.size()) - 1;
    if (curve.empty() || !(steps <= last)) return std::nullopt;
    const int below = std::min(int(steps), int(last) - (steps == last ? 1 : 0));
    if (below < 0) return curve[0];
    const double t = steps - below;
    return curve[below] + t * (curve[below + 1] - curve[below]);
}

std::optional<double> curve_crossing(const std::vector<double> &curve, double level, double last)
{
    if (curve.empty()) return std::nullopt;
    if (curve[0] <= level) return 0.0;
    for (std::size_t f = 1; f < curve.size() && f - 1 < last; f++) {
        if (curve[f] > level) continue;
        const double crossing = f - 1 + (curve[f - 1] - level) / (curve[f - 1] - curve[f]);
        if (crossing <= last) return crossing;
        return std::nullopt;
    }
    return std::nullopt;
}

int mtf_slice_steps()
{
    return std::min(MTF_LAST_STEP, static_cast<int>(std::ceil(cutoff_steps())));
}

std::string format_mtf_csv()
{
    const std::vector<double> x = psf_mtf_curve(true), y = psf_mtf_curve(false);
    if (x.empty()) return "";
    const std::vector<double> limit_x = diffraction_limited_mtf_curve(true);
    const std::vector<double> limit_y = diffraction_limited_mtf_curve(false);
    const double step = frequency_step();
    std::string text = std::string("frequency_") + frequency_unit_csv() +
                       ",mtf_x,mtf_y,mtf_diffraction_limit,mtf_diffraction_limit_y\n";
    for (int f = 0; f <= mtf_slice_steps(); f++)
        text += gN(f * step, 9) + "," + gN(x[f], 9) + "," + gN(y[f], 9) + "," + gN(limit_x[f], 9) +
                "," + gN(limit_y[f], 9) + "\n";
    return text;
}
