// The drawing layer's state opened up, for the places that drive it without being a graph: the
// demonstration page, the drawing benchmarks and the drawing-layer tests. Graphs themselves
// keep this state protected.
#pragma once

#include "charts/zlowlevel.h"

struct zOpenGraphics : zLowLevelGraphics {
    using zLowLevelGraphics::RWindow, zLowLevelGraphics::AxisColor, zLowLevelGraphics::BkgColor,
        zLowLevelGraphics::GraphColors, zLowLevelGraphics::ShadeShift,
        zLowLevelGraphics::CurrentColor, zLowLevelGraphics::AveCharWidth,
        zLowLevelGraphics::CharHeight, zLowLevelGraphics::PenStyle, zLowLevelGraphics::BrushStyle,
        zLowLevelGraphics::hDC, zLowLevelGraphics::hBrushes, zLowLevelGraphics::hPens,
        zLowLevelGraphics::hAxisPen, zLowLevelGraphics::hGridPen, zLowLevelGraphics::bPensActive,
        zLowLevelGraphics::bBrushesActive, zLowLevelGraphics::hOldPen, zLowLevelGraphics::hOldBrush,
        zLowLevelGraphics::hOldFont, zLowLevelGraphics::hPatternBitmaps;
};
