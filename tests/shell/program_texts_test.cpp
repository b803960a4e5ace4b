// The program's own texts where the running program shows them: the message boxes of the
// main window's commands (text, caption, icon, owner) and their order.
#include <regex>

#include "optics/domains.h"
#include "tests/shell/program_harness.h"

namespace {

// Start-up settings: 10 mm pupil, ncenter 19.5, F/5.6 (EFL 56 mm), 500 nm, zoom on.
// Pupil step 10 / 39 = 0.2564103 mm, extent 127 steps = 32.56410 mm.
// Microns: extent 3.9 x 56 x 500 x 0.001 = 109.2, step 109.2 / 127 = 0.8598425;
//   Airy 2.44 x 500 x 5.6 x 0.001 = 6.832 (float 6.8319998), 6.832 / 0.8598425 = 7.945636.
// Milliradians: extent 3.9 x 0.5 = 1.95, step 0.01535433; Airy 2.44 x 500e-9 / 0.01 x 1000
//   = 0.122 mrad, 7.945636 steps.
// Arc seconds: extent 3.9 x 3600 x 180 / 3.14159 x 0.0005 = 402.2167, step 3.167061;
//   Airy 2.44 x 5e-5 rad x 206264.8 = 25.16431", 25.16431 / 3.167061 = 7.945630 steps.
std::string expected_review(const char *step, const char *extent, const char *units, const char *airy,
                            const char *airySteps, const char *zoomLine)
{
    return std::string("Pupil step is 0.25641 mm. \n Pupil extent is 32.5641 mm. \n  \n") + "PSF step is " + step +
           units + ". \n PSF extent is " + extent + units + ". \n \n" +
           "Diameter of diffraction limited 1st Airy ring \n is   " + airy + units + "   (" + airySteps +
           " steps). \n \n" + "Pupil and PSF arrays are 128 by 128 steps. \n \n" + zoomLine;
}

TEST(ProgramTexts, ReviewDomainsShowsTheStartUpDomainsInEachUnit)
{
    const char *const quarter = "Central quarter of array area is plotted.";
    const struct { int units, zoom; std::string text; } rows[] = {
        {PSF_MICRONS, 2, expected_review("0.859843", "109.2", " microns", "6.832", "7.94564", quarter)},
        {PSF_MILLIRADIANS, 2, expected_review("0.0153543", "1.95", " milliradians", "0.122", "7.94564", quarter)},
        {PSF_ARCSECONDS, 2, expected_review("3.16706", "402.217", " arc seconds", "25.1643", "7.94563", quarter)},
        {PSF_MICRONS, 1, expected_review("0.859843", "109.2", " microns", "6.832", "7.94564", "Entire array is plotted.")},
    };
    run_program([&] {
        for (const auto &row : rows) {
            nCurrentPSFUnits = row.units;
            izoom = row.zoom;
            set_domains();
            testing_clear_records();
            testing_choose_menu_item(mainhwnd, IDM_REVIEW_DOMAINS);
            ASSERT_EQ(testing_message_boxes().size(), 1u);
            const TestMessageBox &box = testing_message_boxes()[0];
            EXPECT_EQ(box.text, row.text) << "units=" << row.units << " izoom=" << row.zoom;
            EXPECT_EQ(box.caption, "Review Domains");
            EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
            EXPECT_EQ(box.owner, mainhwnd);
        }
    });
}

// Create PSF with the centroid analysis on: its result, then the statistics of the first
// computation.
TEST(ProgramTexts, CreatePSFBoxesHaveTheirTextsCaptionsAndIcons)
{
    run_program([] {
        nDoCentroidError = 1;
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        const std::string time = "[ 12][0-9]:[0-5][0-9]:[0-5][0-9]\\.[0-9]{2}";
        const std::string number = "-?[0-9]+\\.[0-9]{6}";
        const struct Row { const char *caption; std::string text; UINT type; } rows[] = {
            {"RMS centroid error in large pixels", number + "   " + number, MB_OK},
            {"FFT Statistics",
             "Start time:   " + time + "\nEnd time:    " + time + "\n\nEllapsed time:  [0-9.e+-]+ seconds\\.",
             MB_ICONINFORMATION | MB_OK},
        };
        const std::vector<TestMessageBox> &boxes = testing_message_boxes();
        ASSERT_EQ(boxes.size(), std::size(rows));
        for (std::size_t k = 0; k < std::size(rows); ++k) {
            const Row &row = rows[k];
            EXPECT_EQ(boxes[k].caption, row.caption) << "box " << k;
            EXPECT_TRUE(std::regex_match(boxes[k].text, std::regex(row.text))) << row.caption << ":\n" << boxes[k].text;
            EXPECT_EQ(boxes[k].type, row.type) << row.caption;
            EXPECT_EQ(boxes[k].owner, mainhwnd) << row.caption;
        }
        EXPECT_EQ(testing_beep_count(), 2) << "the analysis, then the computation";
    });
}

}  // namespace
