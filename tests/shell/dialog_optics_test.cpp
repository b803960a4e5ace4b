// The optics, pupil, obscuration and apodization dialogs, driven through their menu commands.
#include "optics/settings.h"
#include "tests/shell/dialog_test_harness.h"

using namespace dialog_tests;

TEST(OpticsDialogs, CancelAndEscapeLeaveSettingsPSFMenuAndViewsAlone)
{
    const struct {
        UINT command;
        bool escape;
    } rows[] = {{102, false}, {103, true}, {97, false}, {98, true}};
    run_program([&] {
        for (const auto &row : rows) {
            make_psf_and_open_views();
            const SettingsSnapshot before = settings_now();
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                // Change everything a user could, then back out.
                for (int id : {116, 117, 139, 132, 141, 151, 152, 153, 154})
                    if (GetDlgItem(dlg, id)) testing_dialog_type(dlg, id, "0.5");
                for (int id : {119, 134, 138, 140, 143, 160}) testing_dialog_click(dlg, id);
                if (row.escape) testing_dialog_key(dlg, VK_ESCAPE);
                else testing_dialog_click(dlg, IDCANCEL);
                EXPECT_FALSE(testing_dialog_open(dlg)) << row.command;
            })) << row.command;
            EXPECT_TRUE(settings_now() == before) << row.command;
            EXPECT_EQ(HaveCurrentPSF, 1) << row.command;
            EXPECT_EQ(testing_menu_item(mainhwnd, IDM_CREATE_PSF).text, "FFT Done") << row.command;
            EXPECT_EQ(testing_child_windows(mainhwnd).size(), 3u) << row.command;
        }
    });
}

TEST(OpticsDialogs, InchesWithExtentOneGive25Point4MillimetresAndEFL142Point24)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(103, [](HWND dlg) {
            testing_dialog_click(dlg, 133);
            testing_dialog_type(dlg, 132, "1");
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_EQ(nCurrentPupUnits, 133);
        EXPECT_FLOAT_EQ(pupildia, 1.0f);
        EXPECT_NEAR(pupildiamm, 25.4, 1e-5);
        EXPECT_NEAR(EFL, 25.4 * 5.6, 1e-4);  // 142.24
        ASSERT_TRUE(open_dialog(103, [](HWND dlg) {
            EXPECT_TRUE(testing_dialog_checked(dlg, 133));
            EXPECT_EQ(testing_dialog_text(dlg, 132), "  1.00");
        }));
    });
}

TEST(OpticsDialogs, PupilUnitsAndShapeKeepBothMarksAndCancelKeepsTheOldChoices)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(103, [](HWND dlg) {
            testing_dialog_click(dlg, 134);  // Centimeters
            // One control group holds both sets: the shape mark must survive the click.
            EXPECT_TRUE(testing_dialog_checked(dlg, 134));
            EXPECT_TRUE(testing_dialog_checked(dlg, 137));
            EXPECT_FALSE(testing_dialog_checked(dlg, 135));
            testing_dialog_click(dlg, 138);  // Rectangle with
            EXPECT_TRUE(testing_dialog_checked(dlg, 138));
            EXPECT_TRUE(testing_dialog_checked(dlg, 134));
            EXPECT_FALSE(testing_dialog_checked(dlg, 137));
            testing_dialog_click(dlg, IDCANCEL);
        }));
        EXPECT_EQ(nCurrentPupUnits, UNITS_MILLIMETERS);
        EXPECT_EQ(nCurrentPupilShape, SHAPE_ROUND);
        ASSERT_TRUE(open_dialog(103, [](HWND dlg) {
            EXPECT_TRUE(testing_dialog_checked(dlg, 135));
            EXPECT_TRUE(testing_dialog_checked(dlg, 137));
            EXPECT_FALSE(testing_dialog_checked(dlg, 134));
            EXPECT_FALSE(testing_dialog_checked(dlg, 138));
            // The same choices with OK are stored.
            testing_dialog_click(dlg, 134);
            testing_dialog_click(dlg, 138);
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_EQ(nCurrentPupUnits, UNITS_CENTIMETERS);
        EXPECT_EQ(nCurrentPupilShape, SHAPE_RECTANGLE);
        EXPECT_NEAR(pupildiamm, 100.0, 1e-4);  // 10 cm
    });
}

