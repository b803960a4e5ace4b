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
    Whole,      // the whole text is the number, blanks around it allowed; an integer setting
                // takes only whole numbers
    Leading,    // the number at the start of the text, as atof reads it
    Truncated,  // the number at the start, truncated toward zero (2.9 gives 2)
    Integer,    // the digits at the start, as atol reads them (4.5 gives 4)
};

// Who shows the message: a dialog names the field, the batch job adds the setting's name.
enum class MessageStyle { Dialog, Batch };

// Reads text for the setting name (case-insensitive). Returns "" and the value the setting
// will hold (float or int) in value, or the message saying why the text cannot be taken.
std::string read_setting(const std::string &name, const std::string &text, NumberReading how,
                         double &value, MessageStyle style);

// "" when value is acceptable for the setting name, else the message, the value shown with
// up to 10 significant digits.
std::string check_setting(const std::string &name, double value,
                          MessageStyle style = MessageStyle::Dialog);

// Finds the setting a name (any case) stands for: "" and its own spelling, or why it cannot be
// set: an unknown name, or a setting derived from others ("cannot set EFL: ..."). NumPixels
// is settable: it chooses CentroidErrorType.
std::string find_setting(const std::string &name, std::string &spelling);

// Sets the setting name (case-insensitive) from the whole of text, blanks around the number
// allowed. Returns "" on success, else the batch job's message: a name find_setting refuses,
// text that is not a number, or a value the setting refuses.
std::string apply_setting(const std::string &name, const std::string &text);

// The same for a number already read (a swept value): checked as apply_setting checks the
// number of a text, then stored.
std::string set_setting(const std::string &name, double value);

// Recomputes what the dialogs derive: pupildiamm from pupildia and its unit, EFL, ncenter,
// NumPixels from CentroidErrorType, izoom from nZoomPlot.
void derive_settings();

// The pupil diameter in mm for a diameter in the unit of a radio code 133..135.
float pupil_mm(float diameter, int units);

// Every setting the batch job takes, in its own spelling (fnumber, Zern5), with the value it
// holds now, in the order of the settings table.
std::vector<std::pair<std::string, double>> setting_values();
// True for a setting held as an int: a count, a flag or a radio-button code.
bool setting_is_integer(const std::string &name);
