// A one-page picture of what the drawing layer draws: every data-point symbol, every brush
// (solid, the six hatches, the ten patterns), the grid pen styles, 3-D bars and circles, and
// text fitted into rectangles. Used by a test and kept as docs/drawing-layer.png.
#pragma once

#include "platform/gdi.h"

constexpr int kDrawingDemoWidth = 760;
constexpr int kDrawingDemoHeight = 600;

// The symbol row: symbol i (kinds 1, 2, 4, 30, 31, 254, 42, 43, 'o') hangs from
// (60 + 80 i, 62) in data-set colour i, with a character width of 16 pixels.
constexpr int kDemoSymbolX0 = 60, kDemoSymbolStep = 80, kDemoSymbolY = 62, kDemoSymbolSize = 16;

// Draws the page into a context of at least kDrawingDemoWidth x kDrawingDemoHeight pixels and
// leaves the context's objects, colours and alignment as it found them.
void zDrawingLayerDemonstration(HDC hdc);
