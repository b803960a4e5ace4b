// The dialogs driven through their menu commands (scripts play the user): every dialog's template,
// fields, commit order and refusals; what typed values and clicks store; the gcvt text.
#include <algorithm>
#include <tuple>

#include "dialogs/dialog_procs.h"
#include "optics/number_text.h"
#include "optics/settings_rules.h"
#include "tests/shell/program_harness.h"

namespace {

using namespace std::string_literals;

// Opens a dialog through its menu command with script as the user; false when no dialog opened.
bool open_dialog(UINT command, std::function<void(HWND)> script)
{
    const std::size_t before = testing_dialogs_opened().size();
    testing_dialog_script(std::move(script));
    if (!testing_choose_menu_item(mainhwnd, command)) return false;
    return testing_dialogs_opened().size() == before + 1 && testing_dialog_scripts_left() == 0;
}

// Every setting a dialog can change, with those derived from them, to tell "nothing changed"
// from "something did".
auto settings_now()
{
    return std::pair(setting_values(), std::vector<double>{EFL, pupildiamm, ncenter, double(izoom),
                                                           double(NumPixels)});
}

// A PSF computed and three views open: what an accepted dialog must undo.
void make_psf_and_open_views()
{
    testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
    for (UINT view : {55u, 56u, 63u}) testing_choose_menu_item(mainhwnd, view);
    testing_clear_records();
}

using AllDialogs = TempFolderTest;

struct DialogRow {
    UINT command;
    const char *templateName;
    std::vector<int> marks;  // checked, or clear when negative
    bool enter;              // accepted with Enter, else OK is clicked
    const char *order;       // see AcceptedUnchangedDialogCommitsInItsOwnOrder
};

// Each dialog with the marks of the start-up settings: field of view in X, round pupil in
// millimetres, no obscuration or struts, no apodization, coma alone, no pattern, no plate,
// microns, linear, zoom on, 3 by 3 pixels, no centroid analysis, PSF modulus saved, no phase
// map added.
const DialogRow kDialogs[] = {
    {102, "SystemBox", {118, -119}, false, "RMVE"},
    {103, "PupilBox", {135, 137, -133, -134, -138}, false, "RMVE"},
    {97, "ObscurationBox", {-140, -143}, false, "RMVE"},
    {98, "ApodBox", {158, -159, -160, -161}, false, "RMVE"},
    {92, "ThirdOrderInputDiaBox", {102, -101, -103, -104}, true, "ERMV"},
    {91, "ZernInputDiaBox", {}, true, "ERMV"},
    {94, "PhasePatternBox", {500, -501, -502, -503}, true, "REMV"},
    {93, "PhasePlate", {-520}, true, "RMVE"},
    {96, "AnalyOptDlg", {170, 176, 181, 180, -171, -172, -177, -182, -183}, true, "RMVE"},
    {95, "DataSavingOptions", {542, -540, -541}, true, "E"},
    {104, "SpectrumJitterBox", {}, false, "RMVE"},
    {105, "PhaseMapBox", {-803}, true, "RMVE"},
    {90, "AboutBox", {}, true, "E"},
};

// Laid out without a problem a user would see.
TEST_F(AllDialogs, EachOpensFromItsCommandTidilyWithTheStartUpChoicesMarked)
{
    run_program([&] {
        for (const DialogRow &row : kDialogs) {
            SCOPED_TRACE(row.templateName);
            EXPECT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                for (int id : row.marks)
                    EXPECT_EQ(testing_dialog_checked(dlg, std::abs(id)), id > 0) << id;
                EXPECT_EQ(testing_dialog_layout_problems(dlg), std::vector<std::string>{});
            }));
            EXPECT_EQ(testing_dialogs_opened().back(), row.templateName);
        }
    });
}

bool pupil_rebuilt() { return std::ranges::count(testing_cursors(), "WavefrontCursor"s) > 0; }

