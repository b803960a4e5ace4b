// The 3-D surface chart on a recording device context: the projection, the box, the grid of
// quadrilaterals from data and from a formula, the colour bands, the refusals, Escape.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
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

// A 500 x 400 window, limits 0 to 1 on every axis, no legend.
struct Chart {
    HDC dc = CreateRecordingDC(500, 400);
    RECT window{0, 0, 500, 400};
    zGraphStruct record{};
    COLORREF colors[10];
    int objectsBefore = GdiLiveObjectCount();
    Chart()
    {
        for (int k = 0; k < 10; ++k) colors[k] = RGB(10 * k, 20, 30);
        record.hDC = dc, record.pWindowRect = &window, record.pGraphColors = colors,
        record.Formula = "";
        record.LegendStyle = 2, record.ItemStyle = 2, record.XMax = record.YMax = record.ZMax = 1;
        testing_begin();
    }
    ~Chart()
    {
        testing_end();
        DeleteDC(dc);
    }
    void data(std::vector<double> &z, std::vector<int> &sym)
    {
        record.pZData = z.data(), record.pSymbols = sym.data(),
        record.NumPoints = static_cast<int>(z.size());
    }
    std::vector<RecordedOp> draw()
    {
        XYZGraph(&record);
        EXPECT_EQ(GdiLiveObjectCount(), objectsBefore) << "every object made was deleted";
        return RecordedOps(dc);
    }
};

std::vector<int> coordinates(const std::vector<POINT> &points)
{
    std::vector<int> out;
    for (const POINT &p : points) out.insert(out.end(), {int(p.x), int(p.y)});
    return out;
}

// The worked example: axes 100/400/50/350 in the 500 x 400 window.
// AxesWidth = (400 - 100) - 0.2 * 500 = 200, AxesHeight = 350 - (50 + 0.25 * 400) = 200;
// factors 0.2 * 500 / 1 = 100, 200 / 1 = 200, 0.25 * 400 / 1 = 100, 200 / 1 = 200.
void set_example_axes(zXYZGraph &g, int right = 400)
{
    g.AxesLeft = 100, g.AxesRight = right, g.AxesTop = 50, g.AxesBottom = 350;
    g.zGetGridDimensions();
}

TEST(zXYZGraph, WorkedExampleFactorsProjectionAndBox)
{
    Chart chart;
    zXYZGraph g(&chart.record);
    set_example_axes(g);
    EXPECT_EQ(std::tuple(g.AxesWidth, g.AxesHeight, g.XToHorizontal, g.YToHorizontal, g.XToVertical,
                         g.ZToVertical),
              std::tuple(200, 200, 100.0, 200.0, 100.0, 200.0));
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double x, y, z;
        int dx, dy;
    } rows[] = {
        {0.5, 0.5, 0.5, 250, 200},  // 100 + 50 + 100, 350 - (50 + 100)
        {1, 0, 0, 100, 350},
        {0, 1, 1, 400, 50},             // 100 + 100 + 200, 350 - (100 + 200)
        {1, -0.004, -0.004, 100, 350},  // -0.8 truncates toward zero, to 0
        {1, 0, inf, zNoPixel, zNoPixel},
    };
    for (const auto &row : rows) {
        const POINT p = g.zMapCoordinates(row.x, row.y, row.z);
        EXPECT_EQ(std::tuple(p.x, p.y), std::tuple(row.dx, row.dy))
            << "x=" << row.x << " y=" << row.y << " z=" << row.z;
    }

    // Corners P1 (0,1,0) = (400,250), P2 (1,1,0) = (300,350), P3 (1,0,0) = (100,350),
    // P4 (1,0,1) = (100,150), P5 (0,0,1) = (200,50), P6 (0,1,1) = (400,50), P7 (1,1,1) = (300,150).
    g.zDrawGraphAxes();
    const std::vector<std::vector<int>> edges = {
        {400, 250, 300, 350}, {300, 350, 100, 350}, {100, 350, 100, 150},
        {100, 150, 200, 50},  {200, 50, 400, 50},   {400, 50, 300, 150},
        {300, 150, 300, 350}, {400, 50, 400, 250},  {300, 150, 100, 150}};
    const auto lines = only(RecordedOps(chart.dc), RecordedKind::Line);
    ASSERT_EQ(lines.size(), edges.size());
    for (std::size_t i = 0; i < edges.size(); ++i) {
        EXPECT_EQ(coordinates(lines[i].points), edges[i]) << "edge " << i;
    }
}

