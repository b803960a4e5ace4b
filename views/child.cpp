// The frame shared by every view: which view a window is, its text metrics, sizing,
// scrolling, keys and mouse, painting, and what its closing undoes.
#include "views/child.h"

#include <algorithm>
#include <map>

#include "optics/settings.h"
#include "views/plot.h"
#include "views/plot_menu.h"
#include "views/quality_box.h"
#include "views/readout.h"
#include "views/program_windows.h"
#include "views/table.h"

int cxChar = 1, cxCaps = 1, cyChar = 1;
int iMaxWidth = 0;
int cxClient = 0, cyClient = 0;

namespace {

// What each open plot view drew last, for the cursor readout.
std::map<HWND, PlotReadout> readouts;

// Closes the open views of one group in its closing order.
void destroy_group(ViewGroup group)
{
    for (int rank = 0; rank < VIEW_COUNT; ++rank)
        for (const ViewEntry &view : kViewRegistry)
            if (view.group == group && view.closeRank == rank && *view.handle)
                DestroyWindow(*view.handle);
}

constexpr int PAGE_CHARS = 8;  // a horizontal page, and the move of the left and right arrows

LRESULT OnCreate(HWND window)
{
    TEXTMETRICA tm{};
    HDC measure = GetDC(window);
    const bool measured = measure && GetTextMetricsA(measure, &tm);
    if (measure) ReleaseDC(window, measure);
    // A font that cannot be measured leaves the last metrics; they never drop below one pixel,
    // since every scroll step divides by them.
    if (measured) {
        cxChar = std::max<int>(1, tm.tmAveCharWidth);
        const bool variablePitch = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0;
        cxCaps = variablePitch ? 3 * cxChar / 2 : cxChar;
        cyChar = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading);
    }
    iMaxWidth = GRID * TABLE_COLUMN_CHARS * cxChar + 22 * cxCaps;
    return 0;
}

// Sets one bar's range to 0..max, keeps the position inside it, then centres it: a table
// opens, and reopens after every resize, on the middle of the array, where the pupil and the
// PSF peak lie.
void CentreBar(HWND window, int bar, int max, int &pos, int &maxGlobal)
{
    maxGlobal = max;
    pos = std::min(pos, max);
    SetScrollRange(window, bar, 0, max, FALSE);
    pos = max / 2;
    SetScrollPos(window, bar, pos, TRUE);
}

LRESULT OnSize(HWND window, int kind, LPARAM lParam)
{
    cxClient = LOWORD(lParam);
    cyClient = HIWORD(lParam);
    if (IsPlotKind(kind)) return 0;
    cyTableClient[kind] = cyClient;
    // NUMLINES lines, the blank line 0 and one to spare below the last row.
    const int linesMax = std::max(0, NUMLINES + 2 - cyClient / cyChar);
    CentreBar(window, SB_VERT, linesMax, iVscrollPos[kind], iVscrollMax[kind]);
    const int charsMax = std::max(0, 10 + (iMaxWidth - cxClient) / cxChar);
    CentreBar(window, SB_HORZ, charsMax, iHscrollPos[kind], iHscrollMax[kind]);
    return 0;
}

// Moves a bar's position by increment, kept inside 0..max; the client contents follow by
// `unit` pixels per step. Nothing moves when the position is already at the limit.
void ScrollBy(HWND window, int bar, int increment, int &pos, int max, int unit)
{
    increment = std::max(-pos, std::min(increment, max - pos));
    if (increment == 0) return;
    pos += increment;
    if (bar == SB_VERT)
        ScrollWindow(window, 0, -unit * increment, nullptr, nullptr);
    else
        ScrollWindow(window, -unit * increment, 0, nullptr, nullptr);
    SetScrollPos(window, bar, pos, TRUE);
}

// A dragged thumb only follows the mouse; the table moves once it is released.
LRESULT OnVScroll(HWND window, int kind, WPARAM wParam)
{
    if (!IsTableKind(kind)) return 0;
    int &pos = iVscrollPos[kind];
    const int max = iVscrollMax[kind];
    const int page = std::max(1, cyTableClient[kind] / cyChar);
    int increment = 0;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: increment = -1; break;
    case SB_LINEDOWN: increment = 1; break;
    case SB_PAGEUP: increment = -page; break;
    case SB_PAGEDOWN: increment = page; break;
    case SB_TOP: increment = -pos; break;
    case SB_BOTTOM: increment = max - pos; break;
    case SB_THUMBPOSITION: increment = HIWORD(wParam) - pos; break;
    default: break;
    }
    ScrollBy(window, SB_VERT, increment, pos, max, cyChar);
    return 0;
}

