// What every dialog shares, one row per dialog: opening from its menu command, accepting it
// unchanged, and refusing a bad value.
#include <cstdint>
#include <cstdio>

#include "tests/shell/dialog_test_harness.h"

using namespace dialog_tests;

namespace {

// Width and height from a PNG file's header (big-endian at bytes 16 and 20), or {0, 0}.
std::pair<int, int> png_size(const std::string &path)
{
    const std::string h = slurp(path);
    if (h.size() < 24) return {0, 0};
    auto be32 = [&](int at) {
        return int(std::uint8_t(h[at])) << 24 | std::uint8_t(h[at + 1]) << 16 | std::uint8_t(h[at + 2]) << 8 |
               std::uint8_t(h[at + 3]);
    };
    return {be32(16), be32(20)};
}

double m_output_sum()
{
    double sum = 0;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) sum += m_output[i][j];
    return sum;
}

}  // namespace

using AllDialogs = TempFolderTest;

// The pictures go to $ORVINTA_DIALOG_PICTURES when set (to look at them), else to a folder of
// the test's own that goes with it.
TEST_F(AllDialogs, EachOpensFromItsCommandWithItsTemplateCaptionTidyLayoutAndWholePicture)
{
    const char *pictures = std::getenv("ORVINTA_DIALOG_PICTURES");
    const std::string folder = pictures && *pictures ? pictures : dir;
    const struct { UINT command; const char *templateName, *caption; } rows[] = {
        {102, "SystemBox", "Optics Specifications"}, {103, "PupilBox", "Pupil Specifications"},
        {97, "ObscurationBox", "Obscuration of Pupil Transmission"},
        {98, "ApodBox", "Apodization of Pupil Transmission "},
        {92, "ThirdOrderInputDiaBox", "Third Order Aberrations"}, {91, "ZernInputDiaBox", "Zernike Coefficients"},
        {94, "PhasePatternBox", "Discontinuous Phase Pattern"}, {93, "PhasePlate", "Subaperture Phase Plate"},
        {96, "AnalyOptDlg", "Analysis Options"}, {95, "DataSavingOptions", "Data Saving Options"},
        {90, "AboutBox", ""},
    };
    run_program([&] {
        for (const auto &row : rows) {
            const std::string path = folder + "/orvinta-dialog-" + row.templateName + ".png";
            std::remove(path.c_str());
            RECT client{};
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                char text[100];
                GetWindowTextA(dlg, text, sizeof text);
                EXPECT_STREQ(text, row.caption) << row.templateName;
                EXPECT_EQ(testing_dialog_layout_problems(dlg), std::vector<std::string>{}) << row.templateName;
                client = testing_dialog_screen_rect(dlg);
                EXPECT_TRUE(testing_dialog_grab(dlg, path.c_str())) << path;
            })) << row.templateName;
            EXPECT_EQ(testing_dialogs_opened().back(), row.templateName);
            const auto [width, height] = png_size(path);
            EXPECT_EQ(width, client.right - client.left) << path;
            EXPECT_EQ(height, client.bottom - client.top) << path;
            EXPECT_GT(width, 200) << path;
        }
    });
}

TEST_F(AllDialogs, FieldsAndMarksOpenFromTheStartUpSettings)
{
    // 500 nm, F/5.6, round 10 mm pupil, obscuration 0.1, break 0.75, supergaussian exponents
    // 1.5, field of view in X, radius 20, 4 decades, zoom on, centroid analysis off, coma -0.4,
    // no pattern (WFE 0.25, period 5), no plate (0.5 waves, edge 0), PSF modulus saved.
    const struct {
        UINT command;
        std::vector<std::pair<int, const char *>> fields;
        std::vector<int> checked, clear;
    } rows[] = {
        {102, {{116, "  500.000"}, {117, "    5.600"}}, {118}, {119}},
        {103, {{139, "  1.000"}, {132, " 10.00"}}, {135, 137}, {133, 134, 138}},
        {97, {{141, "0.1000"}}, {}, {140, 143}},
        {98, {{151, "  0.7500"}, {152, "  1.5000"}, {153, "  1.5000"}, {154, "  1.5000"}}, {158}, {159, 160, 161}},
        {96, {{173, "20"}, {179, "4"}}, {170, 176, 181, 180}, {171, 172, 177, 182, 183}},
        {92, {{105, "    0.000"}, {106, "   -0.400"}, {107, "    0.000"}, {108, "    0.000"}}, {102}, {101, 103, 104}},
        {94, {{505, " 0.2500"}, {504, "5"}}, {500}, {501, 502, 503}}, {93, {{522, "0.50000"}, {524, "0"}}, {}, {520}},
        {95, {{543, "   On the next File Save operation,"}}, {542}, {540, 541}},
    };
    run_program([&] {
        for (const auto &row : rows)
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                for (const auto &[id, shown] : row.fields)
                    EXPECT_EQ(testing_dialog_text(dlg, id), shown) << row.command << ": field " << id;
                for (int id : row.checked) EXPECT_TRUE(testing_dialog_checked(dlg, id)) << row.command << ": " << id;
                for (int id : row.clear) EXPECT_FALSE(testing_dialog_checked(dlg, id)) << row.command << ": " << id;
            })) << row.command;
    });
}