TEST(zXYZGraph, DataRunsOfFourMakeSixQuadrilateralsFromBackToFront)
{
    // x 0..2 (nx = 2), y 0..3 (ny = 3), z of (a, b) = 4a + b, ZMax 20; axes right edge 500:
    // AxesWidth 300, factors 0.2*500/2 = 50, 300/3 = 100, 0.25*400/2 = 50, 200/20 = 10.
    Chart chart;
    std::vector<double> z;
    std::vector<int> sym;
    for (int i = 0; i < 12; ++i) z.push_back(i), sym.push_back(7 + i / 4);
    chart.data(z, sym);
    chart.record.XMax = 2;
    chart.record.YMax = 3;
    chart.record.ZMax = 20;
    zXYZGraph g(&chart.record);
    ASSERT_EQ(g.zCheckForLegalData(), 1);
    EXPECT_EQ(g.NumSamples, 4);
    g.zInitGraph();
    set_example_axes(g, 500);
    g.zDrawDataPoints();
    auto device = [](int a, int b) {  // e.g. (1,1): (100+50+100, 350-(50+50)) = (250, 250)
        return std::vector<int>{100 + (2 - a) * 50 + b * 100,
                                350 - ((2 - a) * 50 + (4 * a + b) * 10)};
    };
    const auto polygons = only(RecordedOps(chart.dc), RecordedKind::Polygon);
    ASSERT_EQ(polygons.size(), 6u);
    int i = 0;
    for (int a = 1; a <= 2; ++a)
        for (int b = 1; b <= 3; ++b, ++i) {
            const int corners[4][2] = {{a - 1, b - 1}, {a - 1, b}, {a, b}, {a, b - 1}};
            for (int c = 0; c < 4; ++c)
                EXPECT_EQ(coordinates({polygons[i].points[c]}),
                          device(corners[c][0], corners[c][1]))
                    << "quad (" << a << "," << b << ") corner " << c;
            EXPECT_EQ(polygons[i].brush.color, chart.colors[0]);
            EXPECT_EQ(polygons[i].pen.color, chart.record.AxisColor);
        }
}

TEST(zXYZGraph, ColourBandsComeFromZItself)
{
    // ZMin -1, ZMax 1, h = 1: q = zRound(z * 5) + 5, limited to 0..9. One quadrilateral,
    // coloured by its last point (1, 1).
    const struct {
        int flags;
        double z;
        int color;
    } rows[] = {
        {4, 0, 5},  {4, 0.5, 8}, {4, 1, 9},   {4, 3, 9},
        {4, -1, 0}, {4, -3, 0},  {4, 0.3, 7}, {0, 1, 0},
    };
    for (const auto &row : rows) {
        Chart chart;
        std::vector<double> z = {0, 0, 0, row.z};
        std::vector<int> sym = {1, 1, 2, 2};
        chart.data(z, sym);
        chart.record.ZMin = -1;
        chart.record.NumContours = row.flags;
        const auto polygons = only(chart.draw(), RecordedKind::Polygon);
        ASSERT_EQ(polygons.size(), 1u) << "z=" << row.z;
        EXPECT_EQ(polygons[0].brush.color, chart.colors[row.color]) << "z=" << row.z;
    }
}

