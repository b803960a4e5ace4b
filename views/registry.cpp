#include "views/registry.h"

#include <cstring>

HWND hwndChildRealInput = nullptr, hwndChildImaginaryInput = nullptr;
HWND hwndChildRealOutput = nullptr, hwndChildImaginaryOutput = nullptr,
     hwndChildModulusOutput = nullptr;
HWND hwndChildOutPlotXslice = nullptr, hwndChildOutPlotYslice = nullptr,
     hwndChildOutPlot3D = nullptr, hwndChildOutPlotCont = nullptr;
HWND hwndChildInRealPlot3D = nullptr, hwndChildInRealPlotCont = nullptr,
     hwndChildInPhasePlot3D = nullptr, hwndChildInPhasePlotCont = nullptr;
HWND hwndChildPhasePlotXslice = nullptr, hwndChildPhasePlotYslice = nullptr;
HWND hwndChildTransPlotXslice = nullptr, hwndChildTransPlotYslice = nullptr;
HWND hwndChildMTFTable = nullptr, hwndChildMTFPlotXslice = nullptr,
     hwndChildMTFPlotYslice = nullptr, hwndChildMTFPlot3D = nullptr, hwndChildMTFPlotCont = nullptr;
HWND hwndChildOutPlotImage = nullptr, hwndChildInRealPlotImage = nullptr,
     hwndChildInPhasePlotImage = nullptr, hwndChildMTFPlotImage = nullptr;

namespace {

using enum ViewShape;
using enum ViewGroup;
using enum PlotSource;

constexpr ViewPlacement table_at(double sixteenths)
{
    return {sixteenths / 16, sixteenths / 16, 0.7, 0.7};
}
constexpr ViewPlacement plot_at(double fraction) { return {fraction, fraction, 0.85, 0.85}; }
constexpr ViewPlacement contour_at(double fraction) { return {fraction, fraction, 0.6375, 0.85}; }

}  // namespace

