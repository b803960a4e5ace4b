// The setup and option dialogs driven through their menu commands: what a typed value stores
// and how it reopens, pending choices, the keyboard, and the About box.
#include "tests/shell/dialog_test_harness.h"

using namespace dialog_tests;

// Each row types one field, accepts, reads the setting and reopens the dialog to see the value
// in the field's own format; whole-number fields truncate toward zero.
TEST(SetupDialogs, TypedValuesAreStoredAndReopenInTheirFormats)
{
    const struct {
        UINT command;
        int id;
        const char *typed;
        double (*setting)();
        double stored;
        const char *reopened;
    } rows[] = {
        {102, 116, "633", [] { return double(wavelength); }, 633.0, "  633.000"},
        {102, 116, " 550nm", [] { return double(wavelength); }, 550.0, "  550.000"},  // the leading number
        {102, 117, "8", [] { return double(fnumber); }, 8.0, "    8.000"},
        {103, 139, "0.5", [] { return double(PupilAspectRatio); }, 0.5, "  0.500"},
        {103, 132, "25.126", [] { return double(pupildia); }, 25.126f, " 25.13"},
        {97, 141, "1.5", [] { return double(LinearObscuration); }, 1.5, "1.5000"},  // a dark pupil is valid
        {98, 151, "0", [] { return double(rbreak); }, 0.0, "  0.0000"},
        {98, 152, "2", [] { return double(cir_sgxp); }, 2.0, "  2.0000"},
        {98, 153, "-3.25", [] { return double(x_sgxp); }, -3.25, " -3.2500"},
        {98, 154, "4e1", [] { return double(y_sgxp); }, 40.0, " 40.0000"},
        {93, 522, "0.25", [] { return double(PhasePlateWaves); }, 0.25, "0.25000"},
        {93, 524, "3.7", [] { return double(PhasePlateSteps); }, 3, "3"},
        {93, 524, "-0.5", [] { return double(PhasePlateSteps); }, 0, "0"},
        {93, 524, "-12.9", [] { return double(PhasePlateSteps); }, -12, "-12"},
        {94, 505, "0.5", [] { return double(PhasePatternWFE); }, 0.5, " 0.5000"},
        {94, 504, "2.9", [] { return double(PhasePatternPeriod); }, 2, "2"},
        {94, 504, "1.99999", [] { return double(PhasePatternPeriod); }, 1, "1"},
        {92, 105, "0.25", [] { return double(spherical); }, 0.25, "    0.250"},
        {92, 108, "-1", [] { return double(defocus); }, -1.0, "   -1.000"},
        {91, 437, "-1.234567e-3", [] { return double(Zern[37]); }, -1.234567e-3f, "-0.0012346"},  // 5 digits
    };
    run_program([&] {
        for (const auto &row : rows) {
            SCOPED_TRACE(row.typed);
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                testing_dialog_type(dlg, row.id, row.typed);
                testing_dialog_click(dlg, IDOK);
                EXPECT_FALSE(testing_dialog_open(dlg));
            }));
            EXPECT_EQ(row.setting(), static_cast<float>(row.stored));
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                EXPECT_EQ(testing_dialog_text(dlg, row.id), row.reopened);
            }));
        }
        EXPECT_TRUE(testing_message_boxes().empty());
        EXPECT_NEAR(EFL, pupildiamm * 8.0, 1e-4) << "EFL follows the last F-number";
    });
}

