// The windowed program end to end, headless: each test starts the program through its own
// entry point, drives it at its first idle moment through the test support, and lets it
// close. Message boxes are answered by the test support and recorded.

#include "optics/farfield.h"
#include "optics/pupil.h"
#include "views/program_windows.h"
#include "views/child.h"
#include "tests/shell/program_harness.h"

namespace {

// The dialogs' way of making the PSF stale: a new pupil and item 51 back to "&Create PSF".
void accept_a_setup_dialog()
{
    pillbox_input();
    HMENU menu = GetMenu(mainhwnd);
    ModifyMenuA(menu, IDM_CREATE_PSF, MF_BYCOMMAND, IDM_CREATE_PSF, "&Create PSF");
    EnableMenuItem(menu, IDM_CREATE_PSF, MF_BYCOMMAND | MF_ENABLED);
    DrawMenuBar(mainhwnd);
}

std::vector<std::string> child_titles()
{
    std::vector<std::string> titles;
    for (const TestWindow &w : testing_child_windows(mainhwnd)) titles.push_back(w.title);
    return titles;
}

TEST(MainWindow, StartsWithDefaultCaptionWholeMenuAndNoPSF)
{
    const std::vector<std::string> menu = {
        "&File/&Save Data=22", "&File/Save Data &As...=23", "&File/-", "&File/E&xit=25",
        "&Setup/&System Specifications/&Optics Specifications...=102",
        "&Setup/&System Specifications/&Pupil Specifications...=103",
        "&Setup/Pupil &Phase/&Discontinuous Phase Pattern...=94",
        "&Setup/Pupil &Phase/&Subaperture Phase Plate...=93", "&Setup/Pupil &Phase/&Third Order Aberrations...=92",
        "&Setup/Pupil &Phase/&Zernike Coefficients...=91",
        "&Setup/Pupil &Transmission/&Apodization of Pupil Transmission...=98",
        "&Setup/Pupil &Transmission/&Obscuration of Pupil Transmission...=97",
        "&Setup/&Options/&Analysis Options...=96", "&Setup/&Options/&Data Saving Options...=95", "&Review Domains=40",
        "&Create PSF=51", "View &Tables/P&upil Tables/Pupil &Transmision=55",
        "View &Tables/P&upil Tables/Pupil &Phase=56", "View &Tables/&PSF Tables/Field &Amplitude=61",
        "View &Tables/&PSF Tables/&Field Phase=62", "View &Tables/&PSF Tables/&PSF=63",
        "View &Plots/Pupil Transmission, X-Slice=71", "View &Plots/Pupil Transmission, Y-Slice=70",
        "View &Plots/Pupil Transmission, 3-D=72", "View &Plots/Pupil Transmission, Contour=73", "View &Plots/-",
        "View &Plots/Pupil Phase, X-Slice=75", "View &Plots/Pupil Phase, Y-Slice=74",
        "View &Plots/Pupil Phase, 3-D=76", "View &Plots/Pupil Phase, Contour=77", "View &Plots/-",
        "View &Plots/PSF, X-Slice=78", "View &Plots/PSF, Y-Slice=79", "View &Plots/PSF, 3-D=80",
        "View &Plots/PSF, Contour=83", "&About=90",
    };
    const int code = run_program([&] {
        ASSERT_NE(mainhwnd, nullptr);
        EXPECT_EQ(hwnd, mainhwnd);
        EXPECT_EQ(caption_of(mainhwnd), kDefaultCaption);
        EXPECT_EQ(testing_menu_outline(mainhwnd), menu);
        const TestMenuItem create = testing_menu_item(mainhwnd, IDM_CREATE_PSF);
        EXPECT_EQ(create.text, "&Create PSF");
        EXPECT_FALSE(create.grayed);
        EXPECT_EQ(HaveCurrentPSF, 0);
        EXPECT_EQ(ionce, 0);
        EXPECT_STREQ(szFileName, "");
        EXPECT_TRUE(testing_child_windows(mainhwnd).empty());
        EXPECT_TRUE(testing_message_boxes().empty());
        // The first pupil was built under the wavefront cursor.
        const std::vector<std::string> cursors = {"WavefrontCursor", "IDC_ARROW"};
        EXPECT_EQ(testing_cursors(), cursors);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(mainhwnd, nullptr);
}

TEST(MainWindow, CreatePSFGreysItemBeepsAndShowsStatisticsTheFirstTimeOnly)
{
    run_program([] {
        testing_clear_records();  // the start-up pupil showed its own cursor
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF));
        EXPECT_EQ(HaveCurrentPSF, 1);
        const TestMenuItem item = testing_menu_item(mainhwnd, IDM_CREATE_PSF);
        EXPECT_EQ(item.text, "FFT Done");
        EXPECT_TRUE(item.grayed);
        EXPECT_EQ(testing_beep_count(), 1);
        const std::vector<std::string> cursors = {"fftCursor", "IDC_ARROW"};
        EXPECT_EQ(testing_cursors(), cursors);
        // The statistics box itself is checked with the other boxes' texts.
        ASSERT_EQ(testing_message_boxes().size(), 1u);
        EXPECT_EQ(testing_message_boxes()[0].caption, "FFT Statistics");
        EXPECT_EQ(ionce, 1);
        // Greyed: the menu cannot run it again.
        EXPECT_FALSE(testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF));
        EXPECT_EQ(testing_beep_count(), 1);
        // After a settings change it runs again, without a second report.
        accept_a_setup_dialog();
        EXPECT_EQ(HaveCurrentPSF, 0);
        EXPECT_EQ(testing_menu_item(mainhwnd, IDM_CREATE_PSF).text, "&Create PSF");
        ASSERT_TRUE(testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF));
        EXPECT_EQ(testing_beep_count(), 2);
        EXPECT_EQ(testing_message_boxes().size(), 1u);
        EXPECT_EQ(testing_menu_item(mainhwnd, IDM_CREATE_PSF).text, "FFT Done");
    });
}

