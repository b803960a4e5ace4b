// Helpers of the axis scaling shared by the chart types: the nice-number steps of the ticks
// and the conversion of a computed device position to a pixel.
#pragma once

#include "charts/graph.h"

// Ticks fall on 1, 2 or 5 times a power of ten: the smallest such step of at least a tenth of
// the range cuts it into 4 to 10 divisions that read well as numbers.
inline constexpr double zTickStepMultiples[] = {1.0, 2.0, 5.0};
inline constexpr int zNumTickStepMultiples = 3;

// A device position computed in floating point, truncated toward zero and kept within
// zPixelMargin of [low, high]; zNoPixel when the position is not a finite number.
int zPixelFromPosition(double position, long low, long high);
