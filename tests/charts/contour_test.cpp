// The contour chart on a recording device context: the level plan, lines traced through small
// grids worked out by hand, lines closed along the boundary, the filled bands, and the charts
// that are refused. Grid values are listed in memory order (the first index fastest).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "charts/contour.h"
#include "platform/dc.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "tests/charts/recorded.h"

namespace {

const std::vector<double> kBump3{0, 0, 0, 0, 1, 0, 0, 0, 0};  // 3 x 3, 1 in the centre

// A contour chart's record over a grid, drawn into a 400 x 300 recording context, without a
// legend; colour k of the bands is RGB(20 k + 1, 7, 9).
struct Record {
    RECT window{0, 0, 400, 300};
    HDC dc = CreateRecordingDC(400, 300);
    std::vector<double> grid;
    COLORREF colors[10];
    zGraphStruct record{};
    Record(double rows, double cols, std::vector<double> values) : grid(std::move(values))
    {
        for (int k = 0; k < 10; ++k) colors[k] = RGB(20 * k + 1, 7, 9);
        record.hDC = dc;
        record.pWindowRect = &window;
        record.pZData = grid.data();
        record.pGraphColors = colors;
        record.XMax = cols;
        record.YMax = rows;
        record.LegendStyle = 2;
        record.bShowGrid = 1;  // lines only
    }
    ~Record() { DeleteDC(dc); }
};

// A contour chart of a grid, initialised and checked. axes() puts the axes rectangle at
// (0, 0)-(width, height), so a normalised point (x, y) lands on (width x, height y) truncated.
struct Chart : Record {
    std::unique_ptr<zContour> g;
    Chart(int rows, int cols, std::vector<double> values, int contours = 0, int linesOnly = 1)
        : Record(rows, cols, std::move(values))
    {
        testing_begin();
        record.NumContours = contours;
        record.bShowGrid = linesOnly;
        g = std::make_unique<zContour>(&record);
        g->zInitGraph();
        g->zCheckForLegalData();
    }
    ~Chart()
    {
        g->zTerminateGraph();
        g.reset();
        testing_end();
    }
    void axes(int width, int height)
    {
        g->AxesLeft = 0;
        g->AxesTop = 0;
        g->AxesRight = width;
        g->AxesBottom = height;
    }
    std::vector<RecordedOp> ops(RecordedKind kind) const { return only(dc, kind); }
};

// Device points agree within the one pixel that truncating a level's rounding error can cost.
bool near(const std::vector<POINT> &a, const std::vector<POINT> &b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (std::abs(a[k].x - b[k].x) > 1 || std::abs(a[k].y - b[k].y) > 1) return false;
    return true;
}

std::string route_text(const dPoint *points, int count)
{
    std::ostringstream out;
    for (int k = 0; k < count; ++k) out << "(" << points[k].x << "," << points[k].y << ")";
    return out.str();
}

TEST(ContourLevels, PlanComesFromTheStatisticsOfTheGrid)
{
    const struct {
        const char *name;
        int rows, cols;
        std::vector<double> values;
        int contours;
        double interval;
        int planned;
        double mean, first, step;
    } rows[] = {
        // mean 1/9, sd sqrt((1 - 1/9) / 8) = 1/3, step 4/3/8 = 1/6 -> p 0.1, floor(2.17) = 2:
        // 0.2; first 0 - floor(3.5) x 0.2 = -0.6
        {"centre bump", 3, 3, kBump3, 0, 0.0, 1, 1.0 / 9, -0.6, 0.2},
        // sd sqrt((12 - 16/4) / 3) = 1.633, step 0.816 -> 0.8; about the mean 1:
        // floor(1.25) x 0.8 - 3 x 0.8 = -1.6 (from the minimum it would be -4.0)
        {"straddling zero", 2, 2, {-1, 1, 1, 3}, 0, 0.0, 1, 1.0, -1.6, 0.8},
        // mean 71/9, sd sqrt((649 - 71^2/9) / 8) = 3.33, 2 levels: 6.67 -> 7; floor(1.13) x 7 =
        // 7, lowered once to 0 (0 - 7 is not above -1)
        {"lowered once", 3, 3, {-1, 9, 9, 9, 9, 9, 9, 9, 9}, 2, 0.0, 1, 71.0 / 9, 0.0, 7.0},
        // interval 0.0125 over a range of 1: 81 levels, 0.025: 41, 0.05: 21; 0 - 10 x 0.05
        {"interval doubled", 3, 3, kBump3, 0, 0.0125, 1, 1.0 / 9, -0.5, 0.05},
        // three levels: 4/3/3 = 0.44 -> 0.4; 0 - floor(1) x 0.4
        {"interval -3", 3, 3, kBump3, 0, -3.0, 1, 1.0 / 9, -0.4, 0.4},
        // extremes -1 and 0 do not straddle zero: from the minimum, floor(-5) x 0.2 - 0.6
        {"maximum 0", 3, 3, {0, 0, 0, 0, -1, 0, 0, 0, 0}, 0, 0.0, 1, -1.0 / 9, -1.6, 0.2},
        {"flat", 2, 2, {5, 5, 5, 5}, 0, 0.0, 0, 5.0, 0, 0},
        {"no levels from -0.5", 3, 3, kBump3, 0, -0.5, 0, 1.0 / 9, 0, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Chart c(row.rows, row.cols, row.values, row.contours);
        zContourData &w = *c.g->pWork;
        w.pData = c.grid.data();
        w.Rows = static_cast<std::int16_t>(row.rows);
        w.Cols = static_cast<std::int16_t>(row.cols);
        const int planned = c.g->scaleData(row.interval);
        EXPECT_EQ(planned, row.planned);
        EXPECT_DOUBLE_EQ(w.MeanValue, row.mean);
        if (!planned || !row.planned) continue;
        EXPECT_NEAR(w.FirstLevel, row.first, 1e-12);
        EXPECT_DOUBLE_EQ(w.LevelStep, row.step);
    }
}

using Lines = std::vector<std::vector<POINT>>;  // stored polygons, in store order

// Levels 0.2 .. 0.8 of kBump3 on 2000 x 2000 pixels: diamonds of half-width 1000 (1 - level)
// round (1000, 1000), each found by the interior scan at face 0 of cell (1, 1), closed where
// it began, then stored with its first point once more.
const Lines kBumpLines = {
    {{1000, 1800}, {1800, 1000}, {1000, 200}, {200, 1000}, {1000, 1800}, {1000, 1800}},
    {{1000, 1600}, {1600, 1000}, {1000, 400}, {400, 1000}, {1000, 1600}, {1000, 1600}},
    {{1000, 1400}, {1400, 1000}, {1000, 600}, {600, 1000}, {1000, 1400}, {1000, 1400}},
    {{1000, 1200}, {1200, 1000}, {1000, 800}, {800, 1000}, {1000, 1200}, {1000, 1200}}};
// Value = second index, levels 0.4 .. 1.6 (step 0.4): each line enters on side 2 (x = 1000),
// leaves on side 0 (x = 0), and is closed round the nearer corners.
const Lines kRampLines = {
    {{1000, 200}, {500, 200}, {0, 200}, {0, 200}, {0, 0}, {1000, 0}, {1000, 200}},
    {{1000, 400}, {500, 400}, {0, 400}, {0, 400}, {0, 0}, {1000, 0}, {1000, 400}},
    {{1000, 600}, {500, 600}, {0, 600}, {0, 600}, {0, 1000}, {1000, 1000}, {1000, 600}},
    {{1000, 800}, {500, 800}, {0, 800}, {0, 800}, {0, 1000}, {1000, 1000}, {1000, 800}}};
// Side 0 reads 0, 1, 0 and the far row 2, 2, 2; levels -1, 0, 1 (step 1). At level 1 side 0
// starts a line only on the face from 1 down to 0 (t = 0, at the point itself); side 3 (2 down
// to 0) starts the second line, which ends on that same point.
const Lines kBoundaryLevelLines = {{{0, 500}, {500, 1000}, {500, 1000}, {0, 1000}, {0, 500}},
                                   {{500, 0}, {0, 500}, {0, 500}, {0, 0}, {500, 0}}};
// The two ties at level 1 (step 1). Column 0 reads 2, 1, 2, column 1 zeros: corner f+3 of cell
// (0, 0), (1, 0), is at the level and counts as below, so the line leaves through face 3 at
// that corner; the part beyond it is never started (no face there has its earlier corner at or
// above 1 and its later one below).
const Lines kCorner3Lines = {{{0, 500}, {500, 0}, {500, 0}, {0, 0}, {0, 500}}};
// Column 0 reads 2, 2, 0, column 1 0, 1, 0: corner f+2 of cell (0, 0), (1, 1), is at the level
// and counts as above, so the line turns through face 1 and leaves at (1, 1); side 1 then
// starts a second line at that point.
const Lines kCorner2Lines = {
    {{0, 500}, {500, 1000}, {500, 1000}, {0, 1000}, {0, 500}},
    {{500, 1000}, {750, 0}, {750, 0}, {1000, 0}, {1000, 1000}, {500, 1000}}};
// A saddle: corners (0,0) and (1,1) at 1, the others 0, mean 0.5, levels 0.3, 0.6, 0.9. Below
// the mean the low corners are cut off, at or above it the high ones.
const Lines kSaddleLines = {{{0, 700}, {300, 1000}, {300, 1000}, {0, 1000}, {0, 700}},
                            {{1000, 300}, {700, 0}, {700, 0}, {1000, 0}, {1000, 300}},
                            {{0, 400}, {400, 0}, {400, 0}, {0, 0}, {0, 400}},
                            {{1000, 600}, {600, 1000}, {600, 1000}, {1000, 1000}, {1000, 600}},
                            {{0, 100}, {100, 0}, {100, 0}, {0, 0}, {0, 100}},
                            {{1000, 900}, {900, 1000}, {900, 1000}, {1000, 1000}, {1000, 900}}};

TEST(ContourTracing, LinesOfSmallGridsAreStoredInTracingOrder)
{
    const struct {
        const char *name;
        int rows, cols, contours, side;  // side: of the square axes, in pixels
        std::vector<double> values;
        const Lines &lines;
    } rows[] = {
        {"bump", 3, 3, 0, 2000, kBump3, kBumpLines},
        {"ramp", 3, 3, 0, 1000, {0, 0, 0, 1, 1, 1, 2, 2, 2}, kRampLines},
        {"level on the boundary", 2, 3, 3, 1000, {0, 2, 1, 2, 0, 2}, kBoundaryLevelLines},
        {"corner f+3 at the level", 3, 2, 3, 1000, {2, 1, 2, 0, 0, 0}, kCorner3Lines},
        {"corner f+2 at the level", 3, 2, 3, 1000, {2, 2, 0, 0, 1, 0}, kCorner2Lines},
        {"saddle", 2, 2, 0, 1000, {1, 0, 0, 1}, kSaddleLines},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Chart c(row.rows, row.cols, row.values, row.contours);
        c.axes(row.side, row.side);
        c.g->zDrawContourLines();
        EXPECT_EQ(c.g->NumPolys, static_cast<int>(row.lines.size()));
        for (std::size_t k = 0; k < row.lines.size() && k < std::size_t(c.g->NumPolys); ++k) {
            const zContourPoly &poly = c.g->pPolyStore[k];
            const std::vector<POINT> stored(poly.Points, poly.Points + poly.PointCount);
            EXPECT_TRUE(near(stored, row.lines[k])) << "line " << k << ": " << points_text(stored);
        }
        EXPECT_TRUE(testing_message_boxes().empty());
    }
}

// A line that ends on the boundary goes back to its first point along it: through the corner
// two adjacent edges share, or round the side with the shorter route between opposite edges
// (on a tie the second route). Lengths, first route against second: (0, 0.3) to (1, 0.4):
// 0.3 + 1 + 0.4 against 0.7 + 1 + 0.6; (1, 0.3) to (0, 0.2): 0.8 + 1 + 0.7 against 0.2 + 1 +
// 0.3; (0.3, 0) to (0.8, 1): 0.7 + 1 + 0.2 against 0.8 + 1 + 0.3; (0.3, 1) to (0.2, 0): 0.2 +
// 1 + 0.3 against 0.8 + 1 + 0.7. A corner counts for x = 0 first, then x = 1.
TEST(ContourPolygons, BoundaryRouteLeadsFromTheLastPointBackToTheFirst)
{
    const dPoint c00{0, 0}, c10{1, 0}, c01{0, 1}, c11{1, 1};
    const struct {
        dPoint last, first;
        std::vector<dPoint> corners;  // between the last point and the first
        bool closed;
    } rows[] = {
        {{0, 0.3}, {0, 0.8}, {}, true},         {{0, 0.3}, {1, 0.4}, {c00, c10}, true},
        {{0, 0.5}, {1, 0.5}, {c01, c11}, true}, {{0, 0.3}, {0.5, 0}, {c00}, true},
        {{0, 0.3}, {0.5, 1}, {c01}, true},      {{0, 0}, {1, 0}, {c00, c10}, true},
        {{1, 0.3}, {1, 0.6}, {}, true},         {{1, 0.3}, {0, 0.2}, {c10, c00}, true},
        {{1, 0.8}, {0, 0.9}, {c11, c01}, true}, {{1, 0.3}, {0.5, 0}, {c10}, true},
        {{1, 0.3}, {0.5, 1}, {c11}, true},      {{0.3, 0}, {0.7, 0}, {}, true},
        {{0.3, 0}, {0.8, 1}, {c10, c11}, true}, {{0.5, 0}, {0.5, 1}, {c00, c01}, true},
        {{0.3, 0}, {1, 0.5}, {c10}, true},      {{0.3, 0}, {0, 0.5}, {c00}, true},
        {{0.3, 1}, {0.6, 1}, {}, true},         {{0.3, 1}, {0.2, 0}, {c01, c00}, true},
        {{0.8, 1}, {0.9, 0}, {c11, c10}, true}, {{0.3, 1}, {1, 0.5}, {c11}, true},
        {{0.3, 1}, {0, 0.5}, {c01}, true},      {{0.5, 0.5}, {0, 0.5}, {}, false},
        {{0, 0.5}, {0.5, 0.5}, {}, false},
    };
    Chart c(3, 3, kBump3);
    for (const auto &row : rows) {
        dPoint extra[4];
        int n = -1;
        c.g->AddBoundaryPts(row.first, row.last, extra, n);
        std::vector<dPoint> expected;
        if (row.closed) {
            expected.push_back(row.last);
            expected.insert(expected.end(), row.corners.begin(), row.corners.end());
            expected.push_back(row.first);
        }
        EXPECT_EQ(route_text(extra, n), route_text(expected.data(), int(expected.size())))
            << route_text(&row.last, 1) << " back to " << route_text(&row.first, 1);
    }
}

std::vector<dPoint> circle(int count)  // count - 1 points round (0.5, 0.5), then the first again
{
    std::vector<dPoint> p;
    for (int k = 0; k < count - 1; ++k)
        p.push_back({0.5 + 0.25 * std::cos(6.283185307179586 * k / (count - 1)),
                     0.5 + 0.25 * std::sin(6.283185307179586 * k / (count - 1))});
    p.push_back(p.front());
    return p;
}

TEST(ContourPolygons, LineIsCutAfter200Points)
{
    std::vector<dPoint> across;  // 250 points along y = 0.5 from the x = 0 edge to x = 1
    for (int k = 0; k < 250; ++k) across.push_back({k / 249.0, 0.5});
    const struct {
        const char *name;
        std::vector<dPoint> points;
        int stored, drawn;
        const char *tail;  // the last stored points
    } rows[] = {
        {"rising", {{0, 0.2}, {1, 0.3}}, 6, 1, "(0,200)(1000,300)(1000,300)(1000,0)(0,0)(0,200)"},
        {"closed, 40 points", circle(40), 41, 39, "(750,500)(750,500)"},
        {"edge to edge, 250 points", across, 200, 199, "(799,500)"},  // 1000 x 199/249 = 799.2
        {"closed, 250 points", circle(250), 201, 199, "(750,500)"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Chart c(3, 3, kBump3);
        c.axes(1000, 1000);
        ClearRecordedOps(c.dc);
        c.g->SetPolyPoints(static_cast<int>(row.points.size()), row.points.data(), 0.5);
        const int stored = c.g->NumPolys ? c.g->pPolyStore[0].PointCount : 0;
        EXPECT_EQ(stored, row.stored);
        EXPECT_EQ(c.ops(RecordedKind::Line).size(), static_cast<std::size_t>(row.drawn));
        if (!stored || stored != row.stored) continue;
        const std::string tail = row.tail;
        const POINT *p = c.g->pPolyStore[0].Points;
        const auto length = std::count(tail.begin(), tail.end(), '(');
        EXPECT_EQ(points_text(std::vector<POINT>(p + stored - length, p + stored)), tail);
        EXPECT_EQ(c.g->pPolyStore[0].Level, 0.5);
    }
}

TEST(ContourBands, PolygonsArePaintedLargestFirstInTheBandOfTheirLevel)
{
    const struct {
        const char *name;
        int rows, cols, contours, width, height;
        std::vector<double> values;
        std::vector<int> bands, firstYs;  // of each polygon painted, in order
    } rows[] = {
        // Centre 3, 3 levels of step 1: level 1 is a third of the way up, 3 x 1/3 - 0.5 = 0.5
        // rounds up to band 1; level 2 gives 1.5, band 2. y = 1000 (1 + (3 - L)/3).
        {"a third up", 3, 3, 3, 2000, 2000, {0, 0, 0, 0, 3, 0, 0, 0, 0}, {1, 2}, {1666, 1333}},
        // With no height every polygon has area 0 and none is painted.
        {"zero area", 3, 3, 0, 2000, 0, kBump3, {}, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Chart c(row.rows, row.cols, row.values, row.contours, 0);
        c.axes(row.width, row.height);
        ClearRecordedOps(c.dc);
        c.g->zDrawDataPoints();
        const std::vector<RecordedOp> ops = RecordedOps(c.dc);
        // The bands first, then the lines: four sides of every diamond.
        const std::size_t n = row.bands.size();
        std::string want;
        if (n) want.append("P").append(std::to_string(n)).append(" ");
        want.append("L").append(std::to_string(4 * c.g->NumPolys));
        EXPECT_EQ(runs_text(ops), want);
        for (std::size_t k = 0; k < n && k < ops.size(); ++k) {
            EXPECT_EQ(ops[k].brush.color, c.colors[row.bands[k]]) << "polygon " << k;
            EXPECT_NEAR(ops[k].points[0].y, row.firstYs[k], 1) << "polygon " << k;
        }
        for (const RecordedOp &op : ops) EXPECT_EQ(op.pen.color, c.record.AxisColor);
    }
}

// 2500 peaks on a 100 x 100 grid (odd first and second index) give 2500 lines at level 0.9:
// 2401 interior diamonds of 4 segments, 98 half-diamonds of 2 on the far sides, one of 1 in
// the far corner: 9604 + 196 + 1 = 9801 segments. All are drawn; 2000 are kept and painted.
TEST(ContourBands, LinesBeyondTheStoreAreDrawnButNotKept)
{
    std::vector<double> peaks(100 * 100, 0.0);
    for (int j = 1; j < 100; j += 2)
        for (int i = 1; i < 100; i += 2) peaks[j * 100 + i] = 1.0;
    Chart c(100, 100, peaks, 2, 0);
    c.axes(9900, 9900);
    ClearRecordedOps(c.dc);
    c.g->zDrawDataPoints();
    EXPECT_EQ(c.g->NumPolys, 2000);
    EXPECT_EQ(c.ops(RecordedKind::Polygon).size(), 2000u);
    EXPECT_EQ(c.ops(RecordedKind::Line).size(), 9801u);
}

// What ContourGraph draws of a grid: the message it shows (or none) and how many lines; 0
// for a chart refused before the frame, 4 for the frame alone, -1 for some contour lines
// beyond the frame's four.
struct Outcome {
    const char *name;
    double cols, rows;
    std::vector<double> values;
    const char *message;
    int lines;
    int contours = 0;
    int linesOnly = 1;
};

void expect_outcomes(const std::vector<Outcome> &outcomes)
{
    for (const Outcome &o : outcomes) {
        SCOPED_TRACE(o.name);
        Record r(o.rows, o.cols, o.values);
        r.record.NumContours = o.contours;
        r.record.bShowGrid = o.linesOnly;
        testing_begin();
        const int objects = GdiLiveObjectCount();
        ContourGraph(&r.record);
        EXPECT_EQ(GdiLiveObjectCount(), objects);
        const auto &boxes = testing_message_boxes();
        EXPECT_EQ(boxes.size(), o.message ? 1u : 0u);
        EXPECT_EQ(boxes.empty() ? "" : boxes[0].text, o.message ? o.message : "");
        const std::size_t lines = only(r.dc, RecordedKind::Line).size();
        if (o.lines < 0)
            EXPECT_GT(lines, 4u);
        else
            EXPECT_EQ(lines, std::size_t(o.lines));
        testing_end();
    }
}

TEST(ContourGraph, GridMustBeFiniteWithinTheSixteenBitIndex)
{
    const char *size = "Contour Grid Needs 2 to 65536 Points Each Way and at Most 65536 in All!";
    const char *finite = "Contour Data Must Be Finite!";
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> big(256 * 256, 0.0);
    big[128 * 256 + 128] = 1.0;
    expect_outcomes({
        {"no columns", 0, 3, kBump3, "Did Not Specify Number of Rows or Columns In Data!", 0},
        {"one row", 3, 1, kBump3, size, 0},
        {"one column", 1, 3, kBump3, size, 0},
        {"65792 points", 257, 256, kBump3, size, 0},
        {"256 x 256", 256, 256, big, nullptr, -1},
        {"not a number", 3, 3, {0, 0, 0, 0, nan, 0, 0, 0, 0}, finite, 0},
        {"infinite", 3, 3, {0, 0, 0, 0, -inf, 0, 0, 0, 0}, finite, 0},
    });
}

TEST(ContourGraph, LevelsThatCannotBeCountedOutLeaveTheFrameAlone)
{
    expect_outcomes({
        {"flat", 3, 3, std::vector<double>(9, 2.0), nullptr, 4},
        // Levels 4000 apart cannot be counted out where doubles are 16384 apart.
        {"step below the precision", 2, 2, {1e20, 1e20, 1e20, 1e20 + 16384}, nullptr, 4},
        // 4/3 shared over 2^31 - 1 levels: a step of 6e-10 across a range of 1.
        {"2147483647 levels", 3, 3, kBump3, nullptr, 4, 2147483647},
    });
}

TEST(ContourGraph, BandsTakeAtMostTenLevelsLinesAny)
{
    expect_outcomes({
        {"bands, 12 levels", 3, 3, kBump3, "You Requested Too Many Contour Levels!", -1, 12, 0},
        {"lines, 25 levels", 3, 3, kBump3, nullptr, -1, 25, 1},
    });
}

}  // namespace
