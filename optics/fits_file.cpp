#include "optics/fits_file.h"

#include <fitsio.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "optics/domains.h"
#include "optics/figures.h"
#include "optics/phase_map.h"
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
    // A text longer than a card holds, continued on CONTINUE cards.
    void long_text(const char *name, const char *value)
    {
        fits_write_key_longstr(file_, name, value, nullptr, &status_);
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
    // A measured wavefront is kept by its file and the checksum of its bytes.
    if (HasPhaseMap == 1 && !phase_map_path().empty()) {
        fits.long_text("PHASEMAP", phase_map_path().c_str());
        fits.key("PMAPSUM", phase_map_sum().c_str(), "FNV-1a 64 checksum of the phase map file");
    }
    return fits.finish(bytes, error);
}

namespace {

std::string fits_problem(int hdu, int status)
{
    char text[FLEN_STATUS] = "";
    fits_get_errstatus(status, text);
    return "HDU " + std::to_string(hdu) + ": " + text;
}

// The unit of a map from its BUNIT card; waves when there is none.
std::string read_unit(fitsfile *file, int hdu, PhaseMapUnit &unit)
{
    char value[FLEN_VALUE] = "";
    int status = 0;
    fits_read_key(file, TSTRING, "BUNIT", value, nullptr, &status);
    if (status == KEY_NO_EXIST) {
        unit = PhaseMapUnit::Waves;
        return "";
    }
    if (status != 0) return fits_problem(hdu, status);
    std::string name = value;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    const std::optional<PhaseMapUnit> named = phase_map_unit_named(name);
    if (!named)
        return "HDU " + std::to_string(hdu) + ": unknown unit '" + name +
               "' in BUNIT (waves, nm, um or m)";
    unit = *named;
    return "";
}

// The image of the current HDU as a map: two axes (more only of length 1), each 2 .. 8192.
std::string read_image(fitsfile *file, int hdu, int axes, const long *size, std::size_t file_size,
                       PhaseMapGrid &grid)
{
    const std::string where = "HDU " + std::to_string(hdu) + ": ";
    for (int k = 2; k < axes; k++)
        if (size[k] != 1) return where + "the image has " + std::to_string(axes) + " axes, a map 2";
    const long width = size[0], height = axes >= 2 ? size[1] : 1;
    const std::string shape = std::to_string(width) + " x " + std::to_string(height);
    if (width < 2 || height < 2) return where + "the image is " + shape + ", a map needs 2 x 2";
    if (width > MOST_PHASE_MAP_SIDE || height > MOST_PHASE_MAP_SIDE)
        return where + "the image is " + shape + ", more than " +
               std::to_string(MOST_PHASE_MAP_SIDE) + " on a side";
    // The library reads a file in memory without looking where it ends: the image's data must
    // lie inside the file (a compressed image, its table's rounded extent).
    LONGLONG head = 0, data = 0, end = 0;
    int bitpix = 0, compressed = 0, status = 0;
    fits_get_hduaddrll(file, &head, &data, &end, &status);
    fits_get_img_type(file, &bitpix, &status);
    compressed = fits_is_compressed_image(file, &status);
    if (status != 0) return fits_problem(hdu, status);
    const LONGLONG needed =
        compressed ? end : data + LONGLONG{width} * height * std::abs(bitpix) / 8;
    if (needed > static_cast<LONGLONG>(file_size)) return where + "the file ends inside the image";
    PhaseMapGrid read;
    std::string problem = read_unit(file, hdu, read.unit);
    if (!problem.empty()) return problem;
    read.width = static_cast<int>(width);
    read.height = static_cast<int>(height);
    read.values.resize(static_cast<std::size_t>(width) * height);
    // Undefined pixels read as NaN, no data: the BLANK value of an integer image, and IEEE NaN
    // and infinity in a floating-point one.
    float no_data = std::numeric_limits<float>::quiet_NaN();
    int any_undefined = 0;
    fits_read_img(file, TFLOAT, 1, static_cast<LONGLONG>(read.values.size()), &no_data,
                  read.values.data(), &any_undefined, &status);
    if (status != 0) return fits_problem(hdu, status);
    grid = std::move(read);
    return "";
}

}  // namespace

std::string read_fits_image(const std::string &bytes, PhaseMapGrid &grid)
{
    // Whole 2880-byte blocks, as the library reads them.
    std::vector<char> copy(bytes.begin(), bytes.end());
    copy.resize((copy.size() + 2879) / 2880 * 2880, '\0');
    void *block = copy.data();
    std::size_t size = copy.size();
    fitsfile *file = nullptr;
    int status = 0;
    fits_open_memfile(&file, "map.fits", READONLY, &block, &size, 0, nullptr, &status);
    if (status != 0) return fits_problem(1, status);
    int units = 0;
    fits_get_num_hdus(file, &units, &status);
    std::string problem = status != 0 ? fits_problem(1, status) : "";
    bool found = false;
    for (int hdu = 1; hdu <= units && problem.empty() && !found; hdu++) {
        int type = 0, axes = 0;
        long size_of[9] = {};
        fits_movabs_hdu(file, hdu, &type, &status);
        if (status == 0 && type == IMAGE_HDU) fits_get_img_dim(file, &axes, &status);
        if (status == 0 && axes > 9)
            problem = "HDU " + std::to_string(hdu) + ": the image has " + std::to_string(axes) +
                      " axes, a map 2";
        if (status == 0 && problem.empty() && axes > 0)
            fits_get_img_size(file, axes, size_of, &status);
        if (status != 0) {
            problem = fits_problem(hdu, status);
            break;
        }
        long samples = axes > 0 ? 1 : 0;
        for (int k = 0; k < axes; k++) samples *= size_of[k];
        if (!problem.empty() || samples == 0) continue;
        problem = read_image(file, hdu, axes, size_of, bytes.size(), grid);
        found = true;
    }
    int ignored = 0;
    fits_close_file(file, &ignored);
    if (problem.empty() && !found) problem = "no image HDU holds data";
    return problem;
}

FitsImageReader orvinta_fits_image_reader() { return read_fits_image; }

FitsFormatter orvinta_fits_formatter() { return format_fits_file; }
