// Each reading of a setting's text, and the one wording of each refusal (dialog or batch).
#include <string>
#include <tuple>

#include "optics/settings_rules.h"
#include "tests/optics/optics_test.h"

namespace {

using SettingRules = OpticsTest;

TEST_F(SettingRules, EachReadingTakesItsNumberOrGivesItsOneRefusal)
{
    constexpr auto D = MessageStyle::Dialog, B = MessageStyle::Batch;
    constexpr auto LEADING = NumberReading::Leading, WHOLE = NumberReading::Whole;
    constexpr auto TRUNC = NumberReading::Truncated, INTEGER = NumberReading::Integer;
    // message: "" when taken; a refusal leaves the value as it was (-99).
    const struct {
        const char *name, *text;
        NumberReading how;
        MessageStyle style;
        const char *message;
        double value = -99;
    } rows[] = {
        {"fnumber", "0", WHOLE, B, "F-number (fnumber) must be above 0, not 0."},
        {"fnumber", "0abc", LEADING, D, "F-number must be above 0, not 0."},
        {"fnumber", "-1e-50", LEADING, D, "F-number must be above 0, not -1e-50."},
        {"fnumber", " 5.6abc", LEADING, D, "", 5.6f},
        {"fnumber", "+7", WHOLE, B, "", 7},
        {"fnumber", "1,5", LEADING, D, "", 1},       // a comma is never a decimal point
        {"spherical", "1e-320", LEADING, D, "", 0},  // below a float: rounds to 0
        {"PhasePatternPeriod", " 2.9", TRUNC, D, "", 2},
        {"PhasePatternPeriod", "3e9", TRUNC, D,
         "Pattern period (steps) must be at most 2147483647, not 3e9."},
        {"PhasePlateSteps", "-0.5", TRUNC, D, "", 0},
        {"nPSFdecades", "4.5", INTEGER, D, "", 4},
        {"nPSFdecades", "1e3", INTEGER, D, "", 1},
        {"pupilradius", ".5", INTEGER, D, "Pupil radius (steps) must be at least 1, not .5."},
    };
    for (const auto &row : rows) {
        double value = -99;
        EXPECT_EQ(read_setting(row.name, row.text, row.how, value, row.style), row.message)
            << row.name << " '" << row.text << "'";
        EXPECT_EQ(value, row.value) << row.name << " '" << row.text << "'";
    }
}

TEST_F(SettingRules, RefusedAssignmentNamesTheSettingWithNothingChanged)
{
    const struct {
        const char *name, *text, *expected;
    } rows[] = {
        {"pupildia", "0", "Pupil X-extent (pupildia) must be above 0, not 0."},
        {"pupildia", "3e38", "Pupil X-extent (pupildia) must be at most 1000000000, not 3e38."},
        {"nPSFdecades", "0", "Decades (nPSFdecades) must be at least 1, not 0."},
        {"HasComa", "2", "HasComa must be 0 or 1, not 2."},
        {"nCurrentApod", "157",
         "Apodization (nCurrentApod) must be one of 158, 159, 160, 161, not 157."},
        {"fnumber", "5x", "F-number (fnumber) must be a number."},
        {"fnumber", "nan", "F-number (fnumber) must be a number."},
        {"defocus", "1e39", "Defocus (defocus) must be at most 1000000, not 1e39."},
        {"pupilradius", "2.5",
         "Pupil radius (steps) (pupilradius) must be a whole number, not 2.5."},
        {"EFL", "10", "cannot set EFL: EFL follows from fnumber and the pupil diameter"},
        {"rbreak", "0.99999999",  // held as the float 1
         "Triangular break (pupil fraction) (rbreak) must be below 1, not 0.99999999."},
    };
    const auto before = setting_values();
    for (const auto &row : rows) {
        EXPECT_EQ(apply_setting(row.name, row.text), row.expected) << row.name << "=" << row.text;
        EXPECT_EQ(setting_values(), before) << row.name << "=" << row.text;
    }
}

// Names in any case; each limit itself is taken.
TEST_F(SettingRules, AcceptedAssignmentIsStored)
{
    const struct {
        const char *name, *text;
        double (*stored)();
        double expected;
    } rows[] = {
        {"FNUMBER", " 2.5 ", [] { return double(fnumber); }, 2.5},
        {"rbreak", "0", [] { return double(rbreak); }, 0},
        {"rbreak", "0.999", [] { return double(rbreak); }, 0.999f},
        {"nPSFdecades", "1", [] { return double(nPSFdecades); }, 1},
        {"NumPixels", "4.0", [] { return double(CentroidErrorType); }, CENTROID_4BY4},
        {"nPSFdecades", "38", [] { return double(nPSFdecades); }, 38},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(apply_setting(row.name, row.text), "") << row.name << "=" << row.text;
        EXPECT_EQ(row.stored(), row.expected) << row.name << "=" << row.text;
    }
}

TEST_F(SettingRules, DerivedSettingsFollowTheirSources)
{
    set_both(pupildia, 2.0f, nCurrentPupUnits, UNITS_CENTIMETERS);
    fnumber = 4.0f;
    pupilradius = 10;
    CentroidErrorType = CENTROID_4BY4;
    nZoomPlot = 0;
    derive_settings();
    // 2 cm is 20 mm; EFL = 20 mm x F/4 = 80 mm; ncenter = 10 - 0.5.
    EXPECT_EQ(std::tuple(pupildiamm, EFL, ncenter, NumPixels, izoom),
              std::tuple(20.0f, 80.0f, 9.5f, 4, 1));
}

}  // namespace
