// The view registry: which kind each view window is, what closing it restores, and which
// views each group function closes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/testing.h"
#include "shell/entry.h"
#include "shell/globals.h"
#include "shell/wndproc.h"
#include "views/child.h"
#include "tests/shell/program_harness.h"

namespace {

struct View {
    UINT id;
    HWND *handle;
    int kind;
    const char *name;
};

// Every view with its menu command and kind.
const View kViews[] = {
    {55, &hwndChildRealInput, 0, "pupil transmission table"},
    {56, &hwndChildImaginaryInput, 1, "pupil phase table"},
    {61, &hwndChildRealOutput, 2, "field amplitude table"},
    {62, &hwndChildImaginaryOutput, 3, "field phase table"},
    {63, &hwndChildModulusOutput, 6, "PSF table"},
    {78, &hwndChildOutPlotXslice, 7, "PSF X-slice"},
    {80, &hwndChildOutPlot3D, 8, "PSF 3-D"},
    {83, &hwndChildOutPlotCont, 9, "PSF contour"},
    {72, &hwndChildInRealPlot3D, 10, "pupil transmission 3-D"},
    {73, &hwndChildInRealPlotCont, 11, "pupil transmission contour"},
    {76, &hwndChildInPhasePlot3D, 12, "pupil phase 3-D"},
    {77, &hwndChildInPhasePlotCont, 13, "pupil phase contour"},
    {79, &hwndChildOutPlotYslice, 14, "PSF Y-slice"},
    {75, &hwndChildPhasePlotXslice, 15, "pupil phase X-slice"},
    {74, &hwndChildPhasePlotYslice, 16, "pupil phase Y-slice"},
    {71, &hwndChildTransPlotXslice, 17, "pupil transmission X-slice"},
    {70, &hwndChildTransPlotYslice, 18, "pupil transmission Y-slice"},
};

int open_count() { return static_cast<int>(testing_child_windows(mainhwnd).size()); }

TEST(TableRegistry, EachViewKnowsItsKindAndClosingItReenablesItsCommand)
{
    run_program([] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const View &view : kViews) {
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, view.id)) << view.name;
            const HWND first = *view.handle;
            ASSERT_NE(first, nullptr) << view.name;
            EXPECT_EQ(ChildKind(first), view.kind) << view.name;
            EXPECT_TRUE(testing_menu_item(mainhwnd, view.id).grayed) << view.name;

            // Closed from its system menu: handle cleared, command available and working again.
            SendMessageA(first, WM_CLOSE, 0, 0);
            EXPECT_EQ(*view.handle, nullptr) << view.name;
            EXPECT_FALSE(IsWindow(first)) << view.name;
            EXPECT_EQ(ChildKind(first), CHILD_KIND_NONE) << view.name;
            EXPECT_FALSE(testing_menu_item(mainhwnd, view.id).grayed) << view.name;
            EXPECT_EQ(open_count(), 0) << view.name;
            ASSERT_TRUE(testing_choose_menu_item(mainhwnd, view.id)) << view.name;
            EXPECT_NE(*view.handle, nullptr) << view.name;
            EXPECT_EQ(ChildKind(*view.handle), view.kind) << view.name;
            DestroyWindow(*view.handle);
            EXPECT_EQ(*view.handle, nullptr) << view.name;
        }
    });
}

TEST(TableRegistry, ClosingOneViewLeavesTheOthersRegistered)
{
    run_program([] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const View &view : kViews) testing_send_command(mainhwnd, view.id);
        ASSERT_EQ(open_count(), 17);
        DestroyWindow(hwndChildRealOutput);
        for (const View &view : kViews) {
            const bool closed = view.handle == &hwndChildRealOutput;
            EXPECT_EQ(*view.handle == nullptr, closed) << view.name;
            EXPECT_EQ(testing_menu_item(mainhwnd, view.id).grayed, !closed) << view.name;
            if (!closed) {
                EXPECT_EQ(ChildKind(*view.handle), view.kind) << view.name;
            }
        }
    });
}

TEST(TableRegistry, WindowsOutsideTheRegistryHaveNoKind)
{
    run_program([] {
        EXPECT_EQ(ChildKind(mainhwnd), CHILD_KIND_NONE);
        EXPECT_EQ(ChildKind(nullptr), CHILD_KIND_NONE) << "a null window is no closed view";
        // Scroll and paint messages for a window that is not a view go to default processing.
        EXPECT_EQ(ChildWndProc(mainhwnd, WM_VSCROLL, SB_LINEDOWN, 0), 0);
    });
}

TEST(TableRegistry, GroupFunctionsCloseTheirOwnViews)
{
    // Which views survive each group function, when all seventeen are open.
    const std::vector<UINT> afterInput = {61, 62, 63, 78, 80, 83, 79, 75, 74, 71, 70};
    const std::vector<UINT> afterOutput = {55, 56, 72, 73, 76, 77};
    struct Row {
        const char *name;
        void (*close)();
        const std::vector<UINT> *left;
    } rows[] = {
        {"DestroyInputChildWindows keeps the pupil slice plots", DestroyInputChildWindows, &afterInput},
        {"DestroyOutputChildWindows closes the pupil slice plots", DestroyOutputChildWindows, &afterOutput},
    };
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const Row &row : rows) {
            for (const View &view : kViews) testing_send_command(mainhwnd, view.id);
            ASSERT_EQ(open_count(), 17) << row.name;
            row.close();
            for (const View &view : kViews) {
                bool kept = false;
                for (UINT id : *row.left) kept = kept || id == view.id;
                EXPECT_EQ(*view.handle != nullptr, kept) << row.name << ": " << view.name;
                EXPECT_EQ(testing_menu_item(mainhwnd, view.id).grayed, kept) << row.name << ": " << view.name;
            }
            EXPECT_EQ(open_count(), static_cast<int>(row.left->size())) << row.name;
            DestroyInputChildWindows();
            DestroyOutputChildWindows();
            ASSERT_EQ(open_count(), 0) << row.name;
        }
    });
}

}  // namespace
