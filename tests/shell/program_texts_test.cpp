// The program's own texts where the running program shows them: the message boxes of the
// main window's commands (text, caption, icon, owner) and their order.

#include <regex>

#include "tests/shell/program_harness.h"

namespace {

// The boxes of Review Domains and Create PSF with the centroid analysis on (its result, then the statistics of
// the first computation).
TEST(ProgramTexts, MainWindowBoxesHaveTheirTextsCaptionsAndIcons)
{
    run_program([] {
        testing_choose_menu_item(mainhwnd, IDM_REVIEW_DOMAINS);
        nDoCentroidError = 1;
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        const std::string time = "[ 12][0-9]:[0-5][0-9]:[0-5][0-9]\\.[0-9]{2}";
        const std::string number = "-?[0-9]+\\.[0-9]{6}";
        const struct Row {
            const char *caption;
            std::string text;  // a regular expression for the whole text
            UINT type;
        } rows[] = {
            {"Review Domains",
             "Pupil step is [0-9.]+ mm\\. \n Pupil extent is [0-9.]+ mm\\. \n  \n"
             "PSF step is [0-9.]+ microns\\. \n PSF extent is [0-9.]+ microns\\. \n \n"
             "Diameter of diffraction limited 1st Airy ring \n is   6\\.832 microns   \\([0-9.]+ steps\\)\\. \n \n"
             "Pupil and PSF arrays are 128 by 128 steps\\. \n \n"
             "Central quarter of array area is plotted\\.",
             MB_OK},
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
