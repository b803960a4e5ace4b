// The PSF and the pupil as a FITS file: the PSF as the primary image, the pupil transmission
// and phase as image extensions, with the optics and the figures of merit in the header. The
// writer is its own library, liborvinta_fits.so: CFITSIO brings in some thirty network and
// crypto libraries, which the program loads only when it writes a FITS file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "optics/image_quality.h"
#include "optics/phase_map.h"

// One setting as it is written into the header: its name and its value.
using SettingValue = std::pair<std::string, double>;

// The whole file, ready to be written. origin names the program and its version; settings are
// written as HIERARCH ORVINTA cards. Returns false with the library's reason in error.
bool format_fits_file(const ImageQuality &quality, const std::vector<SettingValue> &settings,
                      const std::string &origin, std::string &bytes, std::string &error);

// The writer as the library exports it, under the name ORVINTA_FITS_ENTRY.
using FitsFormatter = bool (*)(const ImageQuality &, const std::vector<SettingValue> &,
                               const std::string &, std::string &, std::string &);
extern "C" FitsFormatter orvinta_fits_formatter();
#define ORVINTA_FITS_ENTRY "orvinta_fits_formatter"

// A phase map from the first image HDU with data in the bytes of a FITS file, exported under
// the name ORVINTA_FITS_READER_ENTRY.
std::string read_fits_image(const std::string &bytes, PhaseMapGrid &grid);
extern "C" FitsImageReader orvinta_fits_image_reader();
#define ORVINTA_FITS_READER_ENTRY "orvinta_fits_image_reader"
