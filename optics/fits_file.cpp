#include "optics/fits_file.h"

#include <fitsio.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "optics/domains.h"
#include "optics/figures.h"
#include "optics/settings.h"
#include "optics/spectrum.h"
#include "optics/transfer_function.h"

namespace {

// FITS images run along axis 1 fastest: axis 1 is the array's first index i (x), axis 2 its
// second index j (y), so the row of the file at axis-2 position j holds array[1..128][j].
std::vector<float> image_of(float **array)
{
    std::vector<float> pixels(GRID_VALUES);
    for (int j = 1; j <= GRID; j++)
        for (int i = 1; i <= GRID; i++) pixels[(j - 1) * GRID + (i - 1)] = array[i][j];
    return pixels;
}

// A FITS file assembled in memory; the library grows the block with realloc.
class MemoryFits {
public:
    MemoryFits() : size_(2880), block_(std::malloc(size_))
    {
        fits_create_memfile(&file_, &block_, &size_, 2880, std::realloc, &status_);
    }
    ~MemoryFits()
    {
        if (file_) {
            int ignored = 0;
            fits_close_file(file_, &ignored);
        }
        std::free(block_);
    }
    MemoryFits(const MemoryFits &) = delete;
    MemoryFits &operator=(const MemoryFits &) = delete;

    void add_image(float **array, const char *extname)
    {
        long axes[2] = {GRID, GRID};
        fits_create_img(file_, FLOAT_IMG, 2, axes, &status_);
        if (extname)
            fits_write_key(file_, TSTRING, "EXTNAME", const_cast<char *>(extname), nullptr,
                           &status_);
        std::vector<float> pixels = image_of(array);
        fits_write_img(file_, TFLOAT, 1, GRID_VALUES, pixels.data(), &status_);
    }
    void key(const char *name, double value, const char *comment)
    {
        fits_write_key(file_, TDOUBLE, name, &value, comment, &status_);
    }
    // Settings and results held as floats are written with a float's digits.
    void key(const char *name, float value, const char *comment)
    {
        fits_write_key(file_, TFLOAT, name, &value, comment, &status_);
    }
    void key(const char *name, const char *value, const char *comment)
    {
        fits_write_key(file_, TSTRING, name, const_cast<char *>(value), comment, &status_);
    }
    void go_to_primary() { fits_movabs_hdu(file_, 1, nullptr, &status_); }
    // Closes the file and hands over its bytes: every header and data unit, each a whole
    // number of 2880-byte blocks.
    bool finish(std::string &bytes, std::string &error)
    {
        LONGLONG head = 0, data = 0, end = 0;
        int units = 0;
        fits_get_num_hdus(file_, &units, &status_);
        fits_movabs_hdu(file_, units, nullptr, &status_);
        fits_get_hduaddrll(file_, &head, &data, &end, &status_);
        fits_close_file(file_, &status_);
        file_ = nullptr;
        if (status_ != 0) {
            char text[FLEN_STATUS] = "";
            fits_get_errstatus(status_, text);
            error = std::string("FITS: ") + text;
            return false;
        }
        bytes.assign(static_cast<const char *>(block_), static_cast<std::size_t>(end));
        return true;
    }

private:
    std::size_t size_;
    void *block_;
    fitsfile *file_ = nullptr;
    int status_ = 0;
};

}  // namespace

bool format_fits_file(const ImageQuality &quality, const std::vector<SettingValue> &settings,
                      const std::string &origin, std::string &bytes, std::string &error)
{
    set_domains();
    MemoryFits fits;
    fits.add_image(m_output, nullptr);
    fits.add_image(r_input, "PUPIL_TRANSMISSION");
    fits.add_image(phase_input, "PUPIL_PHASE");
    fits.key("BUNIT", "waves", "pupil phase");
    // The MTF of the PSF, zero frequency on pixel (65, 65); all 0 for a dark pupil.
    compute_mtf_output();
    const double step = frequency_step();
    fits.add_image(mtf_output, "MTF");
    for (const char *axis : {"1", "2"}) {
        fits.key((std::string("CRPIX") + axis).c_str(), 65.0, "zero frequency");
        fits.key((std::string("CRVAL") + axis).c_str(), 0.0, nullptr);
        fits.key((std::string("CDELT") + axis).c_str(), step, "frequency step");
        fits.key((std::string("CUNIT") + axis).c_str(), frequency_unit_name(), nullptr);
    }

    fits.go_to_primary();
    fits.key("ORIGIN", origin.c_str(), "program that made the file");
    fits.key("WAVELEN", wavelength * 1e-9, "[m] wavelength");
    fits.key("FNUMBER", fnumber, "focal ratio");
    fits.key("DIAM", pupildiamm * 1e-3, "[m] pupil diameter");
    fits.key("PIXELSCL", XPSFStep, "PSF sample step, in PIXUNIT");
    fits.key("PIXUNIT", psf_unit_name(), "unit of PIXELSCL");
    fits.key("PUPILSCL", XPupilStep * 1e-3, "[m] pupil sample step");
    fits.key("NORMALIZ", "peak=100", "PSF scaled to a peak of 100");
    fits.key("WFERMS", wavesrms, "[waves] RMS wavefront error");
    // A band or jitter, when the PSF has them.
    if (is_broadband() || is_jittered()) {
        fits.key("BANDWID", bandwidth, "[%] band width over the wavelength");
        fits.key("NWAVES", double(spectral_lines().size()), "wavelengths in the band");
        fits.key("JITTERX", jitter_x, "RMS jitter along x, in PIXUNIT");
        fits.key("JITTERY", jitter_y, "RMS jitter along y, in PIXUNIT");
        for (std::size_t k = 0; k < spectrum().size(); k++) {
            const std::string n = std::to_string(k + 1);
            fits.key(("ORVINTA SPECWAVE" + n).c_str(), spectrum()[k].wavelength, nullptr);
            fits.key(("ORVINTA SPECWGHT" + n).c_str(), spectrum()[k].weight, nullptr);
        }
    }
    for (const Figure &figure : figure_table()) {
        const std::optional<double> value = figure.value(quality);
        if (figure.fitsKeyword && value) fits.key(figure.fitsKeyword, *value, figure.fitsComment);
    }
    fits.key("FREQUNIT", frequency_unit_name(), "unit of the MTF frequencies");
    fits.key("XCENTROI", xpsfcent, "x centroid, samples from the centre (65)");
    fits.key("YCENTROI", ypsfcent, "y centroid, samples from the centre (65)");
    for (const auto &[name, value] : settings) {
        const std::string keyword = "ORVINTA " + name;  // long names become HIERARCH cards
        fits.key(keyword.c_str(), value, nullptr);
    }
    return fits.finish(bytes, error);
}

FitsFormatter orvinta_fits_formatter() { return format_fits_file; }
