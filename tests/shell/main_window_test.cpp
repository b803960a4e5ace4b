// The windowed program end to end, headless, driven at its first idle moment (message boxes
// answered and recorded by the test support); also the texts of the program's own reports.
#include <algorithm>
#include <regex>
#include <tuple>

#include "optics/domains.h"
#include "optics/pupil.h"
#include "shell/reports.h"
#include "views/program_windows.h"
#include "views/child.h"
#include "tests/shell/program_harness.h"

namespace {

// A box as its caption, text, type and owner, for one comparison.
auto box_fields(const TestMessageBox &box)
{
    return std::tuple(box.caption, box.text, box.type, box.owner);
}

TEST(MainWindow, CreatePsfWithTheCentroidAnalysisBeepsAndReportsTwice)
{
    run_program([] {
        testing_clear_records();
        nDoCentroidError = 1;
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        nDoCentroidError = 0;
        EXPECT_EQ(testing_beep_count(), 2) << "the analysis, then the computation";
        const std::vector<TestMessageBox> boxes = testing_message_boxes();
        ASSERT_EQ(boxes.size(), 2u);
        const std::regex figures("-?[0-9]+\\.[0-9]{6}   -?[0-9]+\\.[0-9]{6}");
        EXPECT_TRUE(std::regex_match(boxes[0].text, figures)) << boxes[0].text;
        EXPECT_EQ(boxes[1].text.rfind("Start time:   ", 0), 0u) << boxes[1].text;
        EXPECT_EQ(std::tie(boxes[0].caption, boxes[0].type, boxes[0].owner),
                  std::make_tuple("RMS centroid error in large pixels", UINT{MB_OK}, mainhwnd));
        EXPECT_EQ(std::tie(boxes[1].caption, boxes[1].type, boxes[1].owner),
                  std::make_tuple("FFT Statistics", UINT{MB_ICONINFORMATION | MB_OK}, mainhwnd));
    });
}

TEST(MainWindow, CreatePsfAfterANewPupilRunsWithoutASecondReport)
{
    run_program([] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        testing_clear_records();
        // A setup dialog's way of making the PSF stale: a new pupil, item 51 back to "&Create PSF".
        pillbox_input();
        HMENU menu = GetMenu(mainhwnd);
        ModifyMenuA(menu, IDM_CREATE_PSF, MF_BYCOMMAND, IDM_CREATE_PSF, "&Create PSF");
        EnableMenuItem(menu, IDM_CREATE_PSF, MF_BYCOMMAND | MF_ENABLED);
        DrawMenuBar(mainhwnd);
        EXPECT_EQ(HaveCurrentPSF, 0);
        EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF));
        EXPECT_EQ(testing_beep_count(), 1);
        EXPECT_EQ(testing_message_boxes().size(), 0u);
    });
}

TEST(MainWindow, PsfViewsBeforeAnyPsfSayThereIsNone)
{
    run_program([] {
        for (UINT id : {61, 62, 63, 64, 78, 79, 80, 83, 84, 85, 86, 87}) {
            testing_clear_records();
            testing_send_command(mainhwnd, id);
            ASSERT_EQ(testing_message_boxes().size(), 1u) << "id=" << id;
            EXPECT_EQ(box_fields(testing_message_boxes()[0]),
                      std::tuple("There Is No Current PSF", "Click on Create PSF in menu above",
                                 UINT{MB_OK}, mainhwnd))
                << "id=" << id;
            EXPECT_FALSE(testing_menu_item(mainhwnd, id).grayed) << "id=" << id;
        }
        EXPECT_TRUE(testing_child_windows(mainhwnd).empty());
    });
}

TEST(MainWindow, PsfPlotTitlesNameThePlotTypeInTheChosenUnits)
{
    struct Row {
        int plotType, units;
        UINT id;
        const char *title;
        float band = 0;  // with jitter 0.5 x 0.25 when not 0
    } rows[] = {
        {PSF_LOGARITHMIC, PSF_MICRONS, 78, "Log PSF vs. x in microns."},
        {PSF_LOGARITHMIC, PSF_MILLIRADIANS, 79, "Log PSF vs. y in milliradians."},
        {PSF_LOGARITHMIC, PSF_ARCSECONDS, 80, "Log PSF vs. x and y in arc seconds."},
        {PSF_LOGARITHMIC, PSF_MILLIRADIANS, 85, "MTF vs. y frequency in cycles/mrad."},
        {PSF_LINEAR, PSF_ARCSECONDS, 86, "MTF vs. x and y frequency in cycles/arcsec."},
        {PSF_LINEAR, PSF_MICRONS, 78, "PSF vs. x in microns, 20 % band, jitter 0.5 x 0.25.", 20},
    };
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const Row &row : rows) {
            DestroyOutputChildWindows();
            PSFPlotType = row.plotType;
            nCurrentPSFUnits = row.units;
            bandwidth = row.band;
            nwavelengths = row.band ? 3 : 1;
            jitter_x = row.band ? 0.5f : 0;
            jitter_y = row.band ? 0.25f : 0;
            testing_send_command(mainhwnd, row.id);
            ASSERT_FALSE(testing_child_windows(mainhwnd).empty()) << row.title;
            EXPECT_EQ(testing_child_windows(mainhwnd).back().title, row.title);
        }
    });
}

