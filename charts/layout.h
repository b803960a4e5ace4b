// The fractions of the window that the axes rectangle and the legend box take, by legend
// placement. Text sizes play no part: the layout depends only on the window and the legend.
#pragma once

#include "platform/win32types.h"

// Each edge moves inward: left by left * W, top by top * H, right by (1 - right) * W and
// bottom by (1 - bottom) * H, for a window of W x H pixels.
struct zLayoutFractions {
    double left, top, right, bottom;
};

// Legend placements: a column left of the axes, a strip under them, none.
inline constexpr int zLegendColumn = 0;
inline constexpr int zLegendStrip = 1;
inline constexpr int zNoLegend = 2;
// A colour bar right of the axes (the image chart), its numbers right of the bar.
inline constexpr int zLegendColourBar = 3;

// The axes: room on the left for a legend column, or below for a legend strip.
zLayoutFractions zAxesFractions(int legendStyle);
// The legend box of a column or a strip (not asked for without a legend).
zLayoutFractions zLegendFractions(int legendStyle);

// The axes rectangle of a chart drawn into window with that legend placement, as its layout
// step places it (also where a pointer over a drawn chart is looked up).
RECT zAxesRectFor(const RECT &window, int legendStyle);
