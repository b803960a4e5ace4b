// Wavefronts from outside through the window: coefficient files and phase maps from the File
// menu, the Phase Map dialog, the Zernike fit box of the pupil phase views.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "optics/phase_map.h"
#include "optics/pupil.h"
#include "platform/clipboard.h"
#include "views/command_ids.h"
#include "views/registry.h"
#include "views/zernike_fit_box.h"
#include "tests/shell/program_harness.h"

namespace {

using WavefrontFiles = TempFolderTest;

// Writes text to the file name in the test's folder and picks it in the next file dialog.
std::string pick_file(const std::string &dir, const char *name, const char *text)
{
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    testing_filedlg_begin({testing_file_choice(path)});
    return path;
}

// The Fringe terms a file sets at the start-up wavelength of 500 nm, each a peak value, with
// the rms factor sqrt((2 - [m = 0]) (n + 1)): Noll 4 is (2, 0), 0.1 sqrt(3); ANSI 7 is
// (3, -1), Fringe 8, 50 nm = 0.1 wave rms, 0.1 sqrt(8); 0.05 um is 0.1 wave.
TEST_F(WavefrontFiles, LoadedCoefficientFileSetsOnlyTheFringeTermItConvertsTo)
{
    const struct {
        const char *text;
        int term;
        float peak;
    } rows[] = {
        {"# ordering=noll normalisation=rms unit=waves\n4,0.1\n", 4, 0.17320508f},
        {"# ordering=ansi normalisation=rms unit=nm\n7,50\n", 8, 0.28284271f},
        {"# ordering=fringe normalisation=peak unit=um\n9,0.05\n", 9, 0.1f},
    };
    run_program([&] {
        for (const auto &row : rows) {
            SCOPED_TRACE(row.text);
            testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
            pick_file(dir, "terms.csv", row.text);
            EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_LOAD_ZERNIKES));
            EXPECT_NEAR(Zern[row.term], row.peak, 1e-7);
            EXPECT_EQ(std::count(HasZern + 1, HasZern + 38, 1), 1);
            EXPECT_EQ(std::pair(HasZern[row.term], HaveCurrentPSF), std::pair(1, 0));
        }
    });
}

// A refused file names itself and the line, and leaves the terms, the map and the PSF as they
// were.
TEST_F(WavefrontFiles, RefusedFileSaysWhereAndChangesNothing)
{
    const struct {
        UINT command;
        const char *caption, *text, *reason;
    } rows[] = {
        {IDM_LOAD_ZERNIKES, "Zernike Coefficients",
         "# ordering=noll normalisation=rms unit=waves\n4,0.1\n5;0.2\n",
         ": line 3: needs index,value, not '5;0.2'"},
        {IDM_LOAD_PHASE_MAP, "Phase Map", "1 2\n3\n", ": line 2: 1 values, the first row has 2"},
    };
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        const std::vector<int> flags(HasZern, HasZern + 38);
        for (const auto &row : rows) {
            SCOPED_TRACE(row.text);
            testing_clear_records();
            const std::string path = pick_file(dir, "bad.csv", row.text);
            testing_choose_menu_item(mainhwnd, row.command);
            ASSERT_EQ(testing_message_boxes().size(), 1u);
            const TestMessageBox &box = testing_message_boxes()[0];
            EXPECT_EQ(std::tuple(box.text, box.caption, box.type),
                      std::tuple(path + row.reason, row.caption, UINT(MB_ICONEXCLAMATION | MB_OK)));
            EXPECT_EQ(std::vector<int>(HasZern, HasZern + 38), flags);
            EXPECT_EQ(std::tuple(HasPhaseMap, phase_map_path(), HaveCurrentPSF),
                      std::tuple(0, "", 1));
        }
    });
}

// A map loaded from the File menu makes the PSF stale; the dialog shows its file, and its
// flag, offered only with a map, is off after a click (nothing without a map) and OK.
TEST_F(WavefrontFiles, PhaseMapDialogShowsTheFileAndStoresTheFlag)
{
    run_program([&] {
        for (const bool loaded : {false, true}) {
            SCOPED_TRACE(loaded);
            testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
            // A path too long for the field keeps its file name in sight.
            const char *name = "a-measured-wavefront-with-a-long-name.txt";
            pick_file(dir, name, "0 1\n2 3\n");
            if (loaded) testing_choose_menu_item(mainhwnd, IDM_LOAD_PHASE_MAP);
            EXPECT_EQ(HaveCurrentPSF, loaded ? 0 : 1);
            testing_dialog_script([&](HWND dlg) {
                EXPECT_EQ(testing_dialog_text(dlg, 801),
                          loaded ? std::string(".../") + name : "No phase map loaded");
                EXPECT_EQ(testing_dialog_text(dlg, 802).size(), loaded ? 16u : 0u);
                EXPECT_EQ(testing_dialog_checked(dlg, 803), loaded);
                testing_dialog_click(dlg, 803);
                testing_dialog_click(dlg, IDOK);
            });
            testing_choose_menu_item(mainhwnd, IDM_PHASE_MAP);
            EXPECT_EQ(HasPhaseMap, 0);
        }
    });
}

