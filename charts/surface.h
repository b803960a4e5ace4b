// The 3-D surface chart: z = f(x, y) over a rectangle of the x-y plane, drawn as a box in
// oblique projection with the surface inside it. The surface comes from the record's z data (a
// grid stored as runs of constant x, one run per x step) or, when the record's formula text is
// not empty, from F(X,Y) evaluated at every point of a grid chosen by the option bits.
#pragma once

#include "charts/graph.h"
#include "charts/parse.h"

// Option bits of the record's NumContours for the 3-D chart.
constexpr int zSurfaceCoarseGrid = 1;  // formula grid 40 x 25 steps
constexpr int zSurfaceFineGrid = 2;    // formula grid 200 x 100 steps (coarse wins)
constexpr int zSurfaceColorBands = 4;  // each quadrilateral coloured by its z value
// Formula grids in steps along x and y; neither grid bit gives the default one.
constexpr int zSurfaceCoarseSteps[2] = {40, 25};
constexpr int zSurfaceFineSteps[2] = {200, 100};
constexpr int zSurfaceDefaultSteps[2] = {60, 50};

class zXYZGraph : public zGraph {
public:
    // The working ranges are the record's limits: a surface is never scaled to its data.
    explicit zXYZGraph(const zGraphStruct *record);
    ~zXYZGraph() override = default;

    // The steps of the drawing sequence (zGraph::zDraw) that the surface draws its own way. The
    // limits and the formula are checked before anything is drawn; the ranges are the limits,
    // so nothing is scaled. The box is drawn before the surface and its edges again over it.
    int zCheckBeforeInit() override;    // zCheckForLegalData
    int zCheckForLegalData() override;  // limits; the formula, or at least 2 samples of data
    void zDrawGraphAxes() override;     // the box and the limits beside it
    int zDrawDataPoints() override;     // the surface; returns the number of colours in use
    void zDrawGrid() override;          // nothing
    void zDrawOverData() override;      // the box's edges again
    int zInitGraph() override;          // also the projection
    int zLegendSamples() override;      // zLegendBarSamples
    int zPrepareData() override;        // nothing to do
    void zShowGraphTitles() override;   // the main title only

    // The nine visible edges of the box.
    void zDrawBox();

    // Sets AxesWidth (front edge, the y axis), AxesHeight (the z axis) and the four factors.
    void zGetGridDimensions();
    // The device point of (x, y, z); a coordinate that is not a finite number gives
    // {zNoPixel, zNoPixel}, which no quadrilateral uses.
    POINT zMapCoordinates(double x, double y, double z);
    // The six limits beside the box.
    void zShowNumbersAlongAxes();
    void zGetStepSizes(int &nx, int &ny);

    double XToHorizontal;  // device x per unit of (XMax - x)
    double YToHorizontal;  // device x per unit of (y - YMin)
    double XToVertical;    // device y per unit of (XMax - x)
    double ZToVertical;    // device y per unit of (z - ZMin)

private:
    class SurfacePainter;  // keeps pen and brush selected across the quadrilaterals
    bool zHasFormula() const;
    // The record's NumContours, which a surface reads as the option bits above.
    int zSurfaceOptions() const { return NumContours; }
    // F(X,Y) at (x, y); false when the text does not parse.
    bool zEvaluate(double x, double y, double &z);
    // The surface from the back row to the front, in two rows of ny + 2 points each.
    void zDrawSurfaceRows(POINT *previous, POINT *current, int nx, int ny);

    // The evaluator writes the formula back in upper case; the record's text is read-only,
    // so it works on this copy. A text too long for the evaluator keeps one character more
    // than it accepts, so that it is refused rather than cut into another formula.
    char FormulaText[PARSE_MAX_TEXT + 2];
};

// Draws the whole chart described by the record into its device context and returns when it
// is done; the record and everything it points to must stay valid until then.
void XYZGraph(const zGraphStruct *record);
