// Which values each setting accepts, shared by the setup dialogs and the batch job, and the
// settings that follow from others. The one place where a refusal is worded: "FIELD must be a
// number." for text without a number, "FIELD must be RANGE, not VALUE." for a number the
// setting cannot take. The batch job names the setting after the field: "F-number (fnumber)
// must be above 0, not 0."
#pragma once

#include <string>
#include <utility>
#include <vector>

// How the text of a setting gives its number.
enum class NumberReading {
    Whole,      // the whole text is the number; an integer setting takes only whole numbers
    Leading,    // the number at the start of the text, as atof reads it
    Truncated,  // the number at the start, truncated toward zero (2.9 gives 2)
    Integer,    // the digits at the start, as atol reads them (4.5 gives 4)
};

// Who shows the message: a dialog names the field, the batch job adds the setting's name.
enum class MessageStyle { Dialog, Batch };

// Reads text for the setting name (case-insensitive). Returns "" and the value the setting
// will hold (float or int) in value, or the message saying why the text cannot be taken.
std::string read_setting(const std::string &name, const std::string &text, NumberReading how, double &value,
                         MessageStyle style);

// "" when value is acceptable for the setting name, else the dialog's message.
std::string check_setting(const std::string &name, double value);

// Sets the setting name (case-insensitive) from the whole of text. Returns "" on success,
// else the batch job's message: an unknown name, text that is not a number, or a value the
// setting refuses. Derived settings cannot be set this way.
std::string apply_setting(const std::string &name, const std::string &text);

// Recomputes what the dialogs derive: pupildiamm from pupildia and its unit, EFL, ncenter,
// NumPixels from CentroidErrorType, izoom from nZoomPlot.
void derive_settings();

// The pupil diameter in mm for a diameter in the unit of a radio code 133..135.
float pupil_mm(float diameter, int units);

// Every setting the batch job takes, in its own spelling (fnumber, Zern5), with the value it
// holds now, in the order of the settings table.
std::vector<std::pair<std::string, double>> setting_values();
// The setting's own spelling of a name given in any case; "" when there is no such setting.
std::string setting_name(const std::string &name);
// True for a setting held as an int: a count, a flag or a radio-button code.
bool setting_is_integer(const std::string &name);