TEST(OpticsDialogs, TypedValuesAreStoredAndReopenInTheirFormats)
{
    const struct {
        UINT command;
        int id;
        const char *typed;
        float *setting;
        float stored;
        const char *reopened;
    } rows[] = {
        {102, 116, "633", &wavelength, 633.0f, "  633.000"},
        {102, 116, " 550nm", &wavelength, 550.0f, "  550.000"},  // the leading number counts
        {102, 117, "8", &fnumber, 8.0f, "    8.000"},
        {103, 139, "0.5", &PupilAspectRatio, 0.5f, "  0.500"},
        {103, 132, "25.126", &pupildia, 25.126f, " 25.13"},
        {97, 141, "0.25", &LinearObscuration, 0.25f, "0.2500"},
        {97, 141, "1.5", &LinearObscuration, 1.5f, "1.5000"},  // a dark pupil is a valid choice
        {98, 151, "0", &rbreak, 0.0f, "  0.0000"},
        {98, 152, "2", &cir_sgxp, 2.0f, "  2.0000"},
        {98, 153, "-3.25", &x_sgxp, -3.25f, " -3.2500"},
        {98, 154, "4e1", &y_sgxp, 40.0f, " 40.0000"},
    };
    run_program([&] {
        for (const auto &row : rows) {
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                testing_dialog_type(dlg, row.id, row.typed);
                testing_dialog_click(dlg, IDOK);
            })) << row.typed;
            EXPECT_FLOAT_EQ(*row.setting, row.stored) << row.typed;
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                EXPECT_EQ(testing_dialog_text(dlg, row.id), row.reopened) << row.typed;
            }));
        }
        EXPECT_TRUE(testing_message_boxes().empty());
        EXPECT_NEAR(EFL, pupildiamm * 8.0, 1e-4) << "EFL follows the last F-number";
    });
}

TEST(OpticsDialogs, ObscurationAndApodizationChoicesAreStoredOnOK)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(97, [](HWND dlg) {
            testing_dialog_click(dlg, 140);
            testing_dialog_click(dlg, 143);
            testing_dialog_click(dlg, 143);  // struts on and off again
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_EQ(nCurrentObscuration, 1);
        EXPECT_EQ(HasStruts, 0);
        ASSERT_TRUE(open_dialog(98, [](HWND dlg) {
            testing_dialog_click(dlg, 159);
            EXPECT_FALSE(testing_dialog_checked(dlg, 158));
            testing_dialog_click(dlg, 161);
            EXPECT_FALSE(testing_dialog_checked(dlg, 159));
            testing_dialog_click(dlg, 159);
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_EQ(nCurrentApod, APOD_TRIANGULAR);
        ASSERT_TRUE(open_dialog(102, [](HWND dlg) {
            testing_dialog_click(dlg, 119);
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_EQ(nCurrentFOV, FOV_Y);
    });
}

TEST(OpticsDialogs, KeyboardTabsInReadingOrderEnterAcceptsEscapeCancels)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(102, [](HWND dlg) {
            EXPECT_EQ(testing_dialog_focus(dlg), 116) << "the first field has the focus";
            const int order[] = {117, 118, 119, IDOK, IDCANCEL, 116};
            for (int id : order) {
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

// The controls' texts are the templates' own test; here, where the buttons end up.
TEST(OpticsDialogs, OKAndCancelSitSideBySideBelowEveryOtherControl)
{
    run_program([&] {
        for (UINT command : {102u, 103u, 97u, 98u})
            ASSERT_TRUE(open_dialog(command, [&](HWND dlg) {
                const std::vector<TestDialogControl> controls = testing_dialog_controls(dlg);
                // OK and Cancel sit at the bottom right, Cancel right of OK.
                RECT ok{}, cancel{};
                for (const TestDialogControl &c : controls) {
                    if (c.id == IDOK) ok = c.rect;
                    if (c.id == IDCANCEL) cancel = c.rect;
                }
                for (const TestDialogControl &c : controls) {
                    if (c.id == IDOK || c.id == IDCANCEL) continue;
                    EXPECT_LE(c.rect.bottom, ok.top) << command << ": control " << c.id << " below OK";
                }
                EXPECT_EQ(ok.top, cancel.top) << command;
                EXPECT_LT(ok.right, cancel.left) << command;
            }));
    });
}
