// The Analysis Options, Data Saving Options and About dialogs, driven through their menu
// commands.
#include "tests/shell/dialog_test_harness.h"

using namespace dialog_tests;

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