LRESULT OnHScroll(HWND window, int kind, WPARAM wParam)
{
    if (!IsTableKind(kind)) return 0;
    int &pos = iHscrollPos[kind];
    int increment = 0;
    switch (LOWORD(wParam)) {
    case SB_LINELEFT: increment = -1; break;
    case SB_LINERIGHT: increment = 1; break;
    case SB_PAGELEFT: increment = -PAGE_CHARS; break;
    case SB_PAGERIGHT: increment = PAGE_CHARS; break;
    case SB_THUMBPOSITION: increment = HIWORD(wParam) - pos; break;
    default: break;
    }
    ScrollBy(window, SB_HORZ, increment, pos, iHscrollMax[kind], cxChar);
    return 0;
}

// The keys of a table, as scroll requests to the window itself; a plot ignores them.
LRESULT OnKeyDown(HWND window, WPARAM key)
{
    struct KeyScroll {
        int key;
        UINT message;
        int request;
    };
    static const KeyScroll keys[] = {
        {VK_PRIOR, WM_VSCROLL, SB_PAGEUP},    {VK_NEXT, WM_VSCROLL, SB_PAGEDOWN},
        {VK_END, WM_VSCROLL, SB_BOTTOM},      {VK_HOME, WM_VSCROLL, SB_TOP},
        {VK_LEFT, WM_HSCROLL, SB_PAGELEFT},   {VK_UP, WM_VSCROLL, SB_LINEUP},
        {VK_RIGHT, WM_HSCROLL, SB_PAGERIGHT}, {VK_DOWN, WM_VSCROLL, SB_LINEDOWN},
    };
    for (const KeyScroll &k : keys)
        if (static_cast<WPARAM>(k.key) == key)
            SendMessageA(window, k.message, static_cast<WPARAM>(k.request), 0);
    return 0;
}

// A plot is described afresh from the current arrays and drawn whole, whatever part of the
// window needs painting. Its change to the settings comes first, so that a view repainted
// while the chart shows a message already sees it.
LRESULT OnPaint(HWND window, int kind)
{
    PAINTSTRUCT ps;
    hdc = BeginPaint(window, &ps);
    if (IsTableKind(kind)) {
        PaintTable(hdc, kind, ps.rcPaint);
    } else {
        RECT client{};
        GetClientRect(window, &client);
        PlotDescription plot = DescribePlot(kind, client);
        ApplyPlotSettings(plot);
        DrawPlot(plot, hdc);
        readouts[window] = ReadoutOf(plot);
    }
    EndPaint(window, &ps);
    return 0;
}

// The pointer over a plot: the sample under it on the status bar, cleared off the axes.
LRESULT OnMouseMove(HWND window, LPARAM lParam)
{
    const auto found = readouts.find(window);
    if (found == readouts.end()) return 0;
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    ShowStatusText(ReadoutText(found->second, x, y));
    return 0;
}

LRESULT OnDestroy(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (readouts.erase(window)) ShowStatusText("");
    // A window is the view of at most one handle, so the order of the search does not matter.
    for (const ViewEntry &view : kViewRegistry) {
        if (*view.handle == window) {
            EnableMenuItem(GetMenu(mainhwnd), view.commandId, MF_BYCOMMAND | MF_ENABLED);
            *view.handle = nullptr;
            break;
        }
    }
    return DefWindowProcA(window, WM_DESTROY, wParam, lParam);
}

}  // namespace

int ChildKind(HWND window)
{
    // A null handle is no window, not the closed view whose global happens to be null.
    if (!window) return CHILD_KIND_NONE;
    for (const ViewEntry &view : kViewRegistry)
        if (*view.handle == window) return view.kind;
    return CHILD_KIND_NONE;
}

void DestroyInputChildWindows() { destroy_group(ViewGroup::Input); }

void DestroyOutputChildWindows() { destroy_group(ViewGroup::Output); }

LRESULT CALLBACK ChildWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int kind = ChildKind(window);
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_SIZE:
        if (kind == CHILD_KIND_NONE) break;
        return OnSize(window, kind, lParam);
    case WM_VSCROLL:
        if (kind == CHILD_KIND_NONE) break;
        return OnVScroll(window, kind, wParam);
    case WM_HSCROLL:
        if (kind == CHILD_KIND_NONE) break;
        return OnHScroll(window, kind, wParam);
    case WM_KEYDOWN: return OnKeyDown(window, wParam);
    case WM_LBUTTONDOWN: BringWindowToTop(window); return 0;
    case WM_MOUSEMOVE: return OnMouseMove(window, lParam);
    case WM_MOUSELEAVE: ShowStatusText(""); return 0;
    case WM_PAINT:
        if (kind == CHILD_KIND_NONE) break;
        return OnPaint(window, kind);
    case WM_CONTEXTMENU:
        if (IsPlotKind(kind)) return OnPlotContextMenu(window, kind, lParam);
        return OnTableContextMenu(window, kind, lParam);
    case WM_DESTROY: return OnDestroy(window, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