// An accepted setup dialog rebuilds the pupil (R: the wavefront cursor shows), restores
// "&Create PSF" (M), closes the views (V) and ends (E), each dialog in its own order; what had
// happened when it ended tells where E stands. In the end all four have happened, the old PSF
// cleared; Data Saving Options and About do none of it. The fields show the settings in formats
// that read back as the same values: no setting changes.
TEST_F(AllDialogs, AcceptedUnchangedDialogCommitsInItsOwnOrder)
{
    run_program([&] {
        for (const DialogRow &row : kDialogs) {
            SCOPED_TRACE(row.templateName);
            std::string seen;
            testing_dialog_on_end([&](HWND) {
                const bool menu = testing_menu_item(mainhwnd, IDM_CREATE_PSF).text == "&Create PSF";
                const bool views = testing_child_windows(mainhwnd).empty();
                seen = std::string(pupil_rebuilt() ? "R" : "") + (menu ? "M" : "") +
                       (views ? "V" : "") + "E";
            });
            make_psf_and_open_views();
            const auto before = settings_now();
            EXPECT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                if (row.enter)
                    testing_dialog_key(dlg, VK_RETURN);
                else
                    testing_dialog_click(dlg, IDOK);
                EXPECT_FALSE(testing_dialog_open(dlg));
            }));
            testing_dialog_on_end(nullptr);
            const std::string order = row.order;
            EXPECT_EQ(seen, order.substr(0, order.find('E') + 1));
            const bool done = order.size() > 1;
            const TestMenuItem item = testing_menu_item(mainhwnd, IDM_CREATE_PSF);
            EXPECT_EQ(std::tuple(pupil_rebuilt(), item.text, item.grayed, HaveCurrentPSF),
                      std::tuple(done, done ? "&Create PSF" : "FFT Done", !done, !done));
            EXPECT_EQ(testing_child_windows(mainhwnd).size(), done ? 0u : 3u);
            double sum = 0;
            for (int i = 1; i <= GRID; i++)
                for (int j = 1; j <= GRID; j++) sum += m_output[i][j];
            EXPECT_EQ(sum == 0.0, done) << "the old PSF is cleared";
            EXPECT_TRUE(settings_now() == before);
            EXPECT_EQ(message_texts(), std::vector<std::string>{});
        }
    });
}

// One row per dialog, in the field's own wording; a click made before is dropped with the value.
TEST_F(AllDialogs, RefusedValueGivesItsMessageLeavingEverythingAsItWas)
{
    const struct {
        UINT command;
        int field;
        const char *typed, *message;
        int pendingClick;
    } rows[] = {
        {102, 116, "0", "Wavelength (nm) must be above 0, not 0.", 119},
        {103, 132, "1e-60", "Pupil X-extent must be at least 1e-06, not 1e-60.",
         134},  // 0 once held as a float
        {97, 141, "-0.1", "Linear obscuration ratio must be at least 0, not -0.1.", 140},
        {98, 154, "1e39", "Y supergaussian exponent must be at most 3.402823466e+38, not 1e39.",
         159},
        {94, 504, "0.9", "Pattern period (steps) must be at least 1, not 0.9.",
         501},  // truncates to 0
        {93, 524, "", "Phase plate edge (steps) must be a number.", 520},
        {92, 106, "-", "Coma must be a number.", 101},
        {91, 405, "?", "Zernike coefficient Z05 must be a number.", 455},
        {96, 179, "39", "Decades must be at most 38, not 39.", 182},
        {104, 602, "65", "Wavelengths must be at most 64, not 65.", 601},
        {105, 804, "2e6", "Phase map scale must be at most 1000000, not 2e6.", 803},
    };
    run_program([&] {
        make_psf_and_open_views();
        for (const auto &row : rows) {
            SCOPED_TRACE(std::to_string(row.field) + " '" + row.typed + "'");
            testing_clear_records();
            const auto before = settings_now();
            EXPECT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                testing_dialog_click(dlg, row.pendingClick);
                testing_dialog_type(dlg, row.field, row.typed);
                testing_dialog_key(dlg, VK_RETURN);
                EXPECT_EQ(std::tuple(testing_dialog_open(dlg), testing_dialog_text(dlg, row.field),
                                     testing_dialog_focus(dlg)),
                          std::tuple(true, row.typed, row.field));
                testing_dialog_key(dlg, VK_ESCAPE);
            }));
            ASSERT_EQ(message_texts(), std::vector<std::string>{row.message});
            EXPECT_EQ(testing_message_boxes()[0].type, UINT(MB_ICONEXCLAMATION | MB_OK));
            EXPECT_TRUE(settings_now() == before);
            EXPECT_EQ(std::pair(HaveCurrentPSF, testing_child_windows(mainhwnd).size()),
                      std::pair(1, std::size_t(3)));
        }
    });
}