TEST(zXYZGraph, QuadrilateralsOfEachGridAndChartsRefused)
{
    // Data: 6 points in runs of 2 (nx = 2, ny = 1, 2 quadrilaterals); a formula grid by its bits.
    using Prepare = void (*)(zGraphStruct &);
    // A refused chart (message set) draws nothing at all.
    const struct {
        const char *name;
        Prepare setup;
        std::size_t quads;
        const char *message;
    } rows[] = {
        {"first run of 2", [](zGraphStruct &) {}, 2, nullptr},
        {"formula, no bits", [](zGraphStruct &r) { r.Formula = "x*y"; }, 60 * 50, nullptr},
        {"formula, bit 1", [](zGraphStruct &r) { r.Formula = "x*y", r.NumContours = 1; }, 40 * 25,
         nullptr},
        {"formula, bit 2", [](zGraphStruct &r) { r.Formula = "x*y", r.NumContours = 2; }, 200 * 100,
         nullptr},
        {"formula, bits 1+2", [](zGraphStruct &r) { r.Formula = "x*y", r.NumContours = 3; },
         40 * 25, nullptr},
        {"formula, bands", [](zGraphStruct &r) { r.Formula = "x*y", r.NumContours = 4; }, 60 * 50,
         nullptr},
        // A point without a number leaves out the quadrilaterals around it.
        {"nan at (0,0)", [](zGraphStruct &r) { r.pZData[0] = std::nan(""); }, 1, nullptr},
        {"nan at (1,0)", [](zGraphStruct &r) { r.pZData[2] = std::nan(""); }, 0, nullptr},
        {"1/X, x = 0 first", [](zGraphStruct &r) { r.Formula = "1/X", r.NumContours = 1; },
         40 * 25 - 25, nullptr},
        {"first run of 1", [](zGraphStruct &r) { r.pSymbols[1] = 9; }, 0,
         "ERROR--Must Have >= 2 Samples in Data!"},
        {"syntax error", [](zGraphStruct &r) { r.Formula = "X+*Y"; }, 0,
         "Syntax Error in F(X,Y)..."},
        {"equal x", [](zGraphStruct &r) { r.XMax = 0; }, 0,
         "Cannot Draw Surface:  X Limits Invalid"},
        {"reversed y", [](zGraphStruct &r) { r.YMin = 2; }, 0,
         "Cannot Draw Surface:  Y Limits Invalid"},
        {"infinite z", [](zGraphStruct &r) { r.ZMax = HUGE_VAL; }, 0,
         "Cannot Draw Surface:  Z Limits Invalid"},
        {"nan x", [](zGraphStruct &r) { r.XMin = std::nan(""); }, 0,
         "Cannot Draw Surface:  X Limits Invalid"},
        // A failed initialisation ends the chart: no box, no surface.
        {"window of no width", [](zGraphStruct &r) { r.pWindowRect = &kNoWindow; }, 0,
         "Error--Window Rectangle [RWindow] Invalid/Not Set"},
    };
    for (const auto &row : rows) {
        Chart chart;
        std::vector<double> z = {0, 0, 0, 0, 0, 0};
        std::vector<int> sym = {1, 1, 2, 2, 3, 3};
        chart.data(z, sym);
        row.setup(chart.record);
        const auto ops = chart.draw();
        EXPECT_EQ(only(ops, RecordedKind::Polygon).size(), row.quads) << row.name;
        EXPECT_EQ(testing_message_boxes().size(), row.message ? 1u : 0u) << row.name;
        if (!row.message) continue;
        EXPECT_TRUE(ops.empty()) << row.name;
        EXPECT_EQ(testing_message_boxes()[0].text, row.message);
    }
}