// The pupil views close with new settings; the PSF views, and the pupil slice plots with
// them, close with a new PSF, the slices first and the surfaces last. A plot's colours count
// down the palette: surfaces from light grey (7), the PSF contours from yellow (14), the
// others all black (0). The MTF views close with the PSF views, after them; their slices
// draw the MTF in blue (9) and the diffraction limit in grey (8). Every plot's corner leaves
// room for its height of 85 % above the bottom of the client area. The image views come last
// in their groups; the PSF image needs light as the MTF views do, a dark PSF having no
// values to colour.
const ViewEntry kViewRegistry[VIEW_COUNT] = {
    {0,
     IDM_TABLE_TRANSMISSION,
     &hwndChildRealInput,
     "Pupil Transmission Values",
     Table,
     false,
     Input,
     0,
     table_at(0.5),
     {}},
    {1,
     IDM_TABLE_PHASE,
     &hwndChildImaginaryInput,
     "Pupil Phase Values",
     Table,
     false,
     Input,
     1,
     table_at(1.5),
     {}},
    {2,
     IDM_TABLE_AMPLITUDE,
     &hwndChildRealOutput,
     "Amplitude of Field at Focus",
     Table,
     true,
     Output,
     6,
     table_at(2.5),
     {}},
    {3,
     IDM_TABLE_FIELD_PHASE,
     &hwndChildImaginaryOutput,
     "Phase of Field at Focus",
     Table,
     true,
     Output,
     7,
     table_at(3.5),
     {}},
    {6,
     IDM_TABLE_PSF,
     &hwndChildModulusOutput,
     "PSF Values (Intensity of Field at Focus)",
     Table,
     true,
     Output,
     8,
     table_at(4.5),
     {}},
    {7,
     IDM_PLOT_PSF_XSLICE,
     &hwndChildOutPlotXslice,
     nullptr,
     XSlice,
     true,
     Output,
     0,
     plot_at(0.11),
     {"psf-x-slice", PSF, 0, "X-Slice (Y=0) of Point Spread Function", 0}},
    {8,
     IDM_PLOT_PSF_3D,
     &hwndChildOutPlot3D,
     nullptr,
     Surface,
     true,
     Output,
     9,
     plot_at(0.13),
     {"psf-3d", PSF, 7, nullptr, 0}},
    {9,
     IDM_PLOT_PSF_CONTOUR,
     &hwndChildOutPlotCont,
     nullptr,
     Contour,
     true,
     Output,
     10,
     contour_at(0.14),
     {"psf-contour", PSF, 14, "Point Spread Function", 2}},
    {10,
     IDM_PLOT_TRANS_3D,
     &hwndChildInRealPlot3D,
     "Pupil Tx vs. x and y in millimeters",
     Surface,
     false,
     Input,
     2,
     plot_at(0.03),
     {"transmission-3d", Transmission, 7, "Pupil Transmission", 0}},
    {11,
     IDM_PLOT_TRANS_CONTOUR,
     &hwndChildInRealPlotCont,
     "Contour Plot of Pupil Transmission",
     Contour,
     false,
     Input,
     3,
     contour_at(0.04),
     {"transmission-contour", Transmission, 0, "Pupil Transmission", 4}},
    {12,
     IDM_PLOT_PHASE_3D,
     &hwndChildInPhasePlot3D,
     "Pupil Phase vs. x and y in millimeters",
     Surface,
     false,
     Input,
     4,
     plot_at(0.08),
     {"phase-3d", Phase, 7, nullptr, 0}},
    {13,
     IDM_PLOT_PHASE_CONTOUR,
     &hwndChildInPhasePlotCont,
     "Contour Plot of Pupil Phase-front",
     Contour,
     false,
     Input,
     5,
     contour_at(0.09),
     {"phase-contour", Phase, 0, "Wavefront Phase Contours", 6}},
    {14,
     IDM_PLOT_PSF_YSLICE,
     &hwndChildOutPlotYslice,
     nullptr,
     YSlice,
     true,
     Output,
     1,
     plot_at(0.12),
     {"psf-y-slice", PSF, 0, "Y-Slice (X=0) of Point Spread Function", 0}},
    {15,
     IDM_PLOT_PHASE_XSLICE,
     &hwndChildPhasePlotXslice,
     "Pupil Phase vs. x in millimeters",
     XSlice,
     false,
     Output,
     4,
     plot_at(0.06),
     {"phase-x-slice", Phase, 0, "X-Slice (Y=0) of Pupil Phase Function", 0}},
    {16,
     IDM_PLOT_PHASE_YSLICE,
     &hwndChildPhasePlotYslice,
     "Pupil Phase vs. y in millimeters",
     YSlice,
     false,
     Output,
     5,
     plot_at(0.07),
     {"phase-y-slice", Phase, 0, "Y-Slice (X=0) of Pupil Phase Function", 0}},
    {17,
     IDM_PLOT_TRANS_XSLICE,
     &hwndChildTransPlotXslice,
     "Pupil Tx vs. x in millimeters",
     XSlice,
     false,
     Output,
     2,
     plot_at(0.01),
     {"transmission-x-slice", Transmission, 0, "X-Slice (Y=0) of Pupil Transmission Function", 0}},
    {18,
     IDM_PLOT_TRANS_YSLICE,
     &hwndChildTransPlotYslice,
     "Pupil Tx vs. y in millimeters",
     YSlice,
     false,
     Output,
     3,
     plot_at(0.02),
     {"transmission-y-slice", Transmission, 0, "Y-Slice (X=0) of Pupil Transmission Function", 0}},
    {19,
     IDM_TABLE_MTF,
     &hwndChildMTFTable,
     "MTF Values (Modulus of the Optical Transfer Function)",
     Table,
     true,
     Output,
     11,
     table_at(5.5),
     {},
     true},
    {20,
     IDM_PLOT_MTF_XSLICE,
     &hwndChildMTFPlotXslice,
     nullptr,
     XSlice,
     true,
     Output,
     12,
     plot_at(0.15),
     {"mtf-x-slice", MTF, 9, "X-Slice of Modulation Transfer Function", 0},
     true},
    {21,
     IDM_PLOT_MTF_YSLICE,
     &hwndChildMTFPlotYslice,
     nullptr,
     YSlice,
     true,
     Output,
     13,
     plot_at(0.10),
     {"mtf-y-slice", MTF, 9, "Y-Slice of Modulation Transfer Function", 0},
     true},
    {22,
     IDM_PLOT_MTF_3D,
     &hwndChildMTFPlot3D,
     nullptr,
     Surface,
     true,
     Output,
     14,
     plot_at(0.05),
     {"mtf-3d", MTF, 7, "Modulation Transfer Function", 0},
     true},
    {23,
     IDM_PLOT_MTF_CONTOUR,
     &hwndChildMTFPlotCont,
     nullptr,
     Contour,
     true,
     Output,
     15,
     contour_at(0.135),
     {"mtf-contour", MTF, 14, "Modulation Transfer Function", 4},
     true},
    {24,
     IDM_PLOT_PSF_IMAGE,
     &hwndChildOutPlotImage,
     nullptr,
     Image,
     true,
     Output,
     16,
     contour_at(0.125),
     {"psf-image", PSF, 0, "Point Spread Function", 0},
     true},
    {25,
     IDM_PLOT_TRANS_IMAGE,
     &hwndChildInRealPlotImage,
     "Pupil Transmission vs. x and y in millimeters",
     Image,
     false,
     Input,
     6,
     contour_at(0.035),
     {"transmission-image", Transmission, 0, "Pupil Transmission", 0}},
    {26,
     IDM_PLOT_PHASE_IMAGE,
     &hwndChildInPhasePlotImage,
     "Pupil Phase vs. x and y in millimeters",
     Image,
     false,
     Input,
     7,
     contour_at(0.085),
     {"phase-image", Phase, 0, "Pupil Phase in Waves", 0}},
    {27,
     IDM_PLOT_MTF_IMAGE,
     &hwndChildMTFPlotImage,
     nullptr,
     Image,
     true,
     Output,
     17,
     contour_at(0.145),
     {"mtf-image", MTF, 0, "Modulation Transfer Function", 0},
     true},
};

const ViewEntry *ViewForCommand(UINT id)
{
    for (const ViewEntry &view : kViewRegistry)
        if (view.commandId == id) return &view;
    return nullptr;
}

const ViewEntry *ViewForKind(int kind)
{
    for (const ViewEntry &view : kViewRegistry)
        if (view.kind == kind) return &view;
    return nullptr;
}

int PlotKindForName(const char *name)
{
    for (const ViewEntry &view : kViewRegistry)
        if (name && view.plot.name && !std::strcmp(view.plot.name, name)) return view.kind;
    return -1;
}

const char *PlotNameForKind(int kind)
{
    const ViewEntry *view = ViewForKind(kind);
    return view ? view->plot.name : nullptr;
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
