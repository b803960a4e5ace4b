// The 3-D surface chart on a recording device context: the projection, the box, the grid of
// quadrilaterals from data and from a formula, the refusals, the drawing order, Escape.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "charts/surface.h"
#include "platform/dc.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "tests/charts/recorded.h"

namespace {

// The graph with its character width open to the test, so that text places are exact.
struct OpenXYZGraph : zXYZGraph {
    using zLowLevelGraphics::AveCharWidth;
    using zXYZGraph::zXYZGraph;
};

const RECT kNoWindow{0, 0, 0, 0};

// A 500 x 400 window, limits 0 to 1 on every axis, no legend; colour k is RGB(10 k, 20, 30).
struct Chart {
    HDC dc = CreateRecordingDC(500, 400);
    RECT window{0, 0, 500, 400};
    zGraphStruct record{};
    COLORREF colors[10];
    int objectsBefore = GdiLiveObjectCount();
    std::vector<double> z = std::vector<double>(6, 0.0);  // three runs of two points
    std::vector<int> sym = {1, 1, 2, 2, 3, 3};
    Chart()
    {
        data(z, sym);
        for (int k = 0; k < 10; ++k) colors[k] = RGB(10 * k, 20, 30);
        record.hDC = dc;
        record.pWindowRect = &window;
        record.pGraphColors = colors;
        record.Formula = "";
        record.LegendStyle = 2;
        record.ItemStyle = 2;
        record.XMax = 1;
        record.YMax = 1;
        record.ZMax = 1;
        testing_begin();
    }
    ~Chart()
    {
        testing_end();
        DeleteDC(dc);
    }
    void data(std::vector<double> &values, std::vector<int> &codes)
    {
        record.pZData = values.data();
        record.pSymbols = codes.data();
        record.NumPoints = static_cast<int>(values.size());
    }
    std::vector<RecordedOp> draw()
    {
        XYZGraph(&record);
        EXPECT_EQ(GdiLiveObjectCount(), objectsBefore) << "every object made was deleted";
        return RecordedOps(dc);
    }
};

// The worked example: axes 100/400/50/350 in the 500 x 400 window.
// AxesWidth = (400 - 100) - 0.2 * 500 = 200, AxesHeight = 350 - (50 + 0.25 * 400) = 200;
// factors 0.2 * 500 / 1 = 100, 200 / 1 = 200, 0.25 * 400 / 1 = 100, 200 / 1 = 200.
void set_example_axes(zXYZGraph &g, int right = 400)
{
    g.AxesLeft = 100;
    g.AxesRight = right;
    g.AxesTop = 50;
    g.AxesBottom = 350;
    g.zGetGridDimensions();
}

// (1, -0.004, -0.004) on the example axes: -0.8 pixels across and up, truncated toward zero.
TEST(zXYZGraph, PositionsAreTruncatedTowardZero)
{
    Chart chart;
    zXYZGraph g(&chart.record);
    set_example_axes(g);
    EXPECT_EQ(points_text({g.zMapCoordinates(1, -0.004, -0.004)}), "(100,350)");
}

// Corners P1 (0,1,0) = (400,250), P2 (1,1,0) = (300,350), P3 (1,0,0) = (100,350),
// P4 (1,0,1) = (100,150), P5 (0,0,1) = (200,50), P6 (0,1,1) = (400,50), P7 (1,1,1) = (300,150).
const std::vector<std::string> kBoxEdges = {
    "(400,250)(300,350)", "(300,350)(100,350)", "(100,350)(100,150)",
    "(100,150)(200,50)",  "(200,50)(400,50)",   "(400,50)(300,150)",
    "(300,150)(300,350)", "(400,50)(400,250)",  "(300,150)(100,150)"};

TEST(zXYZGraph, BoxShowsTheNineEdgesAwayFromTheHiddenCorner)
{
    Chart chart;
    zXYZGraph g(&chart.record);
    set_example_axes(g);
    g.zDrawGraphAxes();
    EXPECT_EQ(points_of(only(chart.dc, RecordedKind::Line)), kBoxEdges);
}

TEST(zXYZGraph, DataRunsOfFourMakeSixQuadrilateralsFromBackToFront)
{
    // x 0..2 (nx = 2), y 0..3 (ny = 3), z of (a, b) = 4a + b, ZMax 20; axes right edge 500:
    // AxesWidth 300, factors 0.2*500/2 = 50, 300/3 = 100, 0.25*400/2 = 50, 200/20 = 10.
    Chart chart;
    std::vector<double> z = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::vector<int> sym = {7, 7, 7, 7, 8, 8, 8, 8, 9, 9, 9, 9};
    chart.data(z, sym);
    chart.record.XMax = 2;
    chart.record.YMax = 3;
    chart.record.ZMax = 20;
    zXYZGraph g(&chart.record);
    EXPECT_EQ(g.zCheckForLegalData(), 1);
    g.zInitGraph();
    set_example_axes(g, 500);
    g.zDrawDataPoints();
    auto device = [](int a, int b) {  // e.g. (1,1): (100+50+100, 350-(50+50)) = (250, 250)
        return POINT{100 + (2 - a) * 50 + b * 100, 350 - ((2 - a) * 50 + (4 * a + b) * 10)};
    };
    std::vector<std::string> quads;
    for (int a = 1; a <= 2; ++a)
        for (int b = 1; b <= 3; ++b)
            quads.push_back(points_text(
                {device(a - 1, b - 1), device(a - 1, b), device(a, b), device(a, b - 1)}));
    const auto polygons = only(chart.dc, RecordedKind::Polygon);
    EXPECT_EQ(points_of(polygons), quads);
    for (const RecordedOp &quad : polygons) {
        EXPECT_EQ(quad.brush.color, chart.colors[0]);
        EXPECT_EQ(quad.pen.color, chart.record.AxisColor);
    }
}

// Data: 6 points in runs of 2 (nx = 2, ny = 1, 2 quadrilaterals); a formula grid by its option
// bits: 60 x 50 steps by default, 40 x 25 with bit 1 (which wins over bit 2), 200 x 100 with
// bit 2. A point without a number leaves out the quadrilaterals around it.
TEST(zXYZGraph, QuadrilateralsCoverTheGrid)
{
    const struct {
        const char *name;
        const char *formula;
        int options;
        int nanAt;  // the data point made not a number, or -1
        std::size_t quads;
    } rows[] = {
        {"first run of 2", "", 0, -1, 2},
        {"formula, no bits", "x*y", 0, -1, 60 * 50},
        {"formula, bit 1", "x*y", 1, -1, 40 * 25},
        {"formula, bit 2", "x*y", 2, -1, 200 * 100},
        {"formula, bits 1+2", "x*y", 3, -1, 40 * 25},
        {"formula, bands", "x*y", 4, -1, 60 * 50},
        {"nan at (0,0)", "", 0, 0, 1},
        {"nan at (1,0)", "", 0, 2, 0},
        {"1/X, x = 0 first", "1/X", 1, -1, 40 * 25 - 25},
    };
    for (const auto &row : rows) {
        Chart chart;
        if (row.nanAt >= 0) chart.z[row.nanAt] = std::nan("");
        chart.record.Formula = row.formula;
        chart.record.NumContours = row.options;
        EXPECT_EQ(only(chart.draw(), RecordedKind::Polygon).size(), row.quads) << row.name;
        EXPECT_TRUE(testing_message_boxes().empty()) << row.name;
    }
}

// A refused chart shows its message and draws nothing at all, not even the background.
TEST(zXYZGraph, RefusedSurfaceDrawsNothing)
{
    using Prepare = void (*)(zGraphStruct &);
    const struct {
        const char *message;
        Prepare setup;
    } rows[] = {
        {"ERROR--Must Have >= 2 Samples in Data!", [](zGraphStruct &r) { r.pSymbols[1] = 9; }},
        {"Syntax Error in F(X,Y)...", [](zGraphStruct &r) { r.Formula = "X+*Y"; }},
        {"Cannot Draw Surface:  X Limits Invalid", [](zGraphStruct &r) { r.XMax = 0; }},
        {"Cannot Draw Surface:  Y Limits Invalid", [](zGraphStruct &r) { r.YMin = 2; }},
        {"Cannot Draw Surface:  Z Limits Invalid", [](zGraphStruct &r) { r.ZMax = HUGE_VAL; }},
        {"Cannot Draw Surface:  X Limits Invalid", [](zGraphStruct &r) { r.XMin = std::nan(""); }},
        // A failed initialisation ends the chart: no box, no surface.
        {"Error--Window Rectangle [RWindow] Invalid/Not Set",
         [](zGraphStruct &r) { r.pWindowRect = &kNoWindow; }},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        Chart chart;
        row.setup(chart.record);
        EXPECT_TRUE(chart.draw().empty());
        const auto &boxes = testing_message_boxes();
        EXPECT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes.empty() ? "" : boxes[0].text, row.message);
    }
}