TEST(MainWindow, PSFViewsBeforeAnyPSFGiveTheNoCurrentPSFBox)
{
    run_program([] {
        const UINT psfViews[] = {61, 62, 63, 78, 79, 80, 83};
        for (UINT id : psfViews) {
            testing_clear_records();
            testing_send_command(mainhwnd, id);
            ASSERT_EQ(testing_message_boxes().size(), 1u) << "id=" << id;
            const TestMessageBox &box = testing_message_boxes()[0];
            EXPECT_EQ(box.caption, "There Is No Current PSF") << "id=" << id;
            EXPECT_EQ(box.text, "Click on Create PSF in menu above") << "id=" << id;
            EXPECT_EQ(box.type, static_cast<UINT>(MB_OK)) << "id=" << id;
            EXPECT_EQ(box.owner, mainhwnd) << "id=" << id;
            EXPECT_FALSE(testing_menu_item(mainhwnd, id).grayed) << "id=" << id;
        }
        EXPECT_TRUE(testing_child_windows(mainhwnd).empty());
        // The pupil views need no PSF.
        testing_clear_records();
        testing_send_command(mainhwnd, 55);
        testing_send_command(mainhwnd, 73);
        EXPECT_TRUE(testing_message_boxes().empty());
        EXPECT_EQ(testing_child_windows(mainhwnd).size(), 2u);
    });
}

TEST(MainWindow, ViewsOpenWithTheirTitlesAndGeometryFromTheClientSize)
{
    // Client area 1001 x 701; every coordinate truncated toward zero.
    struct Row {
        UINT id;
        const char *title;
        RECT rect;  // left, top, right = left + width, bottom = top + height
        bool table;
    } rows[] = {
        // x = 0.5 * 1001 / 16 = 31.28, y = 0.5 * 701 / 16 = 21.9; 0.7 W = 700.7, 0.7 H = 490.7
        {55, "Pupil Transmission Values", {31, 21, 31 + 700, 21 + 490}, true},
        // 1.5 W / 16 = 93.84, 1.5 H / 16 = 65.7
        {56, "Pupil Phase Values", {93, 65, 93 + 700, 65 + 490}, true},
        // 2.5 W / 16 = 156.4, 2.5 H / 16 = 109.5
        {61, "Amplitude of Field at Focus", {156, 109, 156 + 700, 109 + 490}, true},
        // 3.5 W / 16 = 218.96, 3.5 H / 16 = 153.3
        {62, "Phase of Field at Focus", {218, 153, 218 + 700, 153 + 490}, true},
        // 4.5 W / 16 = 281.5, 4.5 H / 16 = 197.2
        {63, "PSF Values (Intensity of Field at Focus)", {281, 197, 281 + 700, 197 + 490}, true},
        // 0.01 W = 10.01, 0.01 H = 7.01; 0.85 W = 850.85, 0.85 H = 595.85
        {71, "Pupil Tx vs. x in millimeters", {10, 7, 10 + 850, 7 + 595}, false},
        {70, "Pupil Tx vs. y in millimeters", {20, 14, 20 + 850, 14 + 595}, false},
        {72, "Pupil Tx vs. x and y in millimeters", {30, 21, 30 + 850, 21 + 595}, false},
        // 0.6375 W = 638.1375
        {73, "Contour Plot of Pupil Transmission", {40, 28, 40 + 638, 28 + 595}, false},
        {75, "Pupil Phase vs. x in millimeters", {60, 42, 60 + 850, 42 + 595}, false},
        {74, "Pupil Phase vs. y in millimeters", {70, 49, 70 + 850, 49 + 595}, false},
        {76, "Pupil Phase vs. x and y in millimeters", {80, 56, 80 + 850, 56 + 595}, false},
        {77, "Contour Plot of Pupil Phase-front", {90, 63, 90 + 638, 63 + 595}, false},
        // 0.11 W = 110.11, 0.11 H = 77.11
        {78, "PSF vs. x in microns.", {110, 77, 110 + 850, 77 + 595}, false},
        {79, "PSF vs. y in microns.", {120, 84, 120 + 850, 84 + 595}, false},
        {80, "PSF vs. x and y in microns.", {130, 91, 130 + 850, 91 + 595}, false},
        // 0.14 W = 140.14, 0.14 H = 98.14
        {83, "PSF vs. x and y in microns.", {140, 98, 140 + 638, 98 + 595}, false},
    };
    run_program([&] {
        ASSERT_TRUE(testing_resize_client(mainhwnd, 1001, 701));
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const Row &row : rows) {
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, row.id)) << "id=" << row.id;
            testing_process_events();
            const std::vector<TestWindow> children = testing_child_windows(mainhwnd);
            ASSERT_FALSE(children.empty()) << "id=" << row.id;
            const TestWindow &view = children.back();
            EXPECT_EQ(view.title, row.title) << "id=" << row.id;
            EXPECT_EQ(view.rect.left, row.rect.left) << "id=" << row.id;
            EXPECT_EQ(view.rect.top, row.rect.top) << "id=" << row.id;
            EXPECT_EQ(view.rect.right, row.rect.right) << "id=" << row.id;
            EXPECT_EQ(view.rect.bottom, row.rect.bottom) << "id=" << row.id;
            EXPECT_EQ((view.style & (WS_VSCROLL | WS_HSCROLL)) != 0, row.table) << "id=" << row.id;
            EXPECT_EQ(view.style & WS_CHILD, static_cast<DWORD>(WS_CHILD)) << "id=" << row.id;
            EXPECT_TRUE(testing_menu_item(mainhwnd, row.id).grayed) << "id=" << row.id;
        }
        EXPECT_EQ(testing_child_windows(mainhwnd).size(), 17u);
    });
}

