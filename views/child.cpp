// The frame shared by every view: which view a window is, and what its closing undoes.
// Views draw nothing yet: the tables and plots fill in their kinds.
#include "views/child.h"

#include "shell/globals.h"

const ChildView kChildViews[17] = {
    {0, &hwndChildRealInput, 55},
    {1, &hwndChildImaginaryInput, 56},
    {2, &hwndChildRealOutput, 61},
    {3, &hwndChildImaginaryOutput, 62},
    {6, &hwndChildModulusOutput, 63},
    {7, &hwndChildOutPlotXslice, 78},
    {8, &hwndChildOutPlot3D, 80},
    {9, &hwndChildOutPlotCont, 83},
    {10, &hwndChildInRealPlot3D, 72},
    {11, &hwndChildInRealPlotCont, 73},
    {12, &hwndChildInPhasePlot3D, 76},
    {13, &hwndChildInPhasePlotCont, 77},
    {14, &hwndChildOutPlotYslice, 79},
    {15, &hwndChildPhasePlotXslice, 75},
    {16, &hwndChildPhasePlotYslice, 74},
    {17, &hwndChildTransPlotXslice, 71},
    {18, &hwndChildTransPlotYslice, 70},
};

namespace {

// The handles a closing view is looked up in, in this order.
HWND *const kDestroyOrder[17] = {
    &hwndChildRealInput,       &hwndChildImaginaryInput,  &hwndChildRealOutput,     &hwndChildImaginaryOutput,
    &hwndChildModulusOutput,   &hwndChildOutPlot3D,       &hwndChildOutPlotXslice,  &hwndChildOutPlotYslice,
    &hwndChildPhasePlotXslice, &hwndChildPhasePlotYslice, &hwndChildTransPlotXslice, &hwndChildTransPlotYslice,
    &hwndChildOutPlotCont,     &hwndChildInRealPlot3D,    &hwndChildInRealPlotCont, &hwndChildInPhasePlot3D,
    &hwndChildInPhasePlotCont,
};

UINT menu_id_of(const HWND *handle)
{
    for (const ChildView &view : kChildViews)
        if (view.handle == handle) return view.menuId;
    return 0;
}

void destroy_each(HWND *const *handles, int count)
{
    for (int k = 0; k < count; k++)
        if (*handles[k]) DestroyWindow(*handles[k]);
}

LRESULT OnDestroy(HWND window, WPARAM wParam, LPARAM lParam)
{
    for (HWND *handle : kDestroyOrder) {
        if (*handle == window) {
            EnableMenuItem(GetMenu(mainhwnd), menu_id_of(handle), MF_BYCOMMAND | MF_ENABLED);
            *handle = nullptr;
            break;
        }
    }
    return DefWindowProcA(window, WM_DESTROY, wParam, lParam);
}

}  // namespace

int ChildKind(HWND window)
{
    for (const ChildView &view : kChildViews)
        if (*view.handle == window) return view.kind;
    return CHILD_KIND_NONE;
}

void DestroyInputChildWindows()
{
    HWND *const group[] = {&hwndChildRealInput,    &hwndChildImaginaryInput, &hwndChildInRealPlot3D,
                           &hwndChildInRealPlotCont, &hwndChildInPhasePlot3D, &hwndChildInPhasePlotCont};
    destroy_each(group, 6);
}

void DestroyOutputChildWindows()
{
    HWND *const group[] = {&hwndChildOutPlotXslice,   &hwndChildOutPlotYslice,   &hwndChildTransPlotXslice,
                           &hwndChildTransPlotYslice, &hwndChildPhasePlotXslice, &hwndChildPhasePlotYslice,
                           &hwndChildRealOutput,      &hwndChildImaginaryOutput, &hwndChildModulusOutput,
                           &hwndChildOutPlot3D,       &hwndChildOutPlotCont};
    destroy_each(group, 11);
}

LRESULT CALLBACK ChildWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        return OnDestroy(window, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
