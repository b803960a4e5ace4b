#include "views/registry.h"

HWND hwndChildRealInput = nullptr, hwndChildImaginaryInput = nullptr;
HWND hwndChildRealOutput = nullptr, hwndChildImaginaryOutput = nullptr, hwndChildModulusOutput = nullptr;
HWND hwndChildOutPlotXslice = nullptr, hwndChildOutPlotYslice = nullptr, hwndChildOutPlot3D = nullptr,
     hwndChildOutPlotCont = nullptr;
HWND hwndChildInRealPlot3D = nullptr, hwndChildInRealPlotCont = nullptr, hwndChildInPhasePlot3D = nullptr,
     hwndChildInPhasePlotCont = nullptr;
HWND hwndChildPhasePlotXslice = nullptr, hwndChildPhasePlotYslice = nullptr;
HWND hwndChildTransPlotXslice = nullptr, hwndChildTransPlotYslice = nullptr;

namespace {

using enum ViewShape;
using enum ViewGroup;

constexpr ViewPlacement table_at(double sixteenths) { return {sixteenths / 16, sixteenths / 16, 0.7, 0.7}; }
constexpr ViewPlacement plot_at(double fraction) { return {fraction, fraction, 0.85, 0.85}; }
constexpr ViewPlacement contour_at(double fraction) { return {fraction, fraction, 0.6375, 0.85}; }

}  // namespace

// The pupil views close with new settings; the PSF views, and the pupil slice plots with
// them, close with a new PSF, the slices first and the surfaces last.
const ViewEntry kViewRegistry[VIEW_COUNT] = {
    {0, IDM_TABLE_TRANSMISSION, &hwndChildRealInput, "Pupil Transmission Values", Table, false, Input, 0,
     table_at(0.5)},
    {1, IDM_TABLE_PHASE, &hwndChildImaginaryInput, "Pupil Phase Values", Table, false, Input, 1, table_at(1.5)},
    {2, IDM_TABLE_AMPLITUDE, &hwndChildRealOutput, "Amplitude of Field at Focus", Table, true, Output, 6,
     table_at(2.5)},
    {3, IDM_TABLE_FIELD_PHASE, &hwndChildImaginaryOutput, "Phase of Field at Focus", Table, true, Output, 7,
     table_at(3.5)},
    {6, IDM_TABLE_PSF, &hwndChildModulusOutput, "PSF Values (Intensity of Field at Focus)", Table, true, Output, 8,
     table_at(4.5)},
    {7, IDM_PLOT_PSF_XSLICE, &hwndChildOutPlotXslice, nullptr, XSlice, true, Output, 0, plot_at(0.11)},
    {8, IDM_PLOT_PSF_3D, &hwndChildOutPlot3D, nullptr, Surface, true, Output, 9, plot_at(0.13)},
    {9, IDM_PLOT_PSF_CONTOUR, &hwndChildOutPlotCont, nullptr, Contour, true, Output, 10, contour_at(0.14)},
    {10, IDM_PLOT_TRANS_3D, &hwndChildInRealPlot3D, "Pupil Tx vs. x and y in millimeters", Surface, false, Input, 2,
     plot_at(0.03)},
    {11, IDM_PLOT_TRANS_CONTOUR, &hwndChildInRealPlotCont, "Contour Plot of Pupil Transmission", Contour, false,
     Input, 3, contour_at(0.04)},
    {12, IDM_PLOT_PHASE_3D, &hwndChildInPhasePlot3D, "Pupil Phase vs. x and y in millimeters", Surface, false, Input,
     4, plot_at(0.08)},
    {13, IDM_PLOT_PHASE_CONTOUR, &hwndChildInPhasePlotCont, "Contour Plot of Pupil Phase-front", Contour, false,
     Input, 5, contour_at(0.09)},
    {14, IDM_PLOT_PSF_YSLICE, &hwndChildOutPlotYslice, nullptr, YSlice, true, Output, 1, plot_at(0.12)},
    {15, IDM_PLOT_PHASE_XSLICE, &hwndChildPhasePlotXslice, "Pupil Phase vs. x in millimeters", XSlice, false, Output,
     4, plot_at(0.06)},
    {16, IDM_PLOT_PHASE_YSLICE, &hwndChildPhasePlotYslice, "Pupil Phase vs. y in millimeters", YSlice, false, Output,
     5, plot_at(0.07)},
    {17, IDM_PLOT_TRANS_XSLICE, &hwndChildTransPlotXslice, "Pupil Tx vs. x in millimeters", XSlice, false, Output, 2,
     plot_at(0.01)},
    {18, IDM_PLOT_TRANS_YSLICE, &hwndChildTransPlotYslice, "Pupil Tx vs. y in millimeters", YSlice, false, Output, 3,
     plot_at(0.02)},
};

const ViewEntry *ViewForCommand(UINT id)
{
    for (const ViewEntry &view : kViewRegistry)
        if (view.commandId == id) return &view;
    return nullptr;
}

bool ViewGeometryFor(UINT id, int W, int H, ViewGeometry *g)
{
    const ViewEntry *view = ViewForCommand(id);
    if (!view || !g) return false;
    // Computed in floating point, truncated toward zero.
    g->x = static_cast<int>(view->placement.x * W);
    g->y = static_cast<int>(view->placement.y * H);
    g->width = static_cast<int>(view->placement.width * W);
    g->height = static_cast<int>(view->placement.height * H);
    return true;
}
