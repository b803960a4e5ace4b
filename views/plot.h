// The plot views (kinds 7 to 18): slices, 3-D surfaces and contour maps of the pupil
// transmission, the pupil phase and the PSF. A plot keeps nothing of its own: every paint
// copies the plotted part of its array into the plot buffers, fills the one graph record zG
// through a builder and lets the chart draw the whole graph.
#pragma once

#include "views/program_windows.h"  // hdc, the context of the paint under way

#include <cstdint>

#include "charts/graph.h"
#include "platform/win32.h"

// Plot buffers besides x, y, z (optics/settings.h), room for the whole 128 x 128 grid.
extern std::int32_t sym[128 * 128];  // symbol code per point; a change of code starts a data set
extern int ij;                       // running point index while the buffers are filled
extern int numplotpts;               // points filled
extern int numxplotpts, numyplotpts;  // columns and rows of a contour grid
extern int num_contours;             // contour levels asked for by the last contour view
extern double graph_xneg_extent, graph_xpos_extent;  // first and last x of the points
extern double graph_yneg_extent, graph_ypos_extent;  // first and last y (3-D and contour)
extern COLORREF PlotColorArray[10];  // data-set colours handed to the chart
extern zGraphStruct zG;              // the one graph record, cleared before every plot
extern RECT theRect;                 // client rectangle of the plot being drawn
extern const char *const LegendNames[10];

// Draws plot `kind` into the client rectangle of window, dc being the context of the paint
// under way (BeginPaint already ran).
void PaintPlot(HWND window, HDC dc, int kind);
// The same drawing into any context: the plot as its window paints it when its client
// rectangle is client. Also the export of a picture.
void DrawPlot(HDC dc, const RECT &client, int kind);

// The command-line names of the twelve plot views, in kind order 7 to 18.
struct PlotViewName {
    int kind;
    const char *name;  // "psf-x-slice", "psf-3d", ...
};
extern const PlotViewName kPlotViewNames[12];
// The kind a name stands for, or -1.
int PlotKindForName(const char *name);
const char *PlotNameForKind(int kind);