// Clicks are pending until OK: a cancelled dialog reopens with the old marks, an accepted one
// stores them. Each row clicks its boxes, cancels, checks, clicks again and accepts.
TEST(SetupDialogs, ClickedChoicesAreStoredOnOKOnly)
{
    const struct {
        const char *name;
        UINT command;
        std::vector<int> clicks;
        int (*setting)();
        int before, after;
    } rows[] = {
        {"field of view", 102, {119}, [] { return nCurrentFOV; }, FOV_X, FOV_Y},
        {"units", 103, {134, 138}, [] { return nCurrentPupUnits; }, UNITS_MILLIMETERS, UNITS_CENTIMETERS},
        {"shape", 103, {134, 138}, [] { return nCurrentPupilShape; }, SHAPE_ROUND, SHAPE_RECTANGLE},
        {"obscuration", 97, {140, 143, 143}, [] { return nCurrentObscuration; }, 0, 1},
        {"struts on and off again", 97, {140, 143, 143}, [] { return HasStruts; }, 0, 0},
        {"apodization", 98, {159, 161, 159}, [] { return nCurrentApod; }, APOD_NONE, APOD_TRIANGULAR},
        {"pixel array", 96, {182}, [] { return NumPixels; }, 3, 4},
        {"pixel array type", 96, {182}, [] { return CentroidErrorType; }, CENTROID_3BY3, CENTROID_4BY4},
        {"pattern", 94, {502}, [] { return nCurrentPhasePattern; }, PATTERN_NONE, PATTERN_WAFFLE},
        {"plate", 93, {520}, [] { return nHasPhasePlate; }, 0, 1},
        {"spherical", 92, {101}, [] { return HasSpherical; }, 0, 1},
        {"coma", 92, {102}, [] { return HasComa; }, 1, 0}, {"Z05", 91, {455}, [] { return HasZern[5]; }, 0, 1},
        {"Z26", 91, {476}, [] { return HasZern[26]; }, 1, 0},
    };
    run_program([&] {
        for (const auto &row : rows) {
            SCOPED_TRACE(row.name);
            for (bool ok : {false, true}) {
                ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                    for (int id : row.clicks) testing_dialog_click(dlg, id);
                    testing_dialog_click(dlg, ok ? IDOK : IDCANCEL);
                }));
                EXPECT_EQ(row.setting(), ok ? row.after : row.before) << (ok ? "OK" : "Cancel");
            }
            reset_settings();
        }
        // Inches with an extent of one: 25.4 mm, and at F/5.6 an EFL of 142.24 mm.
        ASSERT_TRUE(open_dialog(103, [](HWND dlg) {
            testing_dialog_click(dlg, 133);
            testing_dialog_type(dlg, 132, "1");
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_NEAR(pupildiamm, 25.4, 1e-5);
        EXPECT_NEAR(EFL, 142.24, 1e-4);
    });
}

// One control group holds both sets of marks in the pupil dialog, and three in the analysis
// options: a click in one set must keep the marks of the others.
TEST(SetupDialogs, AClickInOneRadioGroupKeepsTheMarksOfTheOthers)
{
    const struct { UINT command; int click; std::vector<int> checked, clear; } rows[] = {
        {103, 134, {134, 137}, {133, 135, 138}}, {103, 138, {134, 138}, {133, 135, 137}},
        {96, 172, {172, 176, 181}, {170, 171, 177, 182}}, {96, 177, {172, 177, 181}, {170, 171, 176, 182}},
        {96, 182, {172, 177, 182}, {170, 171, 176, 181}}, {96, 170, {170, 177, 182}, {171, 172, 176, 181}},
    };
    run_program([&] {
        for (UINT command : {103u, 96u})
            ASSERT_TRUE(open_dialog(command, [&](HWND dlg) {
                for (const auto &row : rows) {
                    if (row.command != command) continue;
                    testing_dialog_click(dlg, row.click);
                    for (int id : row.checked) EXPECT_TRUE(testing_dialog_checked(dlg, id)) << row.click << ": " << id;
                    for (int id : row.clear) EXPECT_FALSE(testing_dialog_checked(dlg, id)) << row.click << ": " << id;
                }
                testing_dialog_click(dlg, IDOK);
            }));
        EXPECT_EQ(nCurrentPSFUnits, PSF_MICRONS);
        EXPECT_EQ(PSFPlotType, PSF_LOGARITHMIC);
        EXPECT_NEAR(pupildiamm, 100.0, 1e-4);  // 10 cm
    });
}

