// The program's own texts where the running program shows them: the message boxes of the
// main window's commands (text, caption, icon, owner) and what each table view prints.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "optics/settings.h"
#include "shell/globals.h"
#include "shell/wndproc.h"
#include "tests/shell/program_harness.h"
#include "views/table.h"

namespace {

TEST(ProgramTexts, EachTableShowsItsArrayWithItsCellFormat)
{
    const struct Row {
        int kind;
        float **const *array;
        const char *format;
    } rows[] = {
        {0, &r_input, "%6.3f"},
        {1, &phase_input, "%7.3f"},
        {2, &r_output, " %9.3f"},
        {3, &i_output, " %7.3f"},
        {6, &m_output, " %9.3f"},
    };
    for (const Row &row : rows) {
        const TableView *table = TableFor(row.kind);
        ASSERT_NE(table, nullptr) << "kind " << row.kind;
        EXPECT_EQ(table->array, row.array) << "kind " << row.kind;
        EXPECT_STREQ(table->format, row.format) << "kind " << row.kind;
    }
    for (int kind : {-1, 4, 5, 7, 18}) EXPECT_EQ(TableFor(kind), nullptr) << "kind " << kind << " is no table";
}

// The widest cell the PSF table prints: 100 (the peak) as " %9.3f" is a blank and 100.000
// right-justified in nine characters, ten characters in all, one column of the table.
TEST(ProgramTexts, APSFCellOfTheTablesPeakFillsItsTenCharacterColumn)
{
    const TableView *table = TableFor(6);
    ASSERT_NE(table, nullptr);
    char cell[CELL_BUFFER_SIZE];
    std::snprintf(cell, sizeof cell, table->format, 100.0);
    EXPECT_STREQ(cell, "   100.000");
    EXPECT_EQ(static_cast<int>(std::strlen(cell)), TABLE_COLUMN_CHARS);
}

// Every box the main window's commands show on their own: a PSF view before any PSF, Review
// Domains, and Create PSF with the centroid analysis on (its result, then the statistics of
// the first computation).
TEST(ProgramTexts, MainWindowBoxesHaveTheirTextsCaptionsAndIcons)
{
    run_program([] {
        testing_choose_menu_item(mainhwnd, IDM_PLOT_PSF_XSLICE);
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
            {"There Is No Current PSF", "Click on Create PSF in menu above", MB_OK},
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
    });
}

}  // namespace