// One field of each dialog: typed, accepted, the setting read, the dialog reopened to see the
// field's format; whole numbers truncate.
TEST(SetupDialogs, TypedValueRoundTripsThroughItsFieldsFormat)
{
    const struct {
        UINT command;
        int id;
        const char *typed;
        double (*setting)(), stored;
        const char *text;
    } rows[] = {
        {102, 116, " 550nm", [] { return double(wavelength); }, 550.0, "  550.000"},  // leading
        {103, 132, "25.126", [] { return double(pupildia); }, 25.126f, " 25.13"},
        {97, 141, "1.5", [] { return double(LinearObscuration); }, 1.5, "1.5000"},  // a dark pupil
        {98, 153, "-3.25", [] { return double(x_sgxp); }, -3.25, " -3.2500"},
        {93, 524, "3.7", [] { return double(PhasePlateSteps); }, 3, "3"},
        {94, 505, "0.5", [] { return double(PhasePatternWFE); }, 0.5, " 0.5000"},
        {92, 108, "-1", [] { return double(defocus); }, -1.0, "   -1.000"},
        {91, 437, "-1.234567e-3", [] { return double(Zern[37]); }, -1.234567e-3f,
         "-0.0012346"},                                                // 5 digits
        {96, 179, "4.5", [] { return double(nPSFdecades); }, 4, "4"},  // cut at the first non-digit
        {104, 603, "0.1234567", [] { return double(jitter_x); }, 0.1234567, "0.123457"},
        {105, 804, "-2.5", [] { return double(phasemapscale); }, -2.5, "-2.5"},
    };
    run_program([&] {
        for (const auto &row : rows) {
            SCOPED_TRACE(row.typed);
            EXPECT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                testing_dialog_type(dlg, row.id, row.typed);
                testing_dialog_click(dlg, IDOK);
            }));
            EXPECT_EQ(row.setting(), static_cast<float>(row.stored));
            ASSERT_TRUE(open_dialog(
                row.command, [&](HWND d) { EXPECT_EQ(testing_dialog_text(d, row.id), row.text); }));
        }
        EXPECT_TRUE(testing_message_boxes().empty());
    });
}

