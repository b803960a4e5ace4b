// The view registry through the program: a view closed from its system menu gives its menu
// command back and opens again, closing one view leaves the others, and each group function
// closes its own views only. Plot views need no registry table here: the commands name them.

#include <algorithm>

#include "optics/pupil.h"
#include "views/child.h"
#include "tests/shell/program_harness.h"

namespace {

const UINT kViewCommands[] = {55, 56, 61, 62, 63, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 83};

std::size_t open_count() { return testing_child_windows(mainhwnd).size(); }

TEST(ViewRegistry, AViewClosedFromItsSystemMenuGivesItsCommandBackAndReopens)
{
    run_program([] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (UINT id : kViewCommands) {
            SCOPED_TRACE("id=" + std::to_string(id));
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, id));
            const HWND view = testing_child_windows(mainhwnd).back().hwnd;
            EXPECT_NE(ChildKind(view), CHILD_KIND_NONE);
            EXPECT_TRUE(testing_menu_item(mainhwnd, id).grayed);
            SendMessageA(view, WM_CLOSE, 0, 0);
            EXPECT_FALSE(IsWindow(view));
            EXPECT_EQ(ChildKind(view), CHILD_KIND_NONE);
            EXPECT_FALSE(testing_menu_item(mainhwnd, id).grayed);
            EXPECT_EQ(open_count(), 0u);
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, id));
            EXPECT_EQ(open_count(), 1u);
            DestroyWindow(testing_child_windows(mainhwnd).back().hwnd);
            EXPECT_FALSE(testing_menu_item(mainhwnd, id).grayed);
        }
        EXPECT_EQ(ChildKind(mainhwnd), CHILD_KIND_NONE);
        EXPECT_EQ(ChildKind(nullptr), CHILD_KIND_NONE) << "a null window is no closed view";
        // Scroll messages for a window that is not a view go to default processing.
        EXPECT_EQ(ChildWndProc(mainhwnd, WM_VSCROLL, SB_LINEDOWN, 0), 0);
    });
}

TEST(ViewRegistry, GroupFunctionsCloseTheirOwnViewsAndOneClosedViewLeavesTheOthers)
{
    // Which views survive, when all seventeen are open.
    const struct { const char *name; void (*close)(); std::vector<UINT> left; } rows[] = {
        {"DestroyInputChildWindows keeps the pupil slice plots", DestroyInputChildWindows,
         {61, 62, 63, 70, 71, 74, 75, 78, 79, 80, 83}},
        {"Create PSF after a new pupil closes the PSF views and the pupil slice plots", [] {
             pillbox_input();
             EnableMenuItem(GetMenu(mainhwnd), IDM_CREATE_PSF, MF_BYCOMMAND | MF_ENABLED);
             testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
         },
         {55, 56, 72, 73, 76, 77}},
        {"the field amplitude table alone", [] { DestroyWindow(hwndChildRealOutput); },
         {55, 56, 62, 63, 70, 71, 72, 73, 74, 75, 76, 77, 78, 79, 80, 83}},
    };
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const auto &row : rows) {
            SCOPED_TRACE(row.name);
            for (UINT id : kViewCommands) testing_send_command(mainhwnd, id);
            ASSERT_EQ(open_count(), 17u);
            row.close();
            for (UINT id : kViewCommands) {
                const bool kept = std::find(row.left.begin(), row.left.end(), id) != row.left.end();
                EXPECT_EQ(testing_menu_item(mainhwnd, id).grayed, kept) << "id=" << id;
            }
            EXPECT_EQ(open_count(), row.left.size());
            for (const TestWindow &w : testing_child_windows(mainhwnd))
                EXPECT_NE(ChildKind(w.hwnd), CHILD_KIND_NONE) << w.title;
            DestroyInputChildWindows();
            DestroyOutputChildWindows();
            ASSERT_EQ(open_count(), 0u);
        }
    });
}

}  // namespace
