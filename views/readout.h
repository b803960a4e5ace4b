// The cursor readout of the plot views: what a view's last paint drew, kept so that the
// sample under the pointer can be named in the status bar without describing the plot again.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"
#include "views/plot.h"

struct PlotReadout {
    // Grid: an image (samples fill the axes, the first row at the bottom) or a contour map
    // (samples on the lines through the corners, the first row at the top); Slice: the points
    // of an XY chart. None: a 3-D surface or nothing painted yet.
    enum class Kind { None, Image, Contour, Slice } kind = Kind::None;
    RECT axes{};
    int columns = 0, rows = 0;              // a grid, the column index fastest in values
    std::vector<double> xs, ys;             // a grid: x of each column, y of each row; a slice: x
    std::vector<double> values;             // as the readout shows them
    double low = 0, high = 0;               // a slice: its x axis range
    const char *xName = "x", *yName = "y";  // "fx", "fy" for frequencies
    std::string unit;                       // of the positions
    std::string name;                       // of the value: "PSF", "log PSF", "phase", ...
    std::string valueUnit;                  // " waves" for the phase
    bool withLog = false;                   // also the power of ten relative to 100
};

// The readout of a plot as DrawPlot draws it into its window.
PlotReadout ReadoutOf(const PlotDescription &plot);
// The status line for the pointer at client point (x, y): the position of the sample under it
// (a slice: the nearest point) and its value, as "x = -2.58 µm, y = 0.86 µm, PSF = 12.41 (log
// -0.906)"; empty outside the axes rectangle or for a view without a readout.
std::string ReadoutText(const PlotReadout &readout, int x, int y);