// w = 8 on the example axes: YMin at (100-8, 350+2), YMax at (100+200-8, 352), XMax at
// (100+200+24, 350-16), XMin at (400-8, 50+200+16), ZMin at (400+6, 250-5), ZMax at (406, 50-13).
TEST(zXYZGraph, LimitsAreWrittenInFullBesideTheBox)
{
    Chart chart;
    chart.record.XMin = chart.record.YMin = chart.record.ZMin = -123456789012.5;
    chart.record.XMax = chart.record.YMax = chart.record.ZMax = 3.14159;
    OpenXYZGraph g(&chart.record);
    set_example_axes(g);
    g.AveCharWidth = 8;
    g.zShowNumbersAlongAxes();
    const std::vector<std::string> expected = {
        "-123456789012.50(92,352)",  "3.14(292,352)", "3.14(324,334)", "-123456789012.50(392,266)",
        "-123456789012.50(406,245)", "3.14(406,37)"};
    EXPECT_EQ(points_of(only(chart.dc, RecordedKind::Text)), expected);
}

// The surface of x+y on the 40 x 25 grid (1000 quadrilaterals), titled, with an x axis title;
// Escape held down or not.
std::vector<RecordedOp> draw_titled_surface(Chart &chart, bool escape)
{
    chart.record.Formula = "x+y";
    chart.record.NumContours = 1;
    chart.record.Title = "Surface";
    chart.record.XAxisTitle = "x title";
    testing_set_key(VK_ESCAPE, escape);
    const std::vector<RecordedOp> ops = chart.draw();
    testing_set_key(VK_ESCAPE, false);
    return ops;
}

