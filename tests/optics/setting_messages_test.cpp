// The settings rules read every text the way its reader says and word every refusal the one
// way, for the dialogs and for the batch job.
#include <gtest/gtest.h>

#include <string>

#include "optics/settings.h"
#include "optics/settings_rules.h"

namespace {

TEST(SettingMessages, EachReadingTakesItsNumberAndEachRefusalHasOneWording)
{
    constexpr auto D = MessageStyle::Dialog;
    constexpr auto B = MessageStyle::Batch;
    struct Row {
        const char *name, *text;
        NumberReading how;
        MessageStyle style;
        const char *message;  // "" when taken
        double value = 0;
    } rows[] = {
        {"fnumber", "0", NumberReading::Leading, D, "F-number must be above 0, not 0."},
        {"fnumber", "0", NumberReading::Whole, B, "F-number (fnumber) must be above 0, not 0."},
        {"fnumber", "abc", NumberReading::Leading, D, "F-number must be a number."},
        {"fnumber", "abc", NumberReading::Whole, B, "F-number (fnumber) must be a number."},
        {"fnumber", "0abc", NumberReading::Leading, D, "F-number must be above 0, not 0."},
        {"fnumber", "-1e-50", NumberReading::Leading, D, "F-number must be above 0, not -1e-50."},
        {"fnumber", " 5.6abc", NumberReading::Leading, D, "", 5.6f},
        {"fnumber", "+7", NumberReading::Whole, B, "", 7},
        {"fnumber", "1,5", NumberReading::Leading, D, "", 1},  // a comma is never a decimal point
        {"spherical", "1e-320", NumberReading::Leading, D, "", 0},  // below a float: rounds to 0
        {"spherical", "abc", NumberReading::Leading, D, "Spherical must be a number."},
        {"PhasePatternPeriod", " 2.9", NumberReading::Truncated, D, "", 2},
        {"PhasePatternPeriod", "3e9", NumberReading::Truncated, D,
         "Pattern period (steps) must be at most 2147483647, not 3e9."},
        {"PhasePlateSteps", "-0.5", NumberReading::Truncated, D, "", 0},
        {"nPSFdecades", "4.5", NumberReading::Integer, D, "", 4},
        {"nPSFdecades", "1e3", NumberReading::Integer, D, "", 1},
        {"pupilradius", ".5", NumberReading::Integer, D, "Pupil radius (steps) must be at least 1, not .5."},
        {"pupilradius", "3", NumberReading::Whole, B, "", 3},
        {"pupilradius", "3.5", NumberReading::Whole, B, "Pupil radius (steps) (pupilradius) must be a whole number, not 3.5."},
        {"HasComa", "2", NumberReading::Whole, B, "HasComa must be 0 or 1, not 2."},
    };
    for (const Row &row : rows) {
        double value = -99;
        EXPECT_EQ(read_setting(row.name, row.text, row.how, value, row.style), row.message)
            << row.name << " '" << row.text << "'";
        if (!*row.message) {
            EXPECT_EQ(value, row.value) << row.name << " '" << row.text << "'";
        }
    }
}

}  // namespace
