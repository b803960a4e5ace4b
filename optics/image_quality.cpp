#include "optics/image_quality.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "optics/domains.h"
#include "optics/farfield.h"
#include "optics/number_text.h"
#include "optics/settings.h"

namespace {

// Strehl ratio on axis: the on-axis field of the aberrated pupil over that of the same pupil
// without phase error, |sum t exp(2 pi i phi)|^2 / (sum t)^2. It needs no PSF sample to sit on
// the peak, so it holds for any sampling and any tilt or coma.
std::optional<double> strehl_ratio()
{
    double re = 0, im = 0, sum_t = 0;
    for (int i = 1; i <= GRID; i++) {
        for (int j = 1; j <= GRID; j++) {
            const double t = r_input[i][j];
            const double angle = 2 * std::numbers::pi * phase_input[i][j];
            re += t * std::cos(angle);
            im += t * std::sin(angle);
            sum_t += t;
        }
    }
    if (sum_t <= 0)
        return std::nullopt;
    return (re * re + im * im) / (sum_t * sum_t);
}

// Width at half the peak along one line through the peak; value(k) reads sample k of the line.
// Each crossing is found walking outward from the peak and placed by linear interpolation
// between the last sample above half and the first at or below it.
template <typename Sample>
std::optional<double> half_width(int peak, double half, Sample value)
{
    double right = 0, left = 0;
    bool found_right = false, found_left = false;
    for (int k = peak + 1; k <= GRID && !found_right; k++) {
        if (value(k) <= half) {
            const double above = value(k - 1), below = value(k);
            right = (k - 1) + (above - half) / (above - below);
            found_right = true;
        }
    }
    for (int k = peak - 1; k >= 1 && !found_left; k--) {
        if (value(k) <= half) {
            const double above = value(k + 1), below = value(k);
            left = (k + 1) - (above - half) / (above - below);
            found_left = true;
        }
    }
    if (!found_right || !found_left)
        return std::nullopt;
    return right - left;
}

double psf_total()
{
    double total = 0;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            total += m_output[i][j];
    return total;
}

double centroid_distance(int i, int j)
{
    return std::hypot(i - (PSF_CENTRE + double(xpsfcent)), j - (PSF_CENTRE + double(ypsfcent)));
}

// Radii (in samples) that hold the given fractions of the energy, about the centroid. The
// samples are taken in order of distance, equal distances in i-outer, j-inner order; the
// radius is interpolated between the distances of the sample that reaches the fraction and of
// the one before it. Sorting all 16,384 distances would cost most of the time, so the samples
// are first dealt into whole-sample rings (a stable counting sort), and only the ring in which
// a fraction is reached is sorted.
std::vector<double> energy_radii(const std::vector<double> &fractions, double total)
{
    struct Sample {
        double d;
        double energy;
    };
    static Sample samples[GRID_VALUES];
    static Sample sorted[GRID_VALUES];
    constexpr int RINGS = 2 * GRID + 2;  // any distance on or near the grid is below this
    int count[RINGS + 1] = {};
    double ring_energy[RINGS] = {};
    double ring_max_d[RINGS] = {};

    int n = 0;
    for (int i = 1; i <= GRID; i++) {
        for (int j = 1; j <= GRID; j++) {
            const double d = centroid_distance(i, j);
            const int ring = std::clamp(static_cast<int>(d), 0, RINGS - 1);
            samples[n++] = {d, m_output[i][j]};
            count[ring + 1]++;
            ring_energy[ring] += m_output[i][j];
            ring_max_d[ring] = std::max(ring_max_d[ring], d);
        }
    }
    for (int r = 0; r < RINGS; r++)
        count[r + 1] += count[r];  // count[r] is now the first slot of ring r
    int fill[RINGS];
    std::copy(count, count + RINGS, fill);
    for (int k = 0; k < n; k++)
        sorted[fill[std::clamp(static_cast<int>(samples[k].d), 0, RINGS - 1)]++] = samples[k];

    std::vector<double> radii;
    for (const double f : fractions) {
        double before = 0, d_before = 0;  // energy and distance of the samples already passed
        int ring = 0;
        while (ring < RINGS - 1 && (before + ring_energy[ring]) / total < f) {
            before += ring_energy[ring];
            if (count[ring + 1] > count[ring])
                d_before = ring_max_d[ring];
            ring++;
        }
        double radius = d_before;
        bool found = false;
        for (; ring < RINGS && !found; ring++) {
            Sample *first = sorted + count[ring], *last = sorted + count[ring + 1];
            std::stable_sort(first, last, [](const Sample &a, const Sample &b) { return a.d < b.d; });
            for (Sample *s = first; s != last; s++) {
                const double c_prev = before / total;
                before += s->energy;
                const double c = before / total;
                if (c >= f) {
                    radius = d_before + (f - c_prev) * (s->d - d_before) / (c - c_prev);
                    found = true;
                    break;
                }
                d_before = s->d;
            }
        }
        radii.push_back(radius);
    }
    return radii;
}

double largest_phase_step()
{
    double largest = 0;
    for (int i = 1; i <= GRID; i++) {
        for (int j = 1; j <= GRID; j++) {
            if (r_input[i][j] <= 0)
                continue;
            if (i < GRID && r_input[i + 1][j] > 0)
                largest = std::max(largest, std::fabs(double(phase_input[i][j]) - phase_input[i + 1][j]));
            if (j < GRID && r_input[i][j + 1] > 0)
                largest = std::max(largest, std::fabs(double(phase_input[i][j]) - phase_input[i][j + 1]));
        }
    }
    return largest;
}

}  // namespace