TEST(MainWindow, PSFPlotTitlesFollowPlotTypeAndUnits)
{
    struct Row { int plotType, units; UINT id; const char *title; } rows[] = {
        {PSF_LOGARITHMIC, PSF_MICRONS, 78, "Log PSF vs. x in microns."},
        {PSF_LOGARITHMIC, PSF_MILLIRADIANS, 79, "Log PSF vs. y in milliradians."},
        {PSF_LOGARITHMIC, PSF_ARCSECONDS, 80, "Log PSF vs. x and y in arc seconds."},
        {PSF_LINEAR, PSF_ARCSECONDS, 83, "PSF vs. x and y in arc seconds."},
        {PSF_LINEAR, PSF_MILLIRADIANS, 78, "PSF vs. x in milliradians."},
    };
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const Row &row : rows) {
            DestroyOutputChildWindows();
            PSFPlotType = row.plotType;
            nCurrentPSFUnits = row.units;
            testing_send_command(mainhwnd, row.id);
            const std::vector<std::string> titles = child_titles();
            ASSERT_EQ(titles.size(), 1u) << row.title;
            EXPECT_EQ(titles[0], row.title);
        }
    });
}

TEST(MainWindow, DarkPupilTellsWhyThePSFIsEmpty)
{
    run_program([] {
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) A_input[i][j] = B_input[i][j] = 0.0f;
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        ASSERT_EQ(testing_message_boxes().size(), 2u);
        EXPECT_EQ(testing_message_boxes()[0].caption, "FFT Statistics");
        EXPECT_EQ(testing_message_boxes()[1].caption, "Orvinta");
        EXPECT_NE(testing_message_boxes()[1].text.find("PSF is empty"), std::string::npos);
    });
}

TEST(MainWindow, AFileTitleInAMessageIsNeverAFormat)
{
    run_program([] {
        testing_clear_records();
        OkMessage(mainhwnd, "Could not read the file %s!", "");
        OkMessage(mainhwnd, "Could not read the file %s!", "%s%n.txt");  // a title is never a format
        ASSERT_EQ(testing_message_boxes().size(), 2u);
        EXPECT_EQ(testing_message_boxes()[0].text,
                  "Could not read the file Orvinta: Diffraction Point Spread Function of Wavefront!");
        EXPECT_EQ(testing_message_boxes()[1].text, "Could not read the file %s%n.txt!");
    });
}

}  // namespace

TEST(MainWindowCommandLine, APathSplitAtItsBlanksIsTakenWhole)
{
    testing_begin();
    std::string file_name, title;
    std::vector<std::string> texts;
    testing_run_when_idle([&] {
        file_name = szFileName;
        title = szTitleName;
        for (const TestMessageBox &box : testing_message_boxes()) texts.push_back(box.text);
    });
    char name[] = "orvinta", first[] = "/nonexistent/my", second[] = "psf file.txt";
    char *argv[] = {name, first, second, nullptr};
    window_main(3, argv);
    testing_end();
    EXPECT_EQ(file_name, "/nonexistent/my psf file.txt");
    EXPECT_EQ(title, "my psf file.txt");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "File my psf file.txt cannot be read!");
}
