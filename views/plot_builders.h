// The three builders: each fills the record of a described plot from its points, extents and
// grid. The record starts cleared; DescribePlot has set nothing in it, DrawPlot later sets the
// pointers to the data, colours, title, window and context.
#pragma once

#include "views/plot.h"

// A slice: x against the values in z, drawn by the XY chart.
void Make_F2D_Graph(PlotDescription &plot);
// A surface of z over the (x, y) points, drawn by the 3-D chart.
void Make_XYZ_Graph(PlotDescription &plot);
// A contour map of the grid in z, columns by rows. With mode 910, which every view passes,
// the map shows lines without filled bands.
void Make_Contour_Graph(PlotDescription &plot, int mode);

constexpr int CONTOUR_LINES_ONLY = 910;
// An image of the grid in z in the colour map: a logarithmic PSF from its floor up, the phase
// symmetric about zero, anything else over its own range.
void Make_Image_Graph(PlotDescription &plot, zColourMap map);

// The value range of a slice or surface: from the smallest value to the largest plus 0.001,
// so that flat data still span a range; withZero counts a 0 among the values.
struct ValueRange {
    double low, high;
};
ValueRange PlotValueRange(const std::vector<double> &values, bool withZero = false);