// An accepted setup dialog rebuilds the pupil (R: the wavefront cursor shows), restores
// "&Create PSF" (M), closes the views (V) and ends (E), each in its own order; what had happened
// when EndDialog came tells where E stands. Data Saving Options and About do none of it.
TEST_F(AllDialogs, AcceptedUnchangedEachKeepsTheSettingsAndEndsAtItsPlaceInTheCommitSequence)
{
    const struct {
        UINT command;
        bool enter;  // accepted with Enter, else by clicking OK
        const char *order;
        bool rebuiltBeforeEnd, menuBeforeEnd, viewsClosedBeforeEnd, rebuilds;
    } rows[] = {
        {102, false, "R M V E", true, true, true, true},    {103, false, "R M V E", true, true, true, true},
        {97, false, "R M V E", true, true, true, true},     {98, false, "R M V E", true, true, true, true},
        {92, true, "E R M V", false, false, false, true},   {91, true, "E R M V", false, false, false, true},
        {94, true, "R E M V", true, false, false, true},    {93, true, "R M V E", true, true, true, true},
        {96, true, "R M V E", true, true, true, true},      {95, true, "none", false, false, false, false},
        {90, true, "none", false, false, false, false},
    };
    run_program([&] {
        for (const auto &row : rows) {
            make_psf_and_open_views();
            ASSERT_EQ(testing_menu_item(mainhwnd, IDM_CREATE_PSF).text, "FFT Done");
            const SettingsSnapshot before = settings_now();
            bool ended = false, rebuilt = false, menu = false, closed = false;
            testing_dialog_on_end([&](HWND) {
                ended = true;
                for (const std::string &cursor : testing_cursors()) rebuilt = rebuilt || cursor == "WavefrontCursor";
                menu = testing_menu_item(mainhwnd, IDM_CREATE_PSF).text == "&Create PSF";
                closed = testing_child_windows(mainhwnd).empty();
            });
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                if (row.enter) testing_dialog_key(dlg, VK_RETURN);
                else testing_dialog_click(dlg, IDOK);
                EXPECT_FALSE(testing_dialog_open(dlg)) << row.command;
            })) << row.command;
            testing_dialog_on_end(nullptr);
            EXPECT_TRUE(ended) << row.command;
            EXPECT_EQ(rebuilt, row.rebuiltBeforeEnd) << row.command << " " << row.order;
            EXPECT_EQ(menu, row.menuBeforeEnd) << row.command << " " << row.order;
            EXPECT_EQ(closed, row.viewsClosedBeforeEnd) << row.command << " " << row.order;
            // And in the end all four have happened, or none.
            bool rebuiltAtAll = false;
            for (const std::string &cursor : testing_cursors()) rebuiltAtAll = rebuiltAtAll || cursor == "WavefrontCursor";
            EXPECT_EQ(rebuiltAtAll, row.rebuilds) << row.command;
            const TestMenuItem item = testing_menu_item(mainhwnd, IDM_CREATE_PSF);
            EXPECT_EQ(item.text, row.rebuilds ? "&Create PSF" : "FFT Done") << row.command;
            EXPECT_EQ(item.grayed, !row.rebuilds) << row.command;
            EXPECT_EQ(HaveCurrentPSF, row.rebuilds ? 0 : 1) << row.command;
            EXPECT_EQ(testing_child_windows(mainhwnd).size(), row.rebuilds ? 0u : 3u) << row.command;
            if (row.rebuilds) {
                EXPECT_EQ(m_output_sum(), 0.0) << row.command << ": the old PSF is cleared";
            }
            EXPECT_TRUE(settings_now() == before) << row.command << ": unchanged fields change nothing";
            EXPECT_TRUE(testing_message_boxes().empty()) << row.command;
        }
    });
}

