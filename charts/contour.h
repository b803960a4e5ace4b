// The contour chart: a map of a rectangular grid of values drawn as lines of equal value,
// optionally over bands of colour between them.
//
// The grid is the record's z array, XMax columns of YMax values each, the first index (rows)
// varying fastest in memory and running left to right on the device, the second index
// (columns) running top to bottom. Levels are planned from the data's statistics; each level
// is followed through the grid cell by cell, first from the four sides, then from interior
// faces for the closed lines. Every finished line is drawn and kept as a polygon, which the
// filled pass paints largest first before the lines are drawn again on top.
#pragma once

#include <cstdint>

#include "charts/graph.h"

// A point in normalised plot coordinates: 0 to 1 across the axes rectangle (x from the left
// edge, y from the top edge).
struct dPoint {
    double x;
    double y;
};

// Where a line being traced stands: a cell (i, j) of the grid and the face (0..3) of that
// cell it came in through. Cells one step outside the grid occur when a line leaves it.
struct zPOINT {
    std::int16_t i;
    std::int16_t j;
    std::uint8_t face;
};

// Points of one line that are drawn and kept; a closed line keeps one more, its first again.
constexpr int zMaxPolyPoints = 200;
// Lines kept per tracing pass for the filled bands.
constexpr int zPolyStoreSize = 2000;
// Grid indices are 16-bit, so a grid holds at most this many values.
constexpr int zMaxContourGridPoints = 65536;
// A corner outside the grid reads as this value (and a corner reading it counts as outside).
constexpr double zOutOfGrid = 4294967295.0;
// Levels a plan may try from the first level up to the largest value. A plan that would try
// more (a step that is tiny next to the data's range) is not traced.
constexpr long zMaxContourLevels = 10000;

// One traced line as a closed polygon in device pixels.
struct zContourPoly {
    POINT Points[zMaxPolyPoints + 1];
    std::int32_t PointCount;  // vertices in use
    double Level;             // contour level of the line
    double Area;              // absolute area in square pixels, set by the filled pass
    std::int32_t bDrawn;      // painted already in the current filled pass
};

// Work record of one chart: the grid, its statistics, the level plan and the line being traced.
struct zContourData {
    std::int16_t Rows;  // grid size along the first index
    std::int16_t Cols;  // grid size along the second index
    double MaxValue;
    double MinValue;
    double MeanValue;
    double StdDev;            // sample standard deviation
    std::int16_t bAboveMean;  // the current level is at or above MeanValue
    double FirstLevel;
    double LevelStep;
    const double *pData;  // the grid values, borrowed
    // One byte per grid point: bit 1 marks the face towards the next value of the second
    // index, bit 2 the face towards the next value of the first index; (Rows + 1) x Cols bytes.
    std::uint8_t *pFaceMarks;
    dPoint *pLinePoints;  // points of the line being traced, room for 2 x Rows x Cols
    std::uint16_t NumLinePoints;
};

class zContour : public zGraph {
public:
    explicit zContour(const zGraphStruct *record);
    ~zContour();

    // The steps of the drawing sequence (zGraph::zDraw) that the contour chart draws its own way.
    // Levels are planned from the data as the lines are traced, so nothing is scaled: the data
    // step checks the grid. The map has no grid lines; its legend shows bars.
    int zCheckForLegalData() override;  // grid size, finite values, number of levels
    void zDrawGraphAxes() override;     // the frame only, no numbers
    int zDrawDataPoints() override;     // filled bands unless zLinesOnly, then the lines
    void zDrawGrid() override;          // nothing
    int zInitGraph() override;          // also the work record and the polygon store
    int zLegendSamples() override;      // zLegendBarSamples
    int zPrepareData() override;        // zCheckForLegalData
    void zTerminateGraph() override;

    // What the record's shared fields mean for a contour chart.
    bool zLinesOnly() const { return bShowGrid != 0; }   // no filled bands under the lines
    int zLevelsAsked() const { return NumContours; }     // 0 or less: the default 8
    double zGridColumns() const { return LimitMax[0]; }  // the x limit
    double zGridRows() const { return LimitMax[1]; }     // the y limit

    // Tracing (contour_tracing.cpp).
    void zDrawContourLines();
    void PlotContours(const double *data, int rows, int cols, double interval);
    int scaleData(double interval);  // 1 levels planned, 0 nothing to trace
    void startLine();
    void startEdge(double level, std::uint8_t side);
    void startInterior(double level);
    void drawLine(zPOINT *p, double level);
    double getDataPoint(const zPOINT *p, std::uint8_t k);
    void markInUse(const zPOINT *p, std::uint8_t k);
    std::uint8_t faceInUse(const zPOINT *p, std::uint8_t k);
    void initPoint();
    std::uint8_t savePoint(const zPOINT *p, double level);
    void lastPoint(double level);

    // Polygons and bands (contour_bands.cpp).
    void zDrawFilledContours();
    void SetPolyPoints(int count, const dPoint *points, double level);
    void AddBoundaryPts(const dPoint &first, const dPoint &last, dPoint *extra, int &n);
    dPoint ScalePoint(dPoint p);
    double GetPolyArea(int n, const POINT *points);

    std::int32_t NumLevels;    // levels requested: 8, or the record's NumContours
    std::int32_t NumPolys;     // lines kept in pPolyStore
    std::int32_t NumColumns;   // grid size along the second index
    std::int32_t NumRows;      // grid size along the first index
    std::int32_t bTraceDraws;  // 1: lines are drawn as they are traced; 0: only kept
    zContourPoly *pPolyStore;  // zPolyStoreSize records, owned
    zContourData *pWork;       // owned

private:
    void zReleaseContourStore();
};

// Draws the contour chart the record describes into its device context and returns when it is
// done; the record and everything it points to must stay valid until then.
void ContourGraph(const zGraphStruct *record);
