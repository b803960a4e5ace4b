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
    {IDM_TABLE_TRANSMISSION, &hwndChildRealInput, 0, "pupil transmission table"},
    {IDM_TABLE_PHASE, &hwndChildImaginaryInput, 1, "pupil phase table"},
    {IDM_TABLE_AMPLITUDE, &hwndChildRealOutput, 2, "field amplitude table"},
    {IDM_TABLE_FIELD_PHASE, &hwndChildImaginaryOutput, 3, "field phase table"},
    {IDM_TABLE_PSF, &hwndChildModulusOutput, 6, "PSF table"},
    {IDM_PLOT_PSF_XSLICE, &hwndChildOutPlotXslice, 7, "PSF X-slice"},
    {IDM_PLOT_PSF_3D, &hwndChildOutPlot3D, 8, "PSF 3-D"},
    {IDM_PLOT_PSF_CONTOUR, &hwndChildOutPlotCont, 9, "PSF contour"},
    {IDM_PLOT_TRANS_3D, &hwndChildInRealPlot3D, 10, "pupil transmission 3-D"},
    {IDM_PLOT_TRANS_CONTOUR, &hwndChildInRealPlotCont, 11, "pupil transmission contour"},
    {IDM_PLOT_PHASE_3D, &hwndChildInPhasePlot3D, 12, "pupil phase 3-D"},
    {IDM_PLOT_PHASE_CONTOUR, &hwndChildInPhasePlotCont, 13, "pupil phase contour"},
    {IDM_PLOT_PSF_YSLICE, &hwndChildOutPlotYslice, 14, "PSF Y-slice"},
    {IDM_PLOT_PHASE_XSLICE, &hwndChildPhasePlotXslice, 15, "pupil phase X-slice"},
    {IDM_PLOT_PHASE_YSLICE, &hwndChildPhasePlotYslice, 16, "pupil phase Y-slice"},
    {IDM_PLOT_TRANS_XSLICE, &hwndChildTransPlotXslice, 17, "pupil transmission X-slice"},
    {IDM_PLOT_TRANS_YSLICE, &hwndChildTransPlotYslice, 18, "pupil transmission Y-slice"},
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
    const std::vector<UINT> afterInput = {IDM_TABLE_AMPLITUDE,   IDM_TABLE_FIELD_PHASE, IDM_TABLE_PSF,
                                          IDM_PLOT_PSF_XSLICE,   IDM_PLOT_PSF_3D,       IDM_PLOT_PSF_CONTOUR,
                                          IDM_PLOT_PSF_YSLICE,   IDM_PLOT_PHASE_XSLICE, IDM_PLOT_PHASE_YSLICE,
                                          IDM_PLOT_TRANS_XSLICE, IDM_PLOT_TRANS_YSLICE};
    const std::vector<UINT> afterOutput = {IDM_TABLE_TRANSMISSION, IDM_TABLE_PHASE,   IDM_PLOT_TRANS_3D,
                                           IDM_PLOT_TRANS_CONTOUR, IDM_PLOT_PHASE_3D, IDM_PLOT_PHASE_CONTOUR};
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

TEST(TableRegistry, GroupsCloseInTheirOwnOrderAndEveryViewHasItsMenuItem)
{
    // The closing orders of the two group functions, by the handles' commands.
    const std::vector<UINT> inputOrder = {IDM_TABLE_TRANSMISSION, IDM_TABLE_PHASE,   IDM_PLOT_TRANS_3D,
                                          IDM_PLOT_TRANS_CONTOUR, IDM_PLOT_PHASE_3D, IDM_PLOT_PHASE_CONTOUR};
    const std::vector<UINT> outputOrder = {IDM_PLOT_PSF_XSLICE,   IDM_PLOT_PSF_YSLICE,   IDM_PLOT_TRANS_XSLICE,
                                           IDM_PLOT_TRANS_YSLICE, IDM_PLOT_PHASE_XSLICE, IDM_PLOT_PHASE_YSLICE,
                                           IDM_TABLE_AMPLITUDE,   IDM_TABLE_FIELD_PHASE, IDM_TABLE_PSF,
                                           IDM_PLOT_PSF_3D,       IDM_PLOT_PSF_CONTOUR};
    const struct {
        const char *name;
        ViewGroup group;
        const std::vector<UINT> *order;
    } groups[] = {{"input", ViewGroup::Input, &inputOrder}, {"output", ViewGroup::Output, &outputOrder}};
    for (const auto &g : groups) {
        std::vector<UINT> ranked(g.order->size(), 0);
        for (const ViewEntry &view : kViewRegistry) {
            if (view.group != g.group) continue;
            ASSERT_GE(view.closeRank, 0) << g.name << ": " << view.commandId;
            ASSERT_LT(view.closeRank, static_cast<int>(ranked.size())) << g.name << ": " << view.commandId;
            EXPECT_EQ(ranked[view.closeRank], 0u) << g.name << ": rank " << view.closeRank << " taken twice";
            ranked[view.closeRank] = view.commandId;
        }
        EXPECT_EQ(ranked, *g.order) << g.name;
    }
    // The registry and the expectations above agree on handle and kind, and the menu carries
    // every view's command.
    run_program([] {
        for (const View &view : kViews) {
            const ViewEntry *entry = ViewForCommand(view.id);
            ASSERT_NE(entry, nullptr) << view.name;
            EXPECT_EQ(entry->handle, view.handle) << view.name;
            EXPECT_EQ(entry->kind, view.kind) << view.name;
            EXPECT_TRUE(testing_menu_item(mainhwnd, view.id).found) << view.name;
        }
    });
}

}  // namespace
