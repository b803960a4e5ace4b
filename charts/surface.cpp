// The 3-D surface chart. The box is an oblique projection: y runs along the front edge to the
// right, z straight up, and x recedes towards the upper right, XMax at the front and XMin at
// the back. The surface is a mesh of filled, outlined quadrilaterals painted from the back row
// to the front and, within a row, from YMin to YMax; each one covers what it overlaps, which
// is the whole of the hidden-surface treatment.
#include "charts/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "charts/legend.h"
#include "platform/win32.h"

namespace {

const char kSyntaxError[] = "Syntax Error in F(X,Y)...";
const char kTooFewSamples[] = "ERROR--Must Have >= 2 Samples in Data!";
const char kNoMemory[] = "Insufficient Memory--XYZ Graph";
const char *const kLimitsInvalid[3] = {
    "Cannot Draw Surface:  X Limits Invalid",
    "Cannot Draw Surface:  Y Limits Invalid",
    "Cannot Draw Surface:  Z Limits Invalid",
};

// The box takes a fifth of the window's width and a quarter of its height for the depth of x.
constexpr double kDepthAcross = 0.2;
constexpr double kDepthUp = 0.25;

// Colour bands: ten colours over z = -h .. +h, colour 5 at z = 0 (z itself, not z - ZMin).
int band_color(double z, double h)
{
    const double v = z / h * 10 * 0.5;
    if (!(v < 10)) return 9;  // also keeps zRound within the range of an int
    if (!(v > -10)) return 0;
    return std::clamp(zRound(v) + 5, 0, 9);
}

// A device offset, truncated toward zero. Offsets beyond the reach of any window are held at
// zPixelMargin so that the sum with the axes' edge stays an int; false for no number at all.
bool to_pixels(double offset, int &pixels)
{
    if (std::isnan(offset)) return false;
    pixels = static_cast<int>(std::clamp(offset, -double(zPixelMargin), double(zPixelMargin)));
    return true;
}

bool mapped(const POINT &p) { return p.x != zNoPixel; }

}  // namespace

// Draws the quadrilaterals of a surface as zDrawPolygon with the axis pen would, without
// selecting pen and brush anew for each one. A pen or brush that could not be made draws
// nothing of itself, as in zDrawPolygon.
class zXYZGraph::SurfacePainter {
public:
    explicit SurfacePainter(zXYZGraph &graph) : g(graph)
    {
        SelectObject(g.hDC, g.hAxisPen ? HGDIOBJ(g.hAxisPen) : GetStockObject(NULL_PEN));
        SetPolyFillMode(g.hDC, ALTERNATE);
    }
    ~SurfacePainter()
    {
        if (q >= 0) g.zSelectGraphColor(q);
    }
    void color(int index)
    {
        if (index == q) return;
        q = index;
        HBRUSH brush = g.hBrushes[q % 10];
        SelectObject(g.hDC, brush ? HGDIOBJ(brush) : GetStockObject(NULL_BRUSH));
    }
    void quadrilateral(const POINT (&quad)[4]) { Polygon(g.hDC, quad, 4); }

private:
    zXYZGraph &g;
    int q = -1;  // colour selected, none yet
};

zXYZGraph::zXYZGraph(const zGraphStruct *record)
    : zGraph(record), XToHorizontal(0), YToHorizontal(0), XToVertical(0),
      ZToVertical(0), FormulaText{}
{
    XMin = LimitMin[0];
    XMax = LimitMax[0];
    YMin = LimitMin[1];
    YMax = LimitMax[1];
    ZMin = LimitMin[2];
    ZMax = LimitMax[2];
    if (Formula) std::strncpy(FormulaText, Formula, sizeof FormulaText - 1);
}

bool zXYZGraph::zHasFormula() const { return FormulaText[0] != '\0'; }

bool zXYZGraph::zEvaluate(double x, double y, double &z)
{
    int ok = 0;
    z = parse(FormulaText, &ok, x, y);
    return ok == 1;
}

