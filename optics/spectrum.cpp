#include "optics/spectrum.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "optics/domains.h"
#include "optics/number_text.h"
#include "optics/plane_fft.h"
#include "optics/settings.h"

namespace {

constexpr double TWO_PI = 2 * std::numbers::pi;
constexpr double PUPIL_CENTRE = 64.5;  // between samples 64 and 65 along i and j

std::vector<SpectrumSample> measured;

// The samples of the pupil that carry light lie in i0..i1, j0..j1.
struct LitBox {
    int i0 = GRID + 1, i1 = 0, j0 = GRID + 1, j1 = 0;
    bool empty() const { return i1 < i0; }
};

LitBox lit_box()
{
    LitBox box;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            if (r_input[i][j] != 0) {
                box.i0 = std::min(box.i0, i), box.i1 = std::max(box.i1, i);
                box.j0 = std::min(box.j0, j), box.j1 = std::max(box.j1, j);
            }
    return box;
}

// exp(2 pi i s (first + k - 64.5) x / 128) for k = 0 .. count - 1.
void turns(int first, int count, double s, double x, std::vector<double> &c, std::vector<double> &d)
{
    c.resize(count);
    d.resize(count);
    for (int k = 0; k < count; k++) {
        const double angle = TWO_PI * s * (first + k - PUPIL_CENTRE) * x / GRID;
        c[k] = std::cos(angle);
        d[k] = std::sin(angle);
    }
}

// Adds weight s^2 |E_s|^2 at every sample to sum[(i - 1) 128 + j - 1]: first along i for every
// x (x = i - 65 samples from the centre sample), then along j for every y.
void add_line(const LitBox &box, double s, double weight, bool with_phase, std::vector<double> &sum)
{
    const int ni = box.i1 - box.i0 + 1, nj = box.j1 - box.j0 + 1;
    std::vector<double> ar(std::size_t(ni) * nj), ai(ar.size());
    for (int p = 0; p < ni; p++)
        for (int q = 0; q < nj; q++) {
            const double t = r_input[box.i0 + p][box.j0 + q];
            const double angle = with_phase ? TWO_PI * phase_input[box.i0 + p][box.j0 + q] * s : 0;
            ar[p * nj + q] = t * std::cos(angle);
            ai[p * nj + q] = t * std::sin(angle);
        }
    std::vector<double> br(std::size_t(GRID) * nj, 0.0), bi(br.size(), 0.0), c, d;
    for (int m = 0; m < GRID; m++) {
        turns(box.i0, ni, s, m - (PSF_CENTRE - 1), c, d);
        double *outr = &br[std::size_t(m) * nj], *outi = &bi[std::size_t(m) * nj];
        for (int p = 0; p < ni; p++) {
            const double *inr = &ar[std::size_t(p) * nj], *ini = &ai[std::size_t(p) * nj];
            for (int q = 0; q < nj; q++) {
                outr[q] += inr[q] * c[p] - ini[q] * d[p];
                outi[q] += inr[q] * d[p] + ini[q] * c[p];
            }
        }
    }
    const double scale = weight * s * s;
    for (int n = 0; n < GRID; n++) {
        turns(box.j0, nj, s, n - (PSF_CENTRE - 1), c, d);
        for (int m = 0; m < GRID; m++) {
            const double *inr = &br[std::size_t(m) * nj], *ini = &bi[std::size_t(m) * nj];
            double er = 0, ei = 0;
            for (int q = 0; q < nj; q++) {
                er += inr[q] * c[q] - ini[q] * d[q];
                ei += inr[q] * d[q] + ini[q] * c[q];
            }
            sum[std::size_t(m) * GRID + n] += scale * (er * er + ei * ei);
        }
    }
}

// Frequency of transform sample k along an axis, in cycles per sample.
double frequency(int k) { return (k < GRID / 2 ? k : k - GRID) / double(GRID); }

// The periodic convolution with the Gaussian of RMS sx, sy samples, through the transform.
void blur(std::vector<double> &intensity, double sx, double sy)
{
    thread_local Plane plane, turned;
    plane.resize(GRID);
    turned.resize(GRID);
    std::copy(intensity.begin(), intensity.end(), plane.re.begin());
    std::fill(plane.im.begin(), plane.im.end(), 0.0);
    transform_columns(plane, GRID, -1);
    transpose(plane, turned, GRID, GRID);
    transform_columns(turned, GRID, -1);
    // turned(n, m): frequency m along i (x), n along j (y).
    for (int n = 0; n < GRID; n++)
        for (int m = 0; m < GRID; m++) {
            const double fx = frequency(m), fy = frequency(n);
            const double g = std::exp(-2 * std::numbers::pi * std::numbers::pi *
                                      (sx * sx * fx * fx + sy * sy * fy * fy));
            turned.r(n, m) *= g;
            turned.i(n, m) *= g;
        }
    transform_columns(turned, GRID, +1);
    transpose(turned, plane, GRID, GRID);
    transform_columns(plane, GRID, +1);
    // The Gaussian keeps the intensity positive; rounding may not.
    for (std::size_t k = 0; k < intensity.size(); k++)
        intensity[k] = std::max(0.0, plane.re[k] / GRID_VALUES);
}

}  // namespace