TEST(SetupDialogs, TypedValuesUpdateTheSettingsDerivedFromThem)
{
    run_program([&] {
        EXPECT_TRUE(open_dialog(102, [](HWND dlg) {
            testing_dialog_type(dlg, 117, "8");
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_NEAR(EFL, 80.0, 1e-4);  // 10 mm at F/8
        EXPECT_TRUE(open_dialog(103, [](HWND dlg) {
            testing_dialog_click(dlg, 133);
            testing_dialog_type(dlg, 132, "1");
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_NEAR(pupildiamm, 25.4, 1e-5);  // one inch
        EXPECT_NEAR(EFL, 203.2, 1e-3);        // 25.4 mm at F/8
        EXPECT_TRUE(open_dialog(96, [](HWND dlg) {
            testing_dialog_type(dlg, 173, "33");
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_EQ(ncenter, 32.5f);  // the centre half a sample inside the radius
    });
}

// Clicks are pending until OK: each row clicks its boxes and cancels, then clicks again and
// accepts.
TEST(SetupDialogs, ClickedChoiceIsStoredOnOKOnly)
{
    const struct {
        const char *name;
        UINT command;
        std::vector<int> ids;
        int *setting, before, after;
    } rows[] = {
        {"field of view", 102, {119}, &nCurrentFOV, FOV_X, FOV_Y},
        {"shape", 103, {134, 138}, &nCurrentPupilShape, SHAPE_ROUND, SHAPE_RECTANGLE},
        {"obscuration", 97, {140, 143, 143}, &nCurrentObscuration, 0, 1},
        {"apodization", 98, {159, 161, 159}, &nCurrentApod, APOD_NONE, APOD_TRIANGULAR},
        {"pixel array", 96, {182}, &NumPixels, 3, 4},
        {"pattern", 94, {502}, &nCurrentPhasePattern, PATTERN_NONE, PATTERN_WAFFLE},
        {"plate", 93, {520}, &nHasPhasePlate, 0, 1},
        {"coma", 92, {102}, &HasComa, 1, 0},
        {"Z26", 91, {476}, &HasZern[26], 1, 0},
        {"izoom", 96, {180}, &izoom, 2, 1},
        {"centroid analysis", 96, {183}, &nDoCentroidError, 0, 1},
        {"data saving", 95, {540}, &nCurrentDataSave, SAVE_PSF, SAVE_TRANSMISSION},
    };
    run_program([&] {
        for (const auto &row : rows) {
            SCOPED_TRACE(row.name);
            for (bool ok : {false, true}) {
                EXPECT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                    for (int id : row.ids) testing_dialog_click(dlg, id);
                    testing_dialog_click(dlg, ok ? IDOK : IDCANCEL);
                }));
                EXPECT_EQ(*row.setting, ok ? row.after : row.before) << (ok ? "OK" : "Cancel");
            }
            reset_settings();
        }
    });
}

// One control group holds 2 sets of marks (pupil) or 3 (analysis): a click keeps the others'
// marks, and OK stores each set's mark.
TEST(SetupDialogs, ClickInOneRadioGroupKeepsTheOthersMarks)
{
    const struct {
        UINT command;
        int click, first, last;
        std::vector<int> marked;  // the checked ones from first to last (180: zoom, on)
    } radio[] = {
        {103, 134, 133, 138, {134, 137}},
        {103, 138, 133, 138, {134, 138}},
        {96, 172, 170, 182, {172, 176, 180, 181}},
        {96, 177, 170, 182, {172, 177, 180, 181}},
    };
    run_program([&] {
        for (UINT command : {103u, 96u})
            EXPECT_TRUE(open_dialog(command, [&](HWND dlg) {
                for (const auto &row : radio) {
                    if (row.command != command) continue;
                    testing_dialog_click(dlg, row.click);
                    std::vector<int> marked;
                    for (int id = row.first; id <= row.last; id++)
                        if (testing_dialog_checked(dlg, id)) marked.push_back(id);
                    EXPECT_EQ(marked, row.marked) << row.click;
                }
                testing_dialog_click(dlg, IDOK);
            }));
        EXPECT_EQ(std::tuple(nCurrentPSFUnits, PSFPlotType),
                  std::tuple(PSF_ARCSECONDS, PSF_LOGARITHMIC));
        EXPECT_NEAR(pupildiamm, 100.0, 1e-4);  // 10 cm
    });
}

// gN keeps n significant digits, in the exponent form once the decimal exponent reaches n.
TEST(DialogMachinery, GcvtTextKeepsNSignificantDigits)
{
    EXPECT_EQ(gN(123456.0, 5), "1.2346e+05");  // exponent 5
    EXPECT_EQ(gN(12345.0, 5), "12345");        // exponent 4
}

}  // namespace