// The background, the box's nine edges and six limits, the surface, the edges again and the
// main title alone (a surface has no axis titles); Escape held down ends only the surface.
TEST(zXYZGraph, BoxIsDrawnUnderAndOverTheSurfaceTheTitleLast)
{
    const struct {
        bool escape;
        const char *runs;
    } rows[] = {{false, "F1 L9 T6 P1000 L9 T1"}, {true, "F1 L9 T6 L9 T1"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.escape ? "Escape held down" : "no key");
        Chart chart;
        const std::vector<RecordedOp> ops = draw_titled_surface(chart, row.escape);
        EXPECT_EQ(runs_text(ops), row.runs);
        EXPECT_EQ(ops.back().text, "Surface");
        const std::vector<std::string> edges = points_of(only(ops, RecordedKind::Line));
        ASSERT_EQ(edges.size(), 18u);
        EXPECT_EQ(std::vector(edges.begin(), edges.begin() + 9),
                  std::vector(edges.begin() + 9, edges.end()));
        EXPECT_TRUE(testing_message_boxes().empty());
    }
}

TEST(zXYZGraph, WaitCursorIsShownWhileTheSurfaceIsDrawn)
{
    for (const bool escape : {false, true}) {
        Chart chart;
        draw_titled_surface(chart, escape);
        EXPECT_FALSE(testing_cursors().empty());
        if (testing_cursors().empty()) continue;
        EXPECT_EQ(testing_cursors().front(), "IDC_WAIT") << "escape " << escape;
        EXPECT_NE(testing_cursors().back(), "IDC_WAIT") << "escape " << escape;
    }
}

}  // namespace