TEST(zXYZGraph, LegendShowsOneBarAfterTheSurface)
{
    // Runs of 2 give two quadrilaterals; one colour in use gives one bar after them.
    Chart chart;
    std::vector<double> z(6, 0.0);
    std::vector<int> sym = {1, 1, 2, 2, 3, 3};
    chart.data(z, sym);
    chart.record.LegendStyle = 0;
    const auto polygons = only(chart.draw(), RecordedKind::Polygon);
    ASSERT_EQ(polygons.size(), 3u);
    EXPECT_LT(polygons[2].points[0].x, polygons[0].points[0].x) << "the bar stands left of the box";
}

TEST(zXYZGraph, LimitsAreWrittenInFullBesideTheBox)
{
    // w = 8 on the example axes: YMin at (100-8, 350+2), YMax at (100+200-8, 352), XMax at
    // (100+200+24, 350-16), XMin at (400-8, 50+200+16), ZMin at (400+6, 250-5), ZMax at (406,
    // 50-13).
    const struct {
        double min, max;
        std::vector<std::string> texts;
    } rows[] = {
        // YMin, YMax, XMax, XMin, ZMin, ZMax
        {0, 1, {"0.00", "1.00", "1.00", "0.00", "0.00", "1.00"}},
        {-123456789012.5,
         3.14159,
         {"-123456789012.50", "3.14", "3.14", "-123456789012.50", "-123456789012.50", "3.14"}},
    };
    const std::vector<std::vector<int>> places = {{92, 352},  {292, 352}, {324, 334},
                                                  {392, 266}, {406, 245}, {406, 37}};
    for (const auto &row : rows) {
        Chart chart;
        chart.record.XMin = chart.record.YMin = chart.record.ZMin = row.min;
        chart.record.XMax = chart.record.YMax = chart.record.ZMax = row.max;
        OpenXYZGraph g(&chart.record);
        set_example_axes(g);
        g.AveCharWidth = 8;
        g.zShowNumbersAlongAxes();
        const auto texts = only(RecordedOps(chart.dc), RecordedKind::Text);
        ASSERT_EQ(texts.size(), 6u);
        for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(texts[i].text, row.texts[i]) << "limit " << i << " of " << row.min;
            EXPECT_EQ(coordinates(texts[i].points), places[i]) << "limit " << i;
        }
    }
}

TEST(zXYZGraph, BoxIsDrawnAgainOverTheSurfaceAndEscapeEndsTheSurface)
{
    for (const bool escape : {false, true}) {
        Chart chart;
        chart.record.Formula = "x+y";
        chart.record.NumContours = 1;
        chart.record.Title = "Surface";
        chart.record.XAxisTitle = "x title";
        testing_set_key(VK_ESCAPE, escape);
        const auto ops = chart.draw();
        testing_set_key(VK_ESCAPE, false);
        std::vector<std::size_t> lines, polygons;
        for (std::size_t i = 0; i < ops.size(); ++i) {
            if (ops[i].kind == RecordedKind::Line) lines.push_back(i);
            if (ops[i].kind == RecordedKind::Polygon) polygons.push_back(i);
        }
        EXPECT_EQ(polygons.size(), escape ? 0u : 1000u) << "escape " << escape;
        ASSERT_EQ(lines.size(), 18u) << "escape " << escape;
        if (!escape) {
            EXPECT_TRUE(lines[8] < polygons.front() && polygons.back() < lines[9]);
        }
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(coordinates(ops[lines[i]].points), coordinates(ops[lines[9 + i]].points))
                << "edge " << i;
        std::vector<std::string> texts;
        for (const auto &op : only(ops, RecordedKind::Text)) texts.push_back(op.text);
        EXPECT_EQ(texts.back(), "Surface") << "the main title, and no axis title, ends the chart";
        EXPECT_TRUE(testing_message_boxes().empty());
        ASSERT_FALSE(testing_cursors().empty());
        EXPECT_EQ(testing_cursors().front(), "IDC_WAIT");
        EXPECT_NE(testing_cursors().back(), "IDC_WAIT");
    }
}

}  // namespace