ImageQuality image_quality()
{
    set_domains();
    ImageQuality q;
    q.strehl = strehl_ratio();
    q.sampling_q = GRID / (2.0 * ncenter);
    q.max_phase_step = largest_phase_step();
    q.undersampled = q.sampling_q < 2;
    q.aliased = q.max_phase_step > 0.5;

    const double total = psf_total();
    if (psf_is_dark() || total <= 0)
        return q;
    const PsfPeak p = find_psf_peak();
    const double half = p.value / 2.0;
    if (auto w = half_width(p.i, half, [&](int k) { return double(m_output[k][p.j]); }))
        q.fwhm_x = *w * XPSFStep;
    if (auto w = half_width(p.j, half, [&](int k) { return double(m_output[p.i][k]); }))
        q.fwhm_y = *w * YPSFStep;
    const std::vector<double> radii = energy_radii({0.5, 0.8}, total);
    q.ee50_radius = radii[0] * XPSFStep;
    q.ee80_radius = radii[1] * XPSFStep;
    return q;
}

std::optional<double> encircled_energy(double radius)
{
    set_domains();
    const double total = psf_total();
    if (psf_is_dark() || total <= 0)
        return std::nullopt;
    const double limit = radius / XPSFStep;
    double inside = 0;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            if (centroid_distance(i, j) <= limit)
                inside += m_output[i][j];
    return inside / total;
}

std::string figure_text(const std::optional<double> &value)
{
    return value ? gN(*value, 9) : "n/a";
}

const char *psf_unit_name()
{
    switch (nCurrentPSFUnits) {
    case PSF_MILLIRADIANS: return "mrad";
    case PSF_ARCSECONDS: return "arcsec";
    default: return "um";
    }
}

std::vector<std::string> image_quality_warnings(const ImageQuality &q)
{
    std::vector<std::string> lines;
    char text[200];
    if (q.undersampled) {
        std::snprintf(text, sizeof text,
                      "warning: the PSF is undersampled (Q = %.3g, below 2): FWHM and encircled energy are not "
                      "reliable",
                      q.sampling_q);
        lines.push_back(text);
    }
    if (q.aliased) {
        std::snprintf(text, sizeof text,
                      "warning: the wavefront is undersampled (phase step %.3g wave, above 0.5): the PSF is aliased",
                      q.max_phase_step);
        lines.push_back(text);
    }
    return lines;
}
