// The pupil phase dialogs, driven through their menu commands.
#include <cstdio>

#include "optics/settings.h"
#include "tests/shell/dialog_test_harness.h"

using namespace dialog_tests;

namespace {

// k/100 with two decimals and no trailing zero: 0.01, ..., 0.1, 0.11, ..., 0.37.
std::string hundredths(int k)
{
    char text[16];
    std::snprintf(text, sizeof text, "0.%02d", k);
    std::string s = text;
    if (s.back() == '0') s.pop_back();
    return s;
}

}  // namespace

TEST(PhaseDialogs, ZernikeDialogAfterStartUpShowsHundredthsWithOnlyZ26Checked)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(91, [](HWND dlg) {
            for (int k = 1; k <= 37; ++k) {
                EXPECT_EQ(testing_dialog_text(dlg, 400 + k), hundredths(k)) << "Z" << k;
                EXPECT_EQ(testing_dialog_checked(dlg, 450 + k), k == 26) << "Z" << k;
            }
        }));
    });
}

TEST(PhaseDialogs, ZernikeColumnsHoldZ01ToZ12Z13ToZ25AndZ26ToZ37)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(91, [](HWND dlg) {
            std::vector<TestDialogControl> controls = testing_dialog_controls(dlg);
            auto rect_of = [&](int id) {
                for (const TestDialogControl &c : controls)
                    if (c.id == id) return c.rect;
                return RECT{};
            };
            const struct {
                int first, last;
            } columns[] = {{1, 12}, {13, 25}, {26, 37}};
            for (const auto &column : columns) {
                for (int k = column.first; k <= column.last; ++k) {
                    const RECT check = rect_of(450 + k), field = rect_of(400 + k);
                    EXPECT_EQ(check.left, rect_of(450 + column.first).left) << "Z" << k << " in its column";
                    EXPECT_LE(check.right, field.left) << "Z" << k << ": field right of its box";
                    EXPECT_LT(field.top, check.bottom) << "Z" << k << ": field beside its box";
                    if (k > column.first) {
                        EXPECT_GE(check.top, rect_of(450 + k - 1).bottom) << "Z" << k << " below";
                    }
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

TEST(PhaseDialogs, ZernikeCoefficientsAndChecksAreStoredOnOKOnly)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(91, [](HWND dlg) {
            testing_dialog_type(dlg, 405, "0.125");
            testing_dialog_click(dlg, 455);
            testing_dialog_click(dlg, 476);  // Z26 off
            testing_dialog_click(dlg, IDCANCEL);
        }));
        EXPECT_FLOAT_EQ(Zern[5], 0.05f);
        EXPECT_EQ(HasZern[5], 0);
        EXPECT_EQ(HasZern[26], 1);
        ASSERT_TRUE(open_dialog(91, [](HWND dlg) {
            testing_dialog_type(dlg, 405, "0.125");
            testing_dialog_type(dlg, 437, "-1.234567e-3");
            testing_dialog_click(dlg, 455);
            testing_dialog_click(dlg, 476);
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_FLOAT_EQ(Zern[5], 0.125f);
        EXPECT_FLOAT_EQ(Zern[37], -1.234567e-3f);
        EXPECT_EQ(HasZern[5], 1);
        EXPECT_EQ(HasZern[26], 0);
        ASSERT_TRUE(open_dialog(91, [](HWND dlg) {
            EXPECT_EQ(testing_dialog_text(dlg, 405), "0.125");
            EXPECT_EQ(testing_dialog_text(dlg, 437), "-0.0012346") << "five significant digits";
            EXPECT_TRUE(testing_dialog_checked(dlg, 455));
            EXPECT_FALSE(testing_dialog_checked(dlg, 476));
        }));
    });
}

TEST(PhaseDialogs, ThirdOrderDialogAfterStartUpShowsComaOnly)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(92, [](HWND dlg) {
            const struct {
                int check, field;
                bool checked;
                const char *shown;
            } rows[] = {{101, 105, false, "    0.000"}, {102, 106, true, "   -0.400"},
                        {103, 107, false, "    0.000"}, {104, 108, false, "    0.000"}};
            for (const auto &row : rows) {
                EXPECT_EQ(testing_dialog_checked(dlg, row.check), row.checked) << row.check;
                EXPECT_EQ(testing_dialog_text(dlg, row.field), row.shown) << row.field;
            }
        }));
        ASSERT_TRUE(open_dialog(92, [](HWND dlg) {
            testing_dialog_click(dlg, 101);
            testing_dialog_type(dlg, 105, "0.25");
            testing_dialog_click(dlg, 102);
            testing_dialog_type(dlg, 108, "-1");
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_EQ(HasSpherical, 1);
        EXPECT_EQ(HasComa, 0);
        EXPECT_FLOAT_EQ(spherical, 0.25f);
        EXPECT_FLOAT_EQ(defocus, -1.0f);
        EXPECT_FLOAT_EQ(coma, -0.4f);
    });
}

TEST(PhaseDialogs, PatternAndPlateIntegersAreTruncatedTowardZero)
{
    const struct {
        UINT command;
        int field;
        const char *typed;
        int *setting;
        int stored;
        const char *reopened;
    } rows[] = {
        {93, 524, "3.7", &PhasePlateSteps, 3, "3"},
        {93, 524, "-0.5", &PhasePlateSteps, 0, "0"},
        {93, 524, "-12.9", &PhasePlateSteps, -12, "-12"},
        {94, 504, "2.9", &PhasePatternPeriod, 2, "2"},
        {94, 504, "16", &PhasePatternPeriod, 16, "16"},
        {94, 504, "1.99999", &PhasePatternPeriod, 1, "1"},
    };
    run_program([&] {
        for (const auto &row : rows) {
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                testing_dialog_type(dlg, row.field, row.typed);
                testing_dialog_click(dlg, IDOK);
                EXPECT_FALSE(testing_dialog_open(dlg)) << row.typed;
            }));
            EXPECT_EQ(*row.setting, row.stored) << row.typed;
            ASSERT_TRUE(open_dialog(row.command, [&](HWND dlg) {
                EXPECT_EQ(testing_dialog_text(dlg, row.field), row.reopened) << row.typed;
            }));
        }
        EXPECT_TRUE(testing_message_boxes().empty());
    });
}