// A pupil of Fringe Z4 = 0.25 and Z7 = -0.1 waves peak, nothing else.
void set_known_pupil()
{
    HasComa = 0;
    std::fill(HasZern, HasZern + 38, 0);
    Zern[4] = 0.25f;
    Zern[7] = -0.1f;
    HasZern[4] = HasZern[7] = 1;
    pillbox_input();
}

// Opens the fit box from the context menu of a view with script as the user.
void fit_box_from(UINT command, std::function<void(HWND)> script)
{
    testing_choose_menu_item(mainhwnd, command);
    testing_answer_popup_menus({IDM_ZERNIKE_FIT});
    testing_dialog_script(std::move(script));
    SendMessageA(*ViewForCommand(command)->handle, WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
}

// Row k - 1 of the table holds index k of Fringe or Noll. Z4 is (2, 0): rms 0.25 / sqrt(3);
// Z7 is (3, 1), Noll 8: rms -0.1 / sqrt(8).
TEST(ZernikeFitBox, FitListsEachTermWithItsOrdersInColumnsThatFit)
{
    const struct {
        int ordering, normalisation, index, n, m;
        double value;
    } rows[] = {
        {FIT_FRINGE, FIT_PEAK, 4, 2, 0, 0.25},
        {FIT_FRINGE, FIT_PEAK, 7, 3, 1, -0.1},
        {FIT_NOLL, FIT_RMS, 4, 2, 0, 0.144337567},
        {FIT_NOLL, FIT_RMS, 8, 3, 1, -0.0353553391},
    };
    run_program([&] {
        set_known_pupil();
        fit_box_from(IDM_TABLE_PHASE, [&](HWND dlg) {
            for (const auto &row : rows) {
                SCOPED_TRACE(row.index);
                testing_dialog_click(dlg, row.ordering);
                testing_dialog_click(dlg, row.normalisation);
                testing_dialog_key(dlg, VK_RETURN);
                char text[80] = "";
                SendDlgItemMessageA(dlg, FIT_TABLE, LB_GETTEXT, row.index - 1, LPARAM(text));
                int index = 0, n = -1, m = -1;
                double value = NAN;
                std::sscanf(text, "%d %d %d %lf", &index, &n, &m, &value);
                EXPECT_EQ(std::tuple(index, n, m), std::tuple(row.index, row.n, row.m));
                EXPECT_NEAR(value, row.value, 1e-4);
            }
            EXPECT_EQ(SendDlgItemMessageA(dlg, FIT_TABLE, LB_GETCOUNT, 0, 0), 37);
            EXPECT_EQ(testing_dialog_layout_problems(dlg), std::vector<std::string>{});
        });
        EXPECT_TRUE(testing_message_boxes().empty());
    });
}

// The fit goes on the clipboard as a coefficient file of its convention.
TEST(ZernikeFitBox, CopyPutsTheFitAsACoefficientFile)
{
    run_program([&] {
        fit_box_from(IDM_PLOT_PHASE_IMAGE, [&](HWND dlg) {
            testing_dialog_click(dlg, IDOK);
            testing_dialog_click(dlg, FIT_COPY);
        });
        const char *text = static_cast<const char *>(GlobalLock(GetClipboardData(CF_TEXT)));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text).rfind("# ordering=fringe normalisation=peak unit=waves\n", 0),
                  0u);
    });
}

// A count of terms the ordering does not have is refused in the dialogs' own words.
TEST(ZernikeFitBox, TermCountOutsideTheOrderingIsRefused)
{
    const struct {
        int ordering;
        const char *count, *message;
    } rows[] = {
        {FIT_FRINGE, "38", "Terms must be at most 37, not 38."},
        {FIT_NOLL, "232", "Terms must be at most 231, not 232."},
        {FIT_NOLL, "0", "Terms must be at least 1, not 0."},
        {FIT_ANSI, "2.5", "Terms must be a whole number, not 2.5."},
    };
    run_program([&] {
        fit_box_from(IDM_TABLE_PHASE, [&](HWND dlg) {
            for (const auto &row : rows) {
                testing_dialog_click(dlg, row.ordering);
                testing_dialog_type(dlg, FIT_TERMS, row.count);
                testing_dialog_click(dlg, IDOK);
            }
        });
        std::vector<std::string> expected;
        for (const auto &row : rows) expected.push_back(row.message);
        EXPECT_EQ(message_texts(), expected);
    });
}

// After a fit, one the pupil cannot give (an obscuration wider than the pupil leaves no light)
// says why and empties the table.
TEST(ZernikeFitBox, RefusedFitSaysWhyAndEmptiesTheTable)
{
    run_program([&] {
        fit_box_from(IDM_TABLE_PHASE, [&](HWND dlg) {
            testing_dialog_click(dlg, IDOK);
            nCurrentObscuration = 1;
            LinearObscuration = 1.5f;
            pillbox_input();
            testing_dialog_click(dlg, IDOK);
            EXPECT_EQ(SendDlgItemMessageA(dlg, FIT_TABLE, LB_GETCOUNT, 0, 0), 0);
        });
        EXPECT_EQ(message_texts(), std::vector<std::string>{
                                       "0 samples carry light, fewer than the 37 terms to fit"});
    });
}

}  // namespace