TEST(MainWindow, ADarkPupilsReportTellsWhyThePsfIsEmptyAndTheMtfAndImageViewsStayShut)
{
    run_program([] {
        for (float **field : {A_input, B_input})
            for (int i = 1; i <= GRID; i++) std::fill(&field[i][1], &field[i][1] + GRID, 0.0f);
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        const std::vector<TestMessageBox> &boxes = testing_message_boxes();
        ASSERT_EQ(boxes.size(), 2u) << "the statistics, then why the PSF is empty";
        EXPECT_EQ(boxes[1].caption, "Orvinta");
        EXPECT_NE(boxes[1].text.find("PSF is empty"), std::string::npos) << boxes[1].text;
        testing_send_command(mainhwnd, IDM_PLOT_MTF_XSLICE);
        ASSERT_EQ(boxes.size(), 3u) << "the MTF views have nothing to show";
        EXPECT_EQ(boxes[2].caption, "There Is No MTF");
        testing_send_command(mainhwnd, IDM_PLOT_PSF_IMAGE);
        ASSERT_EQ(boxes.size(), 4u) << "the PSF image has nothing to colour";
        EXPECT_EQ(boxes[3].caption, "There Is No Current PSF");
        EXPECT_TRUE(testing_child_windows(mainhwnd).empty());
    });
}

TEST(MainWindow, AFileTitleInABoxIsNeverAFormat)
{
    run_program([] {
        OkMessage(mainhwnd, "Could not read the file %s!", "");
        OkMessage(mainhwnd, "Could not read the file %s!", "%s%n.txt");
        EXPECT_EQ(message_texts(),
                  (std::vector<std::string>{"Could not read the file Orvinta: Diffraction Point "
                                            "Spread Function of Wavefront!",
                                            "Could not read the file %s%n.txt!"}));
    });
}

TEST(MainWindow, ViewsOpenInTheirOwnPlacesWithTheirTitles)
{
    // Client area W x H = 1001 x 701, every coordinate truncated toward zero. Tables: corner
    // (k + 0.5) W / 16, (k + 0.5) H / 16 (k = 0: 31.28, 21.9; k = 4: 281.5, 197.2), size
    // 0.7 W x 0.7 H = 700.7 x 490.7. Plots: corner f W, f H (f = 0.01: 10.01, 7.01; 0.04 for
    // the transmission contour, 0.11 and 0.14 for the PSF's), size 0.85 W x 0.85 H =
    // 850.85 x 595.85, a contour 0.6375 W = 638.1 wide. The MTF views follow the PSF's: the
    // table at k = 5 (344.1, 240.97), the plots at f = 0.15 and 0.135 (150.15, 105.15; 135.14,
    // 94.64), all inside the client area.
    struct Row {
        UINT id;
        const char *title;
        int left, top, width, height;
        bool table;
    } rows[] = {
        {55, "Pupil Transmission Values", 31, 21, 700, 490, true},
        {63, "PSF Values (Intensity of Field at Focus)", 281, 197, 700, 490, true},
        {71, "Pupil Tx vs. x in millimeters", 10, 7, 850, 595, false},
        {73, "Contour Plot of Pupil Transmission", 40, 28, 638, 595, false},
        {78, "PSF vs. x in microns.", 110, 77, 850, 595, false},
        {83, "PSF vs. x and y in microns.", 140, 98, 638, 595, false},
        {64, "MTF Values (Modulus of the Optical Transfer Function)", 344, 240, 700, 490, true},
        {84, "MTF vs. x frequency in cycles/mm.", 150, 105, 850, 595, false},
        {87, "MTF vs. x and y frequency in cycles/mm.", 135, 94, 638, 595, false},
    };
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        EXPECT_TRUE(testing_resize_client(mainhwnd, 1001, 701));
        for (const Row &row : rows) {
            EXPECT_TRUE(testing_choose_menu_item(mainhwnd, row.id)) << row.title;
            testing_process_events();
            const std::vector<TestWindow> children = testing_child_windows(mainhwnd);
            ASSERT_FALSE(children.empty()) << row.title;
            const TestWindow &view = children.back();
            const RECT &r = view.rect;
            EXPECT_EQ(std::tuple(view.title, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                 (view.style & (WS_VSCROLL | WS_HSCROLL)) != 0),
                      std::tuple(std::string(row.title), row.left, row.top, row.width, row.height,
                                 row.table));
        }
    });
}

