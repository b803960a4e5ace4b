#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "optics/settings.h"
#include "optics/settings_rules.h"

namespace {

class SettingRules : public testing::Test {
protected:
    void SetUp() override { optics_startup(); }
    void TearDown() override { optics_shutdown(); }
};

TEST_F(SettingRules, AcceptedValuesAreStored)
{
    struct Row { const char *name, *text; };
    const Row rows[] = {
        {"fnumber", "8"}, {"FNUMBER", "2.5"}, {"defocus", "-1.25"}, {"HasDefocus", "1"}, {"Zern4", "0.5"},
        {"haszern37", "1"}, {"nCurrentPupilShape", "138"}, {"pupilradius", "64"}, {"pupilradius", "100"},
        {"rbreak", "0"}, {"rbreak", "0.999"}, {"LinearObscuration", "0"}, {"LinearObscuration", "3"},
        {"PhasePatternPeriod", "1"}, {"nPSFdecades", "1"}, {"PhasePlateSteps", "-3"}, {"NumPixels", "4"},
    };
    for (const Row &row : rows) EXPECT_EQ(apply_setting(row.name, row.text), "") << row.name << "=" << row.text;
    EXPECT_EQ(fnumber, 2.5f);
    EXPECT_EQ(defocus, -1.25f);
    EXPECT_EQ(HasDefocus, 1);
    EXPECT_EQ(Zern[4], 0.5f);
    EXPECT_EQ(HasZern[37], 1);
    EXPECT_EQ(PhasePlateSteps, -3);
    EXPECT_EQ(CentroidErrorType, CENTROID_4BY4);
}

TEST_F(SettingRules, RefusalsNameTheSettingAndChangeNothing)
{
    struct Row { const char *name, *text, *expected; };
    const Row rows[] = {
        {"wavelength", "0", "Wavelength (nm) (wavelength) must be above 0, not 0."},
        {"fnumber", "-2", "F-number (fnumber) must be above 0, not -2."},
        {"pupildia", "0", "Pupil X-extent (pupildia) must be above 0, not 0."},
        {"PupilAspectRatio", "0", "Aspect ratio (y/x) (PupilAspectRatio) must be above 0, not 0."},
        {"LinearObscuration", "-0.1", "Linear obscuration ratio (LinearObscuration) must be at least 0, not -0.1."},
        {"rbreak", "1", "Triangular break (pupil fraction) (rbreak) must be below 1, not 1."},
        {"PhasePatternPeriod", "0", "Pattern period (steps) (PhasePatternPeriod) must be at least 1, not 0."},
        {"pupilradius", "0", "Pupil radius (steps) (pupilradius) must be at least 1, not 0."},
        {"nPSFdecades", "0", "Decades (nPSFdecades) must be at least 1, not 0."},
        {"HasComa", "2", "HasComa must be 0 or 1, not 2."},
        {"nCurrentApod", "157", "Apodization (nCurrentApod) must be one of 158, 159, 160, 161, not 157."},
        {"fnumber", "abc", "F-number (fnumber) must be a number."},
        {"fnumber", "", "F-number (fnumber) must be a number."},
        {"fnumber", "5x", "F-number (fnumber) must be a number."},
        {"fnumber", "nan", "F-number (fnumber) must be a number."},
        {"defocus", "inf", "Defocus (defocus) must be a number."},
        {"defocus", "1e39", "Defocus (defocus) must be at most 1000000, not 1e39."},
        {"pupilradius", "2.5", "Pupil radius (steps) (pupilradius) must be a whole number, not 2.5."},
        {"nosuch", "1", "unknown setting 'nosuch'"},
        {"EFL", "10", "cannot set EFL: EFL follows from fnumber and the pupil diameter"},
        {"NumPixels", "5", "Pixel array (NumPixels) must be 3 or 4, not 5."},
    };
    for (const Row &row : rows) {
        const float f0 = fnumber;
        EXPECT_EQ(apply_setting(row.name, row.text), row.expected) << row.name << "=" << row.text;
        EXPECT_EQ(fnumber, f0);
    }
    EXPECT_EQ(wavelength, 500.0f);
    EXPECT_EQ(PhasePatternPeriod, 5);
    EXPECT_EQ(rbreak, 0.75f);
}

TEST_F(SettingRules, DerivedSettingsFollowTheirSources)
{
    pupildia = 1.0f;
    nCurrentPupUnits = UNITS_INCHES;
    pupilradius = 10;
    CentroidErrorType = CENTROID_4BY4;
    nZoomPlot = 0;
    derive_settings();
    EXPECT_FLOAT_EQ(pupildiamm, 25.4f);
    EXPECT_FLOAT_EQ(EFL, 142.24f);  // F/5.6 with a one-inch pupil
    EXPECT_EQ(ncenter, 9.5f);
    EXPECT_EQ(NumPixels, 4);
    EXPECT_EQ(izoom, 1);
    EXPECT_FLOAT_EQ(pupil_mm(2.0f, UNITS_CENTIMETERS), 20.0f);
    EXPECT_FLOAT_EQ(pupil_mm(7.0f, UNITS_MILLIMETERS), 7.0f);
    EXPECT_EQ(check_setting("fnumber", 0.0), "F-number must be above 0, not 0.");
    EXPECT_EQ(check_setting("fnumber", 1.0), "");
}

}  // namespace
