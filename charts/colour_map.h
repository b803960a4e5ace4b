// Colour maps: a position from 0 (the lowest value shown) to 1 (the highest) as a colour.
#pragma once

#include "platform/win32types.h"

enum class zColourMap : int {
    Viridis = 0,    // perceptually uniform, dark violet to yellow: the default
    Grey = 1,       // black to white
    Diverging = 2,  // blue, white at 0.5, red: for values either side of zero
};

inline constexpr int zColourMapSize = 256;
// Samples that are not finite numbers are drawn in this colour, which no map uses.
inline constexpr COLORREF zNoDataColour = RGB(255, 0, 255);

// The table entry a position falls in: [k / 256, (k + 1) / 256) is entry k, positions below 0
// give entry 0 and from 1 up entry 255.
int zColourIndex(double t);
// The colour of a position in a map; zNoDataColour for a position that is not finite.
COLORREF zColourAt(zColourMap map, double t);