std::vector<SpectralLine> spectral_lines()
{
    std::vector<SpectralLine> lines;
    if (!measured.empty()) {
        double total = 0;
        for (const SpectrumSample &sample : measured) total += sample.weight;
        for (const SpectrumSample &sample : measured)
            lines.push_back(
                {sample.wavelength, wavelength / sample.wavelength, sample.weight / total});
        return lines;
    }
    const int n = std::max(1, nwavelengths);
    const double b = bandwidth / 100.0;
    for (int k = 1; k <= n; k++) {
        const double lambda = wavelength * (1 + b * ((k - 0.5) / n - 0.5));
        lines.push_back({lambda, wavelength / lambda, 1.0 / n});
    }
    return lines;
}

void set_spectrum(std::vector<SpectrumSample> samples) { measured = std::move(samples); }

const std::vector<SpectrumSample> &spectrum() { return measured; }

std::string parse_spectrum(const std::string &text, std::vector<SpectrumSample> &samples)
{
    samples.clear();
    std::size_t start = 0;
    double total = 0;
    for (int line = 1; start < text.size(); line++) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string row = text.substr(start, end - start);
        start = end + 1;
        if (!row.empty() && row.back() == '\r') row.pop_back();
        const std::size_t first = row.find_first_not_of(" \t");
        if (first == std::string::npos || row[first] == '#') continue;
        const std::size_t comma = row.find(',');
        const NumberText lambda = leading_number(row.substr(0, comma));
        // A first line that does not start with a number names the columns.
        if (!lambda.found && samples.empty() && line == 1) continue;
        const NumberText weight =
            comma == std::string::npos ? NumberText{} : leading_number(row.substr(comma + 1));
        const std::string where = "line " + std::to_string(line) + ": ";
        if (!lambda.found || !weight.found)
            return where + "needs wavelength_nm,weight, not '" + row + "'";
        if (!(lambda.value > 0 && std::isfinite(lambda.value)))
            return where + "the wavelength must be above 0 nm";
        if (!(weight.value >= 0 && std::isfinite(weight.value)))
            return where + "the weight must be at least 0";
        if (samples.size() == MOST_SPECTRUM_SAMPLES)
            return where + "more than " + std::to_string(MOST_SPECTRUM_SAMPLES) + " wavelengths";
        samples.push_back({lambda.value, weight.value});
        total += weight.value;
    }
    if (samples.empty()) return "no wavelength_nm,weight rows";
    if (!(total > 0)) return "the weights add up to 0";
    return "";
}

bool is_broadband()
{
    // Asked by every transform: a band of no width or of one line needs no list of lines.
    if (measured.empty() && (bandwidth == 0 || nwavelengths <= 1)) return false;
    for (const SpectralLine &line : spectral_lines())
        if (line.scale != 1) return true;
    return false;
}

bool is_jittered() { return jitter_x > 0 || jitter_y > 0; }

double jitter_samples(bool along_x)
{
    set_domains();
    return (along_x ? jitter_x : jitter_y) / XPSFStep;
}

void apply_spectrum_and_jitter(float **intensity)
{
    const bool band = is_broadband(), jitter = is_jittered();
    if (!band && !jitter) return;
    std::vector<double> sum(GRID_VALUES, 0.0);
    if (band) {
        const LitBox box = lit_box();
        if (box.empty()) return;
        for (const SpectralLine &line : spectral_lines())
            add_line(box, line.scale, line.weight, true, sum);
    } else {
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) sum[(i - 1) * GRID + j - 1] = intensity[i][j];
    }
    if (jitter) blur(sum, jitter_samples(true), jitter_samples(false));
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            intensity[i][j] = static_cast<float>(sum[(i - 1) * GRID + j - 1]);
}

std::vector<double> diffraction_limited_band_intensity()
{
    std::vector<double> sum(GRID_VALUES, 0.0);
    const LitBox box = lit_box();
    if (box.empty()) return sum;
    for (const SpectralLine &line : spectral_lines())
        add_line(box, line.scale, line.weight, false, sum);
    return sum;
}
