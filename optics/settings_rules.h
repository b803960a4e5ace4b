// Which values each setting accepts, shared by the setup dialogs and the batch job, and the
// settings that follow from others.
#pragma once

#include <string>

// A value a setting can never take without breaking the computation: a division by zero, an
// empty or meaningless quantity. Returns "" when value is acceptable for the setting name
// (case-insensitive), else the message to show, naming the setting and its accepted range.
std::string check_setting(const std::string &name, double value);

// Sets the setting name (case-insensitive) from text. Returns "" on success, else a one-line
// message naming the setting: an unknown name, text that is not a number of the setting's
// type, or a refused value. Derived settings cannot be set this way.
std::string apply_setting(const std::string &name, const std::string &text);

// Recomputes what the dialogs derive: pupildiamm from pupildia and its unit, EFL, ncenter,
// NumPixels from CentroidErrorType, izoom from nZoomPlot.
void derive_settings();

// The pupil diameter in mm for a diameter in the unit of a radio code 133..135.
float pupil_mm(float diameter, int units);