// Start-up: 10 mm pupil, ncenter 19.5, F/5.6 (EFL 56 mm), 500 nm; pupil step 10 / 39 =
// 0.2564103 mm, extent 127 steps = 32.56410 mm. PSF extent (the period of 128 steps)
// 3.9 x 56 x 500e-3 = 109.2 um (step / 128 = 0.853125), 3.9 x 0.5 = 1.95 mrad (0.015234375),
// 3.9 x 3600 x 180 / 3.14159 x 5e-4 = 402.2167" (3.142318); Airy 2.44 x 500e-3 x 5.6 = 6.832 um
// = 0.122 mrad = 25.16431" (x 206264.8), held as floats: 6.8319998 / 0.853125 = 8.0082049
// steps, 0.12200000 / 0.015234375 = 8.0082052, 25.164307 / 3.142318 = 8.0081985.
std::string expected_review(const char *step, const char *extent, const char *units,
                            const char *airy, const char *airySteps, const char *zoomLine)
{
    return std::string("Pupil step is 0.25641 mm. \n Pupil extent is 32.5641 mm. \n  \n") +
           "PSF step is " + step + units + ". \n PSF extent is " + extent + units + ". \n \n" +
           "Diameter of diffraction limited 1st Airy ring \n is   " + airy + units + "   (" +
           airySteps + " steps). \n \n" + "Pupil and PSF arrays are 128 by 128 steps. \n \n" +
           zoomLine;
}

TEST(ProgramTexts, ReviewDomainsShowsTheStartUpDomainsInEachUnit)
{
    const char *const quarter = "Central quarter of array area is plotted.";
    const char *const whole = "Entire array is plotted.";
    const struct {
        int units, zoom;
        std::string text;
    } rows[] = {
        {PSF_MICRONS, 2,
         expected_review("0.853125", "109.2", " microns", "6.832", "8.0082", quarter)},
        {PSF_MILLIRADIANS, 1,
         expected_review("0.0152344", "1.95", " milliradians", "0.122", "8.00821", whole)},
        {PSF_ARCSECONDS, 2,
         expected_review("3.14232", "402.217", " arc seconds", "25.1643", "8.0082", quarter)},
    };
    run_program([&] {
        for (const auto &row : rows) {
            nCurrentPSFUnits = row.units;
            izoom = row.zoom;
            set_domains();
            testing_clear_records();
            testing_choose_menu_item(mainhwnd, IDM_REVIEW_DOMAINS);
            ASSERT_EQ(testing_message_boxes().size(), 1u);
            EXPECT_EQ(box_fields(testing_message_boxes()[0]),
                      std::tuple("Review Domains", row.text, UINT{MB_OK}, mainhwnd))
                << "units=" << row.units;
        }
    });
}

SYSTEMTIME at(WORD hour, WORD minute, WORD second, WORD ms)
{
    return SYSTEMTIME{0, 0, 0, 0, hour, minute, second, ms};
}

TEST(Reports, StatisticsShowTheStartEndAndElapsedTimes)
{
    struct Statistics {
        const char *name;
        SYSTEMTIME start, end;
        const char *text;
    } statistics[] = {
        {"across a minute: 2.75 s", at(14, 59, 58, 500), at(15, 0, 1, 250),
         "Start time:   14:59:58.50\nEnd time:    15:00:01.25\n\nEllapsed time:  2.75 seconds."},
        {"past midnight: 0.50 s, then 0.25 s", at(23, 59, 59, 500), at(0, 0, 0, 250),
         "Start time:   23:59:59.50\nEnd time:     0:00:00.25\n\nEllapsed time:  0.75 seconds."},
        {"milliseconds truncate to hundredths", at(8, 0, 0, 19), at(8, 0, 0, 999),
         "Start time:    8:00:00.01\nEnd time:     8:00:00.99\n\nEllapsed time:  0.98 seconds."},
    };
    for (const Statistics &row : statistics) {
        EXPECT_EQ(FFTStatisticsText(row.start, row.end), row.text) << row.name;
    }
}

}  // namespace

using MainWindowCommandLine = TempFolderTest;

// The file lies in a folder that does not exist inside the test's folder.
TEST_F(MainWindowCommandLine, APathSplitAtItsBlanksIsTakenWhole)
{
    testing_begin();
    std::string file_name;
    std::string title;
    std::vector<std::string> texts;
    testing_run_when_idle([&] {
        file_name = szFileName;
        title = szTitleName;
        texts = message_texts();
    });
    char name[] = "orvinta";
    std::string first = dir + "/missing/my";
    char second[] = "psf file.txt";
    char *argv[] = {name, first.data(), second, nullptr};
    window_main(3, argv);
    testing_end();
    EXPECT_EQ(file_name, dir + "/missing/my psf file.txt");
    EXPECT_EQ(title, "my psf file.txt");
    EXPECT_EQ(texts, std::vector<std::string>{"File my psf file.txt cannot be read!"});
}
