// The report texts, byte for byte. Expected numbers are worked out by hand (and checked with
// a separate calculator), never taken from the functions under test.
#include <gtest/gtest.h>

#include <string>

#include "optics/domains.h"
#include "optics/settings.h"
#include "shell/reports.h"

namespace {

SYSTEMTIME at(int hour, int minute, int second, int milliseconds)
{
    SYSTEMTIME t{};
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = static_cast<WORD>(milliseconds);
    return t;
}

TEST(Reports, GeneralNumberFormatKeepsNSignificantDigits)
{
    struct Row { double value; int digits; const char *text; } rows[] = {
        {6.832, 6, "6.832"},               // trailing zeros go
        {128, 6, "128"},                   // and the decimal point with them
        {10.0 / 39.0, 6, "0.25641"},       // 0.2564102... rounds to 0.256410 -> 0.25641
        {1234567.0, 6, "1.23457e+06"},     // exponent 6 >= N: exponent form
        {0.0001234, 6, "0.0001234"},       // exponent -4: still fixed
        {0.00001234, 6, "1.234e-05"},      // exponent -5: exponent form
        {0.75, 7, "0.75"},
        {3600.0, 7, "3600"},
    };
    for (const Row &row : rows) EXPECT_EQ(gN(row.value, row.digits), row.text) << "value=" << row.value;
}

TEST(Reports, FFTStatisticsTextFormatsBothTimesAndTheElapsedSeconds)
{
    struct Row { const char *name; SYSTEMTIME start, end; const char *text; } rows[] = {
        {"same second", at(9, 5, 7, 30), at(9, 5, 7, 90),
         "Start time:    9:05:07.03\nEnd time:     9:05:07.09\n\nEllapsed time:  0.06 seconds."},
        {"across a minute", at(14, 59, 58, 500), at(15, 0, 1, 250),
         // 14:59:58.50 to 15:00:01.25 is 2.75 s
         "Start time:   14:59:58.50\nEnd time:    15:00:01.25\n\nEllapsed time:  2.75 seconds."},
        {"past midnight", at(23, 59, 59, 500), at(0, 0, 0, 250),
         // 0.50 s to midnight, then 0.25 s: 0.75 s, not a negative day
         "Start time:   23:59:59.50\nEnd time:     0:00:00.25\n\nEllapsed time:  0.75 seconds."},
        {"a whole hour", at(10, 0, 0, 0), at(11, 0, 0, 0),
         "Start time:   10:00:00.00\nEnd time:    11:00:00.00\n\nEllapsed time:  3600 seconds."},
        {"milliseconds truncate to hundredths", at(8, 0, 0, 19), at(8, 0, 0, 999),
         // 0.01 s to 0.99 s
         "Start time:    8:00:00.01\nEnd time:     8:00:00.99\n\nEllapsed time:  0.98 seconds."},
    };
    for (const Row &row : rows) EXPECT_EQ(FFTStatisticsText(row.start, row.end), row.text) << row.name;
}

// Start-up settings: 10 mm pupil, ncenter 19.5, F/5.6 (EFL 56 mm), 500 nm, zoom on.
// Pupil step 10 / 39 = 0.2564103 mm, extent 127 steps = 32.56410 mm.
// Microns: extent 3.9 x 56 x 500 x 0.001 = 109.2, step 109.2 / 127 = 0.8598425;
//   Airy 2.44 x 500 x 5.6 x 0.001 = 6.832 (float 6.8319998), 6.832 / 0.8598425 = 7.945636.
// Milliradians: extent 3.9 x 0.5 = 1.95, step 0.01535433; Airy 2.44 x 500e-9 / 0.01 x 1000
//   = 0.122 mrad, 7.945636 steps.
// Arc seconds: extent 3.9 x 3600 x 180 / 3.14159 x 0.0005 = 402.2167, step 3.167061;
//   Airy 2.44 x 5e-5 rad x 206264.8 = 25.16431", 25.16431 / 3.167061 = 7.945630 steps.
class ReviewDomainsTest : public ::testing::Test {
protected:
    void SetUp() override { optics_startup(); }
    void TearDown() override { optics_shutdown(); }
};

std::string expected_review(const char *step, const char *extent, const char *units, const char *airy,
                            const char *airySteps, const char *zoomLine)
{
    return std::string("Pupil step is 0.25641 mm. \n Pupil extent is 32.5641 mm. \n  \n") + "PSF step is " + step +
           units + ". \n PSF extent is " + extent + units + ". \n \n" +
           "Diameter of diffraction limited 1st Airy ring \n is   " + airy + units + "   (" + airySteps +
           " steps). \n \n" + "Pupil and PSF arrays are 128 by 128 steps. \n \n" + zoomLine;
}

TEST_F(ReviewDomainsTest, TextForStartUpSettingsInEachUnit)
{
    struct Row { int units; int zoom; std::string text; } rows[] = {
        {PSF_MICRONS, 2,
         expected_review("0.859843", "109.2", " microns", "6.832", "7.94564", "Central quarter of array area is plotted.")},
        {PSF_MILLIRADIANS, 2,
         expected_review("0.0153543", "1.95", " milliradians", "0.122", "7.94564",
                         "Central quarter of array area is plotted.")},
        {PSF_ARCSECONDS, 2,
         expected_review("3.16706", "402.217", " arc seconds", "25.1643", "7.94563",
                         "Central quarter of array area is plotted.")},
        {PSF_MICRONS, 1,
         expected_review("0.859843", "109.2", " microns", "6.832", "7.94564", "Entire array is plotted.")},
    };
    for (const Row &row : rows) {
        nCurrentPSFUnits = row.units;
        izoom = row.zoom;
        set_domains();
        EXPECT_EQ(ReviewDomainsText(), row.text) << "units=" << row.units << " izoom=" << row.zoom;
    }
}

}  // namespace