TEST(SetupDialogs, KeyboardTabsInReadingOrderEnterAcceptsEscapeCancels)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(102, [](HWND dlg) {
            EXPECT_EQ(testing_dialog_focus(dlg), 116) << "the first field has the focus";
            for (int id : {117, 118, 119, int(IDOK), int(IDCANCEL), 116}) {
                testing_dialog_tab(dlg);
                EXPECT_EQ(testing_dialog_focus(dlg), id);
            }
            testing_dialog_tab(dlg, true);
            EXPECT_EQ(testing_dialog_focus(dlg), IDCANCEL);
            testing_dialog_tab(dlg);
            testing_dialog_type(dlg, 116, "700");
            testing_dialog_key(dlg, VK_RETURN);  // Enter in a field is OK
            EXPECT_FALSE(testing_dialog_open(dlg));
        }));
        EXPECT_FLOAT_EQ(wavelength, 700.0f);
        ASSERT_TRUE(open_dialog(102, [](HWND dlg) {
            testing_dialog_type(dlg, 116, "800");
            testing_dialog_key(dlg, VK_ESCAPE);
            EXPECT_FALSE(testing_dialog_open(dlg));
        }));
        EXPECT_FLOAT_EQ(wavelength, 700.0f);
    });
}


// After start-up the 37 Zernike terms read k/100 (two decimals, no trailing zero: 0.01, ...,
// 0.1, 0.11, ...) with only Z26 checked, in three columns Z01-Z12, Z13-Z25 and Z26-Z37.
TEST(SetupDialogs, ZernikeDialogShowsItsTermsInThreeColumns)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(91, [](HWND dlg) {
            const std::vector<TestDialogControl> controls = testing_dialog_controls(dlg);
            auto rect_of = [&](int id) {
                for (const TestDialogControl &c : controls)
                    if (c.id == id) return c.rect;
                return RECT{};
            };
            for (const auto [first, last] : {std::pair{1, 12}, std::pair{13, 25}, std::pair{26, 37}}) {
                for (int k = first; k <= last; ++k) {
                    std::string hundredths = (k < 10 ? "0.0" : "0.") + std::to_string(k);
                    if (hundredths.back() == '0') hundredths.pop_back();
                    EXPECT_EQ(testing_dialog_text(dlg, 400 + k), hundredths) << "Z" << k;
                    EXPECT_EQ(testing_dialog_checked(dlg, 450 + k), k == 26) << "Z" << k;
                    const RECT check = rect_of(450 + k), field = rect_of(400 + k);
                    EXPECT_EQ(check.left, rect_of(450 + first).left) << "Z" << k << " in its column";
                    EXPECT_LE(check.right, field.left) << "Z" << k << ": field right of its box";
                    EXPECT_LT(field.top, check.bottom) << "Z" << k << ": field beside its box";
                    EXPECT_TRUE(k == first || check.top >= rect_of(450 + k - 1).bottom) << "Z" << k << " below";
                }
            }
            EXPECT_LT(rect_of(412).right, rect_of(463).left) << "first column left of the second";
            EXPECT_LT(rect_of(425).right, rect_of(476).left) << "second column left of the third";
            // Readable in a main window of its default size (800 x 600).
            const RECT screen = testing_dialog_screen_rect(dlg);
            EXPECT_LE(screen.right - screen.left, 800);
            EXPECT_LE(screen.bottom - screen.top, 600);
        }));
    });
}

TEST(OptionDialogs, ZoomCentroidAndWholeNumberFieldsAreStoredInOrder)
{
    const struct {
        const char *decades, *radius;
        bool clickZoom, clickCentroid;
        int storedDecades, storedRadius, zoom, izoomNow, doCentroid;
    } rows[] = {
        {"4", "20", true, false, 4, 20, 0, 1, 0},    // clearing "Zoom plot" gives izoom 1
        {"4.5", "20", true, true, 4, 20, 1, 2, 1},   // cut at the first non-digit
        {"7", " 33", false, true, 7, 33, 1, 2, 0},
        {"2", "70", false, false, 2, 70, 1, 2, 0},   // beyond the grid is accepted
        {"1", "1", false, false, 1, 1, 1, 2, 0},
    };
    run_program([&] {
        for (const auto &row : rows) {
            SCOPED_TRACE(std::string(row.decades) + " / " + row.radius);
            ASSERT_TRUE(open_dialog(96, [&](HWND dlg) {
                testing_dialog_type(dlg, 179, row.decades);
                testing_dialog_type(dlg, 173, row.radius);
                if (row.clickZoom) testing_dialog_click(dlg, 180);
                if (row.clickCentroid) testing_dialog_click(dlg, 183);
                testing_dialog_click(dlg, IDOK);
            }));
            EXPECT_EQ(nPSFdecades, row.storedDecades);
            EXPECT_EQ(pupilradius, row.storedRadius);
            EXPECT_FLOAT_EQ(ncenter, row.storedRadius - 0.5f);
            EXPECT_EQ(nZoomPlot, row.zoom);
            EXPECT_EQ(izoom, row.izoomNow);
            EXPECT_EQ(nDoCentroidError, row.doCentroid);
            ASSERT_TRUE(open_dialog(96, [&](HWND dlg) {
                EXPECT_EQ(testing_dialog_text(dlg, 179), std::to_string(row.storedDecades));
                EXPECT_EQ(testing_dialog_text(dlg, 173), std::to_string(row.storedRadius));
            }));
        }
        EXPECT_TRUE(testing_message_boxes().empty());
    });
}