TEST(PhaseDialogs, PatternAndPlateOpenWithTheirFormatsAndStoreTheirChoices)
{
    run_program([] {
        ASSERT_TRUE(open_dialog(94, [](HWND dlg) {
            EXPECT_EQ(testing_dialog_text(dlg, 505), " 0.2500");
            EXPECT_EQ(testing_dialog_text(dlg, 504), "5");
            EXPECT_TRUE(testing_dialog_checked(dlg, 500));
            testing_dialog_click(dlg, 502);
            EXPECT_FALSE(testing_dialog_checked(dlg, 500));
            testing_dialog_type(dlg, 505, "0.5");
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_EQ(nCurrentPhasePattern, PATTERN_WAFFLE);
        EXPECT_FLOAT_EQ(PhasePatternWFE, 0.5f);
        ASSERT_TRUE(open_dialog(93, [](HWND dlg) {
            EXPECT_EQ(testing_dialog_text(dlg, 522), "0.50000");
            EXPECT_EQ(testing_dialog_text(dlg, 524), "0");
            EXPECT_FALSE(testing_dialog_checked(dlg, 520));
            testing_dialog_click(dlg, 520);
            testing_dialog_type(dlg, 522, "0.25");
            testing_dialog_click(dlg, IDOK);
        }));
        EXPECT_EQ(nHasPhasePlate, 1);
        EXPECT_FLOAT_EQ(PhasePlateWaves, 0.25f);
        // The plate shifts the phase by plus and minus half its waves across the pupil.
        bool plus = false, minus = false;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) {
                if (r_input[i][j] == 0) continue;
                plus = plus || phase_input[i][j] > 0.1f;
                minus = minus || phase_input[i][j] < -0.1f;
            }
        EXPECT_TRUE(plus && minus) << "the rebuilt pupil carries the plate";
    });
}
