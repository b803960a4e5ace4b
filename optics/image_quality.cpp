#include "optics/image_quality.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "optics/continuous_psf.h"
#include "optics/domains.h"
#include "optics/encircled_energy.h"
#include "optics/farfield.h"
#include "optics/number_text.h"
#include "optics/settings.h"
#include "optics/spectral_psf.h"
#include "optics/spectrum.h"
#include "optics/transfer_function.h"

namespace {

// Only samples that carry light count: with a super-Gaussian apodization the rim holds
// transmissions of 1e-43, whose phase steps shape nothing in the PSF.
constexpr double LIT_FRACTION = 0.01;

double largest_phase_step()
{
    double brightest = 0;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) brightest = std::max(brightest, double(r_input[i][j]));
    if (!(brightest > 0)) return 0;
    const double lit = LIT_FRACTION * brightest;
    double largest = 0;
    for (int i = 1; i <= GRID; i++) {
        for (int j = 1; j <= GRID; j++) {
            if (r_input[i][j] < lit) continue;
            if (i < GRID && r_input[i + 1][j] >= lit)
                largest =
                    std::max(largest, std::fabs(double(phase_input[i][j]) - phase_input[i + 1][j]));
            if (j < GRID && r_input[i][j + 1] >= lit)
                largest =
                    std::max(largest, std::fabs(double(phase_input[i][j]) - phase_input[i][j + 1]));
        }
    }
    return largest;
}

// A radius or width in samples as a length in the PSF unit.
std::optional<double> in_psf_unit(std::optional<double> samples)
{
    if (!samples) return std::nullopt;
    return *samples * XPSFStep;
}

// The largest radius asked for: half the period, the disc then just fitting into it.
constexpr double MAX_RADIUS = GRID / 2;

// Kept from one PSF to the next (one per thread): a sweep analyses thousands.
thread_local ContinuousPsf continuous_psf;
thread_local SpectralPsf spectral_psf;
thread_local EncircledEnergy energy;

// The band's PSF, blurred by the jitter: the same figures, read on its own continuous form.
// The peak is searched from the brightest sample of the PSF; the Strehl ratio is taken against
// the band's peak without phase error and without jitter.
void read_band(ImageQuality &q)
{
    SpectralPsf &psf = spectral_psf;
    psf.read();
    if (psf.dark()) return;
    const PsfPeak brightest = find_psf_peak();
    const double x = brightest.i - PSF_CENTRE, y = brightest.j - PSF_CENTRE;
    const PsfPoint peak = psf.peak({x, y, psf.intensity(x, y)});
    q.strehl = peak.intensity / psf.reference_peak();
    q.fwhm_x = in_psf_unit(psf.width_at_half(peak, true));
    q.fwhm_y = in_psf_unit(psf.width_at_half(peak, false));
    energy.centre_on(psf.lines(), xpsfcent, ypsfcent);
    q.ee50_radius = in_psf_unit(energy.radius_holding(0.5, MAX_RADIUS));
    q.ee80_radius = in_psf_unit(energy.radius_holding(0.8, MAX_RADIUS));
}

// A Gaussian blur whose +-3 RMS spans the grid reaches around it.
constexpr double WRAPPING_JITTER = GRID / 6.0;

std::vector<double> report_frequencies;

// The MTF figures: where each axis's curve falls to 0.5 inside the cut-off, and its values at
// the frequencies asked for. For one wavelength held still the curves come exactly from the
// pupil's autocorrelation, else from the samples of the PSF.
void read_mtf(ImageQuality &q, const PupilAutocorrelation *c)
{
    const double step = frequency_step();
    const std::vector<double> along_x = c ? mtf_curve(*c, true) : mtf_curve(m_output, true);
    const std::vector<double> along_y = c ? mtf_curve(*c, false) : mtf_curve(m_output, false);
    const auto in_unit = [step](std::optional<double> steps) -> std::optional<double> {
        if (!steps) return std::nullopt;
        return *steps * step;
    };
    q.mtf50_x = in_unit(curve_crossing(along_x, 0.5, cutoff_steps()));
    q.mtf50_y = in_unit(curve_crossing(along_y, 0.5, cutoff_steps()));
    for (double frequency : report_frequencies) {
        q.mtf_x_at.push_back(curve_value(along_x, frequency / step));
        q.mtf_y_at.push_back(curve_value(along_y, frequency / step));
    }
}

}  // namespace

