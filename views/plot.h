// The plot views (kinds 7 to 18): what a plot window draws when it is painted.
#pragma once

#include "platform/win32.h"

// Draws plot `kind` over the whole client area of window (cxClient x cyClient at its last
// size) into dc, the context of the paint under way. The plots are not drawn yet: a plot
// window shows its white background.
void PaintPlot(HWND window, HDC dc, int kind);
