// The Zernike dialog: its 37 terms as they open after start-up, and their three columns.
#include <cstdio>

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
            const struct { int first, last; } columns[] = {{1, 12}, {13, 25}, {26, 37}};
            for (const auto &column : columns) {
                for (int k = column.first; k <= column.last; ++k) {
                    const RECT check = rect_of(450 + k), field = rect_of(400 + k);
                    EXPECT_EQ(check.left, rect_of(450 + column.first).left) << "Z" << k << " in its column";
                    EXPECT_LE(check.right, field.left) << "Z" << k << ": field right of its box";
                    EXPECT_LT(field.top, check.bottom) << "Z" << k << ": field beside its box";
                    if (k > column.first) EXPECT_GE(check.top, rect_of(450 + k - 1).bottom) << "Z" << k << " below";
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