TEST_F(AllDialogs, RefusedValuesChangeNothingAndKeepTheDialogOpenWithTheUsersText)
{
    const struct {
        UINT command;
        int field;
        const char *typed;
        const char *message;
        int pendingClick;  // a choice made before the refused value, dropped with it
    } rows[] = {
        {102, 116, "0", "Wavelength (nm) must be above 0, not 0.", 119},
        {102, 116, "abc", "Wavelength (nm) must be a number.", 119},
        {102, 117, "-5.6", "F-number must be above 0, not -5.6.", 119},
        {102, 117, "", "F-number must be a number.", 119},
        {103, 139, "0", "Aspect ratio (y/x) must be above 0, not 0.", 134},
        {103, 132, "-1", "Pupil X-extent must be above 0, not -1.", 134},
        {103, 132, "1e-60", "Pupil X-extent must be at least 1e-06, not 1e-60.", 134},  // 0 once held as a float
        {97, 141, "-0.1", "Linear obscuration ratio must be at least 0, not -0.1.", 140},
        {98, 151, "1", "Triangular break (pupil fraction) must be below 1, not 1.", 159},
        {98, 151, "-0.2", "Triangular break (pupil fraction) must be at least 0, not -0.2.", 159},
        {98, 152, "x", "Circular supergaussian exponent must be a number.", 159},
        {98, 154, "1e39", "Y supergaussian exponent must be at most 3.402823466e+38, not 1e39.", 159},
        {94, 504, "0", "Pattern period (steps) must be at least 1, not 0.", 501},
        {94, 504, "0.9", "Pattern period (steps) must be at least 1, not 0.9.", 501},  // truncates to 0
        {94, 504, "-3", "Pattern period (steps) must be at least 1, not -3.", 501},
        {94, 505, "waves", "Pattern WFE (waves) must be a number.", 501},
        {93, 524, "", "Phase plate edge (steps) must be a number.", 520},
        {93, 522, "1e40", "Phase plate waves must be at most 1000000, not 1e40.", 520},
        {92, 106, "-", "Coma must be a number.", 101},
        {91, 405, "?", "Zernike coefficient Z05 must be a number.", 455},
        {96, 179, "0", "Decades must be at least 1, not 0.", 182},
        {96, 179, "-2", "Decades must be at least 1, not -2.", 182},
        {96, 179, "many", "Decades must be a number.", 180},
        {96, 173, "0", "Pupil radius (steps) must be at least 1, not 0.", 182},
        {96, 173, "", "Pupil radius (steps) must be a number.", 180},
        {96, 173, ".5", "Pupil radius (steps) must be at least 1, not .5.", 182},
    };
    run_program([&] {
        make_psf_and_open_views();
        for (const auto &row : rows) {
            testing_clear_records();
            const SettingsSnapshot before = settings_now();
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                testing_dialog_click(dlg, row.pendingClick);
                testing_dialog_type(dlg, row.field, row.typed);
                testing_dialog_key(dlg, VK_RETURN);
                EXPECT_TRUE(testing_dialog_open(dlg)) << row.typed;
                EXPECT_EQ(testing_dialog_text(dlg, row.field), row.typed);
                EXPECT_EQ(testing_dialog_focus(dlg), row.field) << row.typed;
                testing_dialog_key(dlg, VK_ESCAPE);
            })) << row.command << " " << row.typed;
            ASSERT_EQ(testing_message_boxes().size(), 1u) << row.typed;
            const TestMessageBox &box = testing_message_boxes()[0];
            EXPECT_EQ(box.text, row.message);
            EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK)) << row.typed;
            EXPECT_TRUE(settings_now() == before) << row.command << " " << row.typed;
            EXPECT_EQ(HaveCurrentPSF, 1) << row.typed;
            EXPECT_EQ(testing_child_windows(mainhwnd).size(), 3u) << row.typed;
        }
    });
}
