// The legend's samples: the argument of zGraph::zDrawLegend.
#pragma once

// A line in the set's pen with its symbols at both ends (the XY chart).
inline constexpr int zLegendLineSamples = 0;
// A bar filled with the set's brush (the contour chart).
inline constexpr int zLegendBarSamples = 1;
// Entries written at most; further sets go without.
inline constexpr int zMaxLegendEntries = 10;
// The symbol of a later entry is looked for among the first this many points.
inline constexpr int zLegendSymbolSearchLimit = 1024;
