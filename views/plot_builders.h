// The three builders: each fills the cleared graph record zG from the plot buffers and the
// plot globals (views/plot.h) and hands it to its chart. The paint sets zG.Title first.
#pragma once

// A slice: x against the values in z, drawn by the XY chart.
void Make_F2D_Graph();
// A surface of z over the (x, y) points, drawn by the 3-D chart. The views pass 402, which
// the builder does not use.
void Make_XYZ_Graph(int mode);
// A contour map of the grid in z, numxplotpts columns by numyplotpts rows. With mode 910,
// which every view passes, the map shows lines without filled bands.
void Make_Contour_Graph(int mode);

constexpr int SURFACE_MODE = 402;
constexpr int CONTOUR_LINES_ONLY = 910;

// The value range of a slice or surface: from the smallest value to the largest plus 0.001,
// so that flat data still span a range.
struct ValueRange {
    double low, high;
};
ValueRange PlotValueRange(const double *values, int count);
