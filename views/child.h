// The views: child windows of class "OrvintaChild" in the main window's client area, one per
// kind, each known by its handle global in the view registry.
#pragma once

#include "platform/win32.h"
#include "views/registry.h"

constexpr int CHILD_KIND_NONE = -1;

// The kind of a view window: the first registry row whose handle is the window, else -1.
int ChildKind(HWND window);
inline bool IsTableKind(int kind)
{
    const ViewEntry *view = ViewForKind(kind);
    return view && view->shape == ViewShape::Table;
}
inline bool IsPlotKind(int kind)
{
    const ViewEntry *view = ViewForKind(kind);
    return view && view->shape != ViewShape::Table;
}

// Text metrics of the views' default font, measured whenever a view is created (all views
// use the same font), in pixels: average character width, width of a capital (half as wide
// again for a variable-pitch font), line height with external leading.
extern int cxChar, cxCaps, cyChar;
// Width of a whole table line (128 columns of 10 characters) plus a margin.
extern int iMaxWidth;
// Client size of the view that received the last size message (tables and plots alike).
extern int cxClient, cyClient;

LRESULT CALLBACK ChildWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Close the pupil views (tables, 3-D and contour plots) ...
void DestroyInputChildWindows();
// ... and every PSF view together with the pupil slice plots.
void DestroyOutputChildWindows();