void set_mtf_report_frequencies(std::vector<double> frequencies)
{
    report_frequencies = std::move(frequencies);
}

const std::vector<double> &mtf_report_frequencies() { return report_frequencies; }

// Every figure is read on the continuous far field of the sampled pupil, so none depends on
// where the samples fall: the peak and the half-maximum crossings between samples, the
// encircled energy over exact discs.
ImageQuality image_quality()
{
    set_domains();
    ImageQuality q;
    q.sampling_q = GRID / (2.0 * ncenter);
    q.band_sampling_q = q.sampling_q;
    for (const SpectralLine &line : spectral_lines())
        q.band_sampling_q = std::min(q.band_sampling_q, q.sampling_q / line.scale);
    q.jitter_rms = std::max(jitter_samples(true), jitter_samples(false));
    q.max_phase_step = largest_phase_step();
    q.undersampled = q.band_sampling_q < 2;
    q.jitter_wraps = q.jitter_rms > WRAPPING_JITTER;
    q.aliased = q.max_phase_step > 0.5;
    q.cutoff = cutoff_steps() * frequency_step();
    if (is_broadband() || is_jittered()) {
        read_mtf(q, nullptr);
        read_band(q);
        return q;
    }

    ContinuousPsf &psf = continuous_psf;
    psf.read_pupil();
    read_mtf(q, &psf.autocorrelation());
    if (psf.dark()) return q;
    const PsfPoint peak = psf.peak();
    q.strehl = peak.intensity / (psf.transmission_sum() * psf.transmission_sum());
    q.fwhm_x = in_psf_unit(psf.width_at_half(peak, true));
    q.fwhm_y = in_psf_unit(psf.width_at_half(peak, false));
    energy.centre_on(psf.autocorrelation(), xpsfcent, ypsfcent);
    q.ee50_radius = in_psf_unit(energy.radius_holding(0.5, MAX_RADIUS));
    q.ee80_radius = in_psf_unit(energy.radius_holding(0.8, MAX_RADIUS));
    return q;
}

std::optional<double> encircled_energy(double radius)
{
    set_domains();
    if (is_broadband() || is_jittered()) {
        spectral_psf.read();
        if (spectral_psf.dark()) return std::nullopt;
        energy.centre_on(spectral_psf.lines(), xpsfcent, ypsfcent);
    } else {
        continuous_psf.read_pupil();
        if (continuous_psf.dark()) return std::nullopt;
        energy.centre_on(continuous_psf.autocorrelation(), xpsfcent, ypsfcent);
    }
    return energy.fraction_within(radius / XPSFStep);
}

std::string figure_text(const std::optional<double> &value)
{
    return value ? gN(*value, 9) : "n/a";
}

std::vector<std::string> image_quality_warnings(const ImageQuality &q)
{
    std::vector<std::string> lines;
    const auto warn = [&lines](const char *format, double value) {
        char text[200];
        std::snprintf(text, sizeof text, format, value);
        lines.push_back(text);
    };
    if (q.undersampled) {
        warn("warning: the PSF is undersampled (Q = %.3g, below 2): FWHM and encircled energy "
             "are not reliable",
             q.band_sampling_q);
        warn("warning: the OTF is aliased (Q = %.3g, below 2): its support, twice the pupil's "
             "width, exceeds the grid, so the MTF is not reliable",
             q.band_sampling_q);
    }
    if (q.jitter_wraps)
        warn("warning: the jitter (RMS %.3g samples) spreads the PSF over the whole grid: the PSF "
             "wraps around the grid",
             q.jitter_rms);
    if (q.aliased)
        warn("warning: the wavefront is undersampled (phase step %.3g wave, above 0.5): the PSF "
             "is aliased",
             q.max_phase_step);
    return lines;
}
