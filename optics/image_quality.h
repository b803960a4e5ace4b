// Figures of merit of the current PSF: Strehl ratio, core width, encircled energy and how well
// the grid samples the PSF and the wavefront. Pure computation on the field arrays.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ImageQuality {
    // Undefined figures (a dark pupil, a core wider than the grid) are empty, never a number.
    // All are read on the continuous far field of the sampled pupil (optics/continuous_psf.h).
    std::optional<double> strehl;          // peak of the PSF over the peak without phase error
    std::optional<double> fwhm_x, fwhm_y;  // PSF unit, through the peak along x and along y
    std::optional<double> ee50_radius, ee80_radius;  // PSF unit, discs about the centroid
    // Frequencies in the unit of optics/transfer_function.h, read on the MTF of the PSF.
    std::optional<double> mtf50_x, mtf50_y;  // where the MTF along x, along y falls to 0.5
    double cutoff = 0;                       // the pupil's cut-off D / (lambda EFL)
    // The MTF along x and along y at each frequency of mtf_report_frequencies().
    std::vector<std::optional<double>> mtf_x_at, mtf_y_at;
    double sampling_q = 0;       // PSF samples per lambda F; Nyquist sampling is 2
    double band_sampling_q = 0;  // the same at the band's shortest wavelength
    double jitter_rms = 0;       // the larger RMS jitter, in samples
    double max_phase_step = 0;   // waves between neighbouring pupil samples that carry light
    bool undersampled = false;   // band_sampling_q below 2
    bool jitter_wraps = false;   // the jitter spreads the PSF over the whole grid
    bool aliased = false;        // max_phase_step above half a wave
};

// The frequencies (in the frequency unit) at which the figures give the MTF along x and y,
// none at start-up.
void set_mtf_report_frequencies(std::vector<double> frequencies);
const std::vector<double> &mtf_report_frequencies();

// The figures of r_input and phase_input as they are now, about the centroid xpsfcent,
// ypsfcent, and of the MTF of m_output; calls set_domains() for the PSF step. Meaningful after
// do_FFT.
ImageQuality image_quality();

// The fraction of one period's energy of the continuous PSF within radius (PSF unit) of its
// centroid; empty for a dark pupil.
std::optional<double> encircled_energy(double radius);

// "%.9g" of a figure, or "n/a" when it is undefined.
std::string figure_text(const std::optional<double> &value);

// One line per warning that applies, without a line end.
std::vector<std::string> image_quality_warnings(const ImageQuality &q);
