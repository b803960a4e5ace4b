// Wavefronts from outside through the window: coefficient files from the File menu, the
// Zernike fit box of the pupil phase views.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

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
            testing_clear_records();
            pick_file(dir, "terms.csv", row.text);
            EXPECT_TRUE(testing_choose_menu_item(mainhwnd, IDM_LOAD_ZERNIKES));
            EXPECT_NEAR(Zern[row.term], row.peak, 1e-7);
            EXPECT_EQ(std::count(HasZern + 1, HasZern + 38, 1), 1);
            EXPECT_EQ(std::pair(HasZern[row.term], HaveCurrentPSF), std::pair(1, 0));
            EXPECT_EQ(message_texts(), std::vector<std::string>{});
        }
    });
}

// A refused file names itself and the line, and leaves the terms and the PSF as they were.
TEST_F(WavefrontFiles, RefusedCoefficientFileSaysWhereAndChangesNothing)
{
    const struct {
        const char *text, *reason;
    } rows[] = {
        {"# ordering=noll normalisation=rms unit=waves\n4,0.1\n5;0.2\n",
         ": line 3: needs index,value, not '5;0.2'"},
        {"# ordering=fringe normalisation=peak unit=waves\n38,0.1\n",
         ": line 2: the fringe ordering has no index 38"},
    };
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        const std::vector<int> flags(HasZern, HasZern + 38);
        for (const auto &row : rows) {
            SCOPED_TRACE(row.text);
            testing_clear_records();
            const std::string path = pick_file(dir, "bad.csv", row.text);
            testing_choose_menu_item(mainhwnd, IDM_LOAD_ZERNIKES);
            ASSERT_EQ(testing_message_boxes().size(), 1u);
            const TestMessageBox &box = testing_message_boxes()[0];
            EXPECT_EQ(std::tuple(box.text, box.caption, box.type),
                      std::tuple(path + row.reason, "Zernike Coefficients",
                                 UINT(MB_ICONEXCLAMATION | MB_OK)));
            EXPECT_EQ(std::vector<int>(HasZern, HasZern + 38), flags);
            EXPECT_EQ(HaveCurrentPSF, 1);
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

// The rows of the box's table.
std::vector<std::string> table_rows(HWND dlg)
{
    std::vector<std::string> rows;
    const int count = int(SendDlgItemMessageA(dlg, FIT_TABLE, LB_GETCOUNT, 0, 0));
    for (int k = 0; k < count; k++) {
        std::string row(SendDlgItemMessageA(dlg, FIT_TABLE, LB_GETTEXTLEN, k, 0), '\0');
        SendDlgItemMessageA(dlg, FIT_TABLE, LB_GETTEXT, k, reinterpret_cast<LPARAM>(row.data()));
        rows.push_back(row);
    }
    return rows;
}

// Row k - 1 of the table holds index k of Fringe or Noll. Z4 is (2, 0): rms 0.25 / sqrt(3);
// Z7 is (3, 1), Noll 8: rms -0.1 / sqrt(8).
TEST(ZernikeFitBox, FitListsEachTermWithItsOrdersInColumnsThatFit)
{
    const struct {
        int ordering, normalisation, index, n, m;
        double value;
    } rows[] = {
        {FIT_FRINGE, FIT_PEAK, 4, 2, 0, 0.25},       {FIT_FRINGE, FIT_PEAK, 7, 3, 1, -0.1},
        {FIT_FRINGE, FIT_PEAK, 1, 0, 0, 0.0},        {FIT_NOLL, FIT_RMS, 4, 2, 0, 0.144337567},
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
                const std::vector<std::string> table = table_rows(dlg);
                ASSERT_EQ(table.size(), 37u);
                int index = 0, n = -1, m = -1;
                double value = NAN;
                std::sscanf(table[row.index - 1].c_str(), "%d %d %d %lf", &index, &n, &m, &value);
                EXPECT_EQ(std::tuple(index, n, m), std::tuple(row.index, row.n, row.m));
                EXPECT_NEAR(value, row.value, 1e-4);
                EXPECT_EQ(testing_dialog_text(dlg, FIT_RESIDUAL_RMS).rfind("RMS: 0.0000", 0), 0u);
            }
            EXPECT_EQ(testing_dialog_layout_problems(dlg), std::vector<std::string>{});
        });
        EXPECT_TRUE(testing_message_boxes().empty());
    });
}

// The fit goes on the clipboard as a coefficient file of the convention chosen.
TEST(ZernikeFitBox, CopyPutsTheFitAsACoefficientFile)
{
    run_program([&] {
        set_known_pupil();
        fit_box_from(IDM_PLOT_PHASE_IMAGE, [&](HWND dlg) {
            testing_dialog_click(dlg, FIT_ANSI);
            testing_dialog_click(dlg, FIT_RMS);
            testing_dialog_click(dlg, IDOK);
            testing_dialog_click(dlg, FIT_COPY);
        });
        HANDLE block = GetClipboardData(CF_TEXT);
        const char *text = static_cast<const char *>(GlobalLock(block));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(std::string(text).substr(0, std::string(text).find('\n')),
                  "# ordering=ansi normalisation=rms unit=waves");
        GlobalUnlock(block);
    });
}

// After a fit, a refused one empties the table: the count out of the ordering's range, or a
// dark pupil (an obscuration wider than the pupil) with no samples to fit.
TEST(ZernikeFitBox, RefusedFitSaysWhyAndEmptiesTheTable)
{
    const struct {
        const char *terms;
        bool dark;
        const char *message;
    } rows[] = {
        {"38", false, "Terms must be at most 37, not 38."},
        {"0", false, "Terms must be at least 1, not 0."},
        {"37", true, "0 samples carry light, fewer than the 37 terms to fit"},
    };
    run_program([&] {
        for (const auto &row : rows) {
            SCOPED_TRACE(row.message);
            testing_clear_records();
            fit_box_from(IDM_TABLE_PHASE, [&](HWND dlg) {
                testing_dialog_click(dlg, IDOK);
                nCurrentObscuration = row.dark ? 1 : 0;
                LinearObscuration = 1.5f;
                pillbox_input();
                testing_dialog_type(dlg, FIT_TERMS, row.terms);
                testing_dialog_click(dlg, IDOK);
                EXPECT_EQ(table_rows(dlg), std::vector<std::string>{});
            });
            EXPECT_EQ(message_texts(), std::vector<std::string>{row.message});
        }
    });
}

}  // namespace