int zXYZGraph::zCheckForLegalData()
{
    // Equal or reversed limits would divide by zero or mirror the box.
    for (int axis = 0; axis < 3; ++axis) {
        const double lo = LimitMin[axis], hi = LimitMax[axis];
        if (!(std::isfinite(lo) && std::isfinite(hi) && lo < hi && std::isfinite(hi - lo))) {
            zDisplayError(kLimitsInvalid[axis]);
            return 0;
        }
    }
    if (zHasFormula()) {
        double z;
        if (!zEvaluate(XMin, YMin, z)) {
            zDisplayError(kSyntaxError);
            return 0;
        }
        return 1;
    }
    zGetSetsAndSamples();
    if (pZData && NumSamples >= 2) return 1;
    zDisplayError(kTooFewSamples);
    return 0;
}

// A surface that cannot be drawn is refused before the background is filled.
int zXYZGraph::zCheckBeforeInit() { return zCheckForLegalData(); }

int zXYZGraph::zPrepareData() { return 1; }

void zXYZGraph::zDrawGrid() {}

int zXYZGraph::zLegendSamples() { return zLegendBarSamples; }

int zXYZGraph::zInitGraph()
{
    const int result = zGraph::zInitGraph();
    zGetGridDimensions();
    return result;
}

void zXYZGraph::zGetGridDimensions()
{
    const double W = std::abs(double(RWindow.right) - RWindow.left);
    const double H = std::abs(double(RWindow.bottom) - RWindow.top);
    AxesWidth = zRound((AxesRight - AxesLeft) - kDepthAcross * W);
    AxesHeight = zRound(AxesBottom - (AxesTop + kDepthUp * H));
    XToHorizontal = kDepthAcross * W / (XMax - XMin);
    YToHorizontal = AxesWidth / (YMax - YMin);
    XToVertical = kDepthUp * H / (XMax - XMin);
    ZToVertical = AxesHeight / (ZMax - ZMin);
}

POINT zXYZGraph::zMapCoordinates(double x, double y, double z)
{
    const POINT none{zNoPixel, zNoPixel};
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return none;
    int across, up;
    if (!to_pixels((XMax - x) * XToHorizontal + (y - YMin) * YToHorizontal, across)) return none;
    if (!to_pixels((XMax - x) * XToVertical + (z - ZMin) * ZToVertical, up)) return none;
    return POINT{AxesLeft + across, AxesBottom - up};
}

void zXYZGraph::zDrawGraphAxes()
{
    zDrawBox();
    zShowNumbersAlongAxes();
}

// Drawn again over the surface, so that the edges lie on top of it.
void zXYZGraph::zDrawOverData() { zDrawBox(); }

void zXYZGraph::zDrawBox()
{
    zActivatePens();
    // The nine edges that do not meet the hidden corner (XMin, YMin, ZMin).
    const POINT p1 = zMapCoordinates(XMin, YMax, ZMin);
    const POINT p2 = zMapCoordinates(XMax, YMax, ZMin);
    const POINT p3 = zMapCoordinates(XMax, YMin, ZMin);
    const POINT p4 = zMapCoordinates(XMax, YMin, ZMax);
    const POINT p5 = zMapCoordinates(XMin, YMin, ZMax);
    const POINT p6 = zMapCoordinates(XMin, YMax, ZMax);
    const POINT p7 = zMapCoordinates(XMax, YMax, ZMax);
    zMoveTo(p1.x, p1.y);
    for (const POINT &p : {p2, p3, p4, p5, p6, p7, p2}) zLineTo(p.x, p.y);
    zMoveTo(p6.x, p6.y);
    zLineTo(p1.x, p1.y);
    zMoveTo(p7.x, p7.y);
    zLineTo(p4.x, p4.y);
}

void zXYZGraph::zShowNumbersAlongAxes()
{
    const int w = AveCharWidth;
    const struct {
        double value;
        int x, y;
    } places[6] = {
        {YMin, AxesLeft - w, AxesBottom + w / 4},
        {YMax, AxesLeft + AxesWidth - w, AxesBottom + w / 4},
        {XMax, AxesLeft + AxesWidth + 3 * w, AxesBottom - 2 * w},
        {XMin, AxesRight - w, AxesTop + AxesHeight + 2 * w},
        {ZMin, AxesRight + zRound(0.7 * w), AxesTop + AxesHeight - zRound(0.6 * w)},
        {ZMax, AxesRight + zRound(0.7 * w), AxesTop - zRound(1.6 * w)},
    };
    // Room for any finite limit written in full: a sign, 309 digits, the point and two
    // decimals. (Eleven characters hold only magnitudes below 10^8.)
    char text[320];
    for (const auto &place : places) {
        std::snprintf(text, sizeof text, "%-4.2lf", place.value);
        zDrawTextString(place.x, place.y, text);
    }
}

