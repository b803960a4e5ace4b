// The PSF and the pupil as a FITS file: the PSF as the primary image, the pupil transmission
// and phase as image extensions, with the optics and the figures of merit in the header.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "optics/image_quality.h"

// One setting as it is written into the header: its name and its value.
using SettingValue = std::pair<std::string, double>;

// The whole file, ready to be written. origin names the program and its version; settings are
// written as HIERARCH ORVINTA cards. Returns false with the library's reason in error.
bool format_fits_file(const ImageQuality &quality, const std::vector<SettingValue> &settings,
                      const std::string &origin, std::string &bytes, std::string &error);