TEST(OptionDialogs, DataSavingChoiceIsStoredOnOKWithoutClosingViewsOrTouchingCreatePSF)
{
    const struct { int click; bool ok; int stored; } rows[] = {
        {540, false, SAVE_PSF}, {540, true, SAVE_TRANSMISSION}, {541, true, SAVE_PHASE}, {542, true, SAVE_PSF}};
    run_program([&] {
        make_psf_and_open_views();
        for (const auto &row : rows) {
            SCOPED_TRACE(row.click);
            ASSERT_TRUE(open_dialog(95, [&](HWND dlg) {
                testing_dialog_click(dlg, row.click);
                for (int id = 540; id <= 542; ++id) EXPECT_EQ(testing_dialog_checked(dlg, id), id == row.click);
                testing_dialog_click(dlg, row.ok ? IDOK : IDCANCEL);
            }));
            EXPECT_EQ(nCurrentDataSave, row.stored);
            EXPECT_EQ(HaveCurrentPSF, 1);
            EXPECT_TRUE(testing_menu_item(mainhwnd, IDM_CREATE_PSF).grayed);
            EXPECT_EQ(testing_child_windows(mainhwnd).size(), 3u);
        }
    });
}

TEST(OptionDialogs, AboutBoxIsCentredWithoutTitleBarAndShowsItsTexts)
{
    const std::vector<std::string> lines = {
        "Orvinta:   Aberrated optics diffraction point spread functions",
        "Produces the point spread function (PSF) of a wavefront containing",
        "a combination of third order aberrations, defocus, Zernike phase",
        "errors, a discontinuous phase pattern, a subaperture phase plate,",
        "&/or with a centrally obscured or unobscured or apodized pupil",
        "transmission.  Includes centroid tracker error algorithm.",
    };
    run_program([&] {
        for (int key : {VK_ESCAPE, VK_RETURN}) {
            ASSERT_TRUE(open_dialog(90, [&](HWND dlg) {
                EXPECT_FALSE(testing_dialog_has_title_bar(dlg));
                const RECT box = testing_dialog_screen_rect(dlg);
                const int width = box.right - box.left, height = box.bottom - box.top;
                EXPECT_EQ(box.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
                EXPECT_EQ(box.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
                std::vector<std::string> statics;
                RECT title{}, rule{}, icon{}, close{};
                std::vector<RECT> version;
                for (const TestDialogControl &c : testing_dialog_controls(dlg)) {
                    if (c.kind == "LTEXT") statics.push_back(c.text);
                    if (c.kind == "RTEXT") version.push_back(c.rect);
                    if (c.kind == "LTEXT" && c.text == lines[0]) title = c.rect;
                    if (c.kind == "HRULE") rule = c.rect;
                    if (c.kind == "ICON") icon = c.rect;
                    if (c.id == 1) close = c.rect;
                }
                EXPECT_EQ(statics, lines);
                EXPECT_EQ(testing_dialog_text(dlg, 1), "Close");
                EXPECT_GE(rule.top, title.bottom) << "the rule is under the title";
                ASSERT_EQ(version.size(), 2u) << "version on two lines";
                EXPECT_GT(version[1].top, version[0].top);
                EXPECT_GT(icon.left, width / 2) << "icon at the right";
                EXPECT_GT(close.left, width / 2) << "Close at the right";
                EXPECT_GT(close.top, height / 2) << "Close at the bottom";
                testing_dialog_key(dlg, key);
                EXPECT_FALSE(testing_dialog_open(dlg)) << key;
            }));
        }
    });
}