void zXYZGraph::zShowGraphTitles()
{
    bTitlesSet = 0;  // no axis titles on the box
    zGraph::zShowGraphTitles();
}

void zXYZGraph::zGetStepSizes(int &nx, int &ny)
{
    if (!zHasFormula()) {
        // One run of NumSamples values (y rising) per x step.
        ny = NumSamples - 1;
        nx = NumSamples > 0 ? NumPoints / NumSamples - 1 : -1;
    } else if (zSurfaceOptions() & zSurfaceCoarseGrid) {
        nx = zSurfaceCoarseSteps[0];
        ny = zSurfaceCoarseSteps[1];
    } else if (zSurfaceOptions() & zSurfaceFineGrid) {
        nx = zSurfaceFineSteps[0];
        ny = zSurfaceFineSteps[1];
    } else {
        nx = zSurfaceDefaultSteps[0];
        ny = zSurfaceDefaultSteps[1];
    }
}

int zXYZGraph::zDrawDataPoints()
{
    NumSets = (zSurfaceOptions() & zSurfaceColorBands) ? 10 : 1;
    zActivatePens();
    zActivateBrushes();
    HOURGLASS(1);
    int nx = -1, ny = -1;
    zGetStepSizes(nx, ny);
    if (nx >= 0 && ny >= 0) {
        POINT *previous = new (std::nothrow) POINT[std::size_t(ny) + 2];
        POINT *current = new (std::nothrow) POINT[std::size_t(ny) + 2];
        if (previous && current)
            zDrawSurfaceRows(previous, current, nx, ny);
        else
            zDisplayError(kNoMemory);
        delete[] previous;
        delete[] current;
    }
    HOURGLASS(0);
    return NumSets;
}

void zXYZGraph::zDrawSurfaceRows(POINT *previous, POINT *current, int nx, int ny)
{
    const bool formula = zHasFormula();
    const bool bands = (zSurfaceOptions() & zSurfaceColorBands) != 0;
    const double dx = (XMax - XMin) / nx;
    const double dy = (YMax - YMin) / ny;
    const double h = (ZMax - ZMin) * 0.5;
    // Every quadrilateral is filled with the brush of its colour and outlined in the axis
    // pen. Those stay selected for the whole surface and a brush is selected again only when
    // the colour changes; afterwards the context holds what drawing each one with
    // zDrawPolygon after zSelectGraphColor would have left: the pen and brush of the last
    // colour.
    SurfacePainter painter(*this);
    // x and y advance by repeated addition; the half step of tolerance lets the loops reach
    // XMax and YMax despite the rounding that accumulates. The counters only guard against
    // steps too small to move x or y at all.
    double x = XMin;
    for (int a = 0; a <= nx && x <= XMax + 0.5 * dx; ++a, x += dx) {
        double y = YMin;
        for (int b = 0; b <= ny && y <= YMax + 0.5 * dy; ++b, y += dy) {
            double z;
            if (!formula) {
                z = pZData[std::size_t(a) * (std::size_t(ny) + 1) + std::size_t(b)];
            } else if (!zEvaluate(x, y, z)) {
                zDisplayError(kSyntaxError);
                return;
            }
            current[b] = zMapCoordinates(x, y, z);
            // Escape held down is the only way to stop a long surface; the rest of the chart
            // is still drawn.
            if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) return;
            painter.color(bands && std::isfinite(z) ? band_color(z, h) : 0);
            // A point without a position (z not a number, such as 1/X at X = 0) leaves out
            // the quadrilaterals around it.
            if (a > 0 && b > 0 && mapped(previous[b - 1]) && mapped(previous[b]) &&
                mapped(current[b]) && mapped(current[b - 1])) {
                const POINT quad[4] = {previous[b - 1], previous[b], current[b], current[b - 1]};
                painter.quadrilateral(quad);
            }
        }
        std::swap(previous, current);
    }
}

void XYZGraph(const zGraphStruct *record)
{
    zXYZGraph *graph = new (std::nothrow) zXYZGraph(record);
    if (!graph) return;
    graph->zDraw();
    delete graph;
}
