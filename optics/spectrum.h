// A PSF integrated over a band of wavelengths and blurred by line-of-sight jitter.
//
// The aberrations, patterns and phase plate are optical path differences fixed in waves at
// `wavelength`: at lambda the phase in waves is phi s, with s = wavelength / lambda; the
// transmission does not change. Each line's far field is evaluated directly on the grid of
// `wavelength` (a matrix Fourier transform whose pitch scales with s):
//     E_s(x, y) = sum a_s(i, j) exp(2 pi i s ((i - 64.5) x + (j - 64.5) y) / 128),
// and s^2 |E_s|^2, whose energy per period of the PSF does not depend on s, is weighted by the
// line's share of the energy and summed. Jitter blurs the sum with a Gaussian: the OTF is
// multiplied by exp(-2 pi^2 (sx^2 fx^2 + sy^2 fy^2)), sx, sy the RMS motion in samples and f in
// cycles per sample, an exact convolution of the periodic PSF.
#pragma once

#include <string>
#include <vector>

struct SpectralLine {
    double wavelength;  // nm
    double scale;       // `wavelength` / wavelength: the line's frequencies on the grid
    double weight;      // share of the energy; the weights add up to 1
};

// A measured spectrum: wavelengths in nm with relative weights.
struct SpectrumSample {
    double wavelength, weight;
};
constexpr int MOST_SPECTRUM_SAMPLES = 64;

// The band's lines: the spectrum when one is set, else the centres of nwavelengths equal
// sub-bands of a band bandwidth % of `wavelength` wide, centred on it, with equal weights.
std::vector<SpectralLine> spectral_lines();
// Replaces the band by a measured spectrum; an empty one gives the band back.
void set_spectrum(std::vector<SpectrumSample> samples);
const std::vector<SpectrumSample> &spectrum();
// Reads CSV rows "wavelength_nm,weight" (blank lines, # comments and a first line that is not
// numbers skipped). Returns "" or why the text is not a spectrum, naming the line.
std::string parse_spectrum(const std::string &text, std::vector<SpectrumSample> &samples);

// Some line off `wavelength` (several lines all at it are one wavelength).
bool is_broadband();
// Some jitter along x or y.
bool is_jittered();
// The RMS jitter along x (along_x) or y, in samples; calls set_domains().
double jitter_samples(bool along_x);

// Replaces intensity (|E|^2 of the field at `wavelength`, [1..128][1..128], any scale) by the
// band's intensity blurred by the jitter, both as the settings ask, on the same scale as one
// line of weight 1 at `wavelength` would have. Nothing changes for a still, monochromatic PSF.
void apply_spectrum_and_jitter(float **intensity);
// The band's intensity of the transmission alone, without phase error and without jitter, at
// [(i - 1) 128 + j - 1]: the diffraction-limited reference. Unscaled.
std::vector<double> diffraction_limited_band_intensity();
