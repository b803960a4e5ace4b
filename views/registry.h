// The view registry: the twenty-six views with, for each, its kind, the menu command that opens
// it, its window handle, title, shape, the group that closes it, where it is placed and, for a
// plot, what it draws. The main window opens views from it, ChildWndProc learns from it which
// view a window is, the group functions close views by it and the plots are built from it.
#pragma once

#include "platform/win32.h"
#include "views/command_ids.h"

// One handle per view, null while the view is closed.
extern HWND hwndChildRealInput, hwndChildImaginaryInput;
extern HWND hwndChildRealOutput, hwndChildImaginaryOutput, hwndChildModulusOutput;
extern HWND hwndChildOutPlotXslice, hwndChildOutPlotYslice, hwndChildOutPlot3D,
    hwndChildOutPlotCont;
extern HWND hwndChildInRealPlot3D, hwndChildInRealPlotCont, hwndChildInPhasePlot3D,
    hwndChildInPhasePlotCont;
extern HWND hwndChildPhasePlotXslice, hwndChildPhasePlotYslice;
extern HWND hwndChildTransPlotXslice, hwndChildTransPlotYslice;
extern HWND hwndChildMTFTable, hwndChildMTFPlotXslice, hwndChildMTFPlotYslice, hwndChildMTFPlot3D,
    hwndChildMTFPlotCont;
extern HWND hwndChildOutPlotImage, hwndChildInRealPlotImage, hwndChildInPhasePlotImage,
    hwndChildMTFPlotImage;

// What closes a view: new settings (DestroyInputChildWindows, the pupil views) or a new PSF
// (DestroyOutputChildWindows, the PSF views and the pupil slice plots).
enum class ViewGroup { Input, Output };
enum class ViewShape { Table, XSlice, YSlice, Surface, Contour, Image };

// Position and size as fractions of the main window's client width and height: the tables
// cascade in steps of 1/16, the plots in steps of 1 %, contour plots are three quarters as
// wide as the other plots.
struct ViewPlacement {
    double x, y, width, height;
};

// The array a plot view shows: the pupil transmission r_input, the pupil phase phase_input,
// the PSF m_output or its MTF. Tables name their arrays themselves (views/table.cpp).
enum class PlotSource { None, Transmission, Phase, PSF, MTF };

// What a plot view draws; all zero and null for a table.
struct PlotStyle {
    const char *name;  // on the command line: "psf-x-slice", "psf-3d", ...
    PlotSource source;
    int colourStart;    // data set k is drawn in palette entry colourStart - k
    const char *title;  // above the chart; null: composed from the figures at each paint
    int contours;       // levels of a contour map
};

struct ViewEntry {
    int kind;           // ChildKind: 0..3, 6 and 19 tables, 7..18 and 20..27 plots
    UINT commandId;     // the menu command that opens it
    HWND *handle;       // its handle global
    const char *title;  // null: built from the PSF plot settings when it opens
    ViewShape shape;
    bool needsPSF;  // refuses to open before Create PSF
    ViewGroup group;
    int closeRank;  // place in its group's closing order, from 0
    ViewPlacement placement;
    PlotStyle plot;
    bool needsLight = false;  // shows the MTF, which a dark PSF does not have
};

constexpr int VIEW_COUNT = 26;
// In kind order: a window's kind is that of the first row whose handle it is.
extern const ViewEntry kViewRegistry[VIEW_COUNT];

// The row of the view that command id opens, or null.
const ViewEntry *ViewForCommand(UINT id);
// The row of view kind, or null.
const ViewEntry *ViewForKind(int kind);
// The plot kind a command-line name stands for, or -1; the name of a plot kind, or null.
int PlotKindForName(const char *name);
const char *PlotNameForKind(int kind);

// Window placement of a view for a main window client area of W x H pixels, truncated toward
// zero.
struct ViewGeometry {
    int x, y, width, height;
};
// False for an id that opens no view.
bool ViewGeometryFor(UINT id, int clientWidth, int clientHeight, ViewGeometry *geometry);
