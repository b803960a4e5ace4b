// The charting core and the XY chart against a recording device context. Unless a test says
// otherwise the window is (0, 0, 400, 300) without a legend, so the axes are (60, 45, 340, 255):
// 0.15 * 400 = 60, 0.15 * 300 = 45, 0.85 * 400 = 340, 0.85 * 300 = 255; 280 x 210 pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "charts/graph.h"
#include "charts/xy_graph.h"
#include "platform/dc.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "tests/charts/recorded.h"

namespace {

// The XY slice record of the plot windows over six points, drawn into a recording context.
struct Chart {
    HDC dc = CreateRecordingDC(400, 300);
    RECT window{0, 0, 400, 300};
    double x[6] = {0, 1, 2, 3, 4, 5};
    double y[6] = {0, 1, 2, 3, 4, 5};
    std::int32_t sym[6] = {1, 1, 1, 1, 1, 1};
    COLORREF colors[10];
    zGraphStruct g{};
    int s = 0;  // average character width of the context's font
    int objects = GdiLiveObjectCount();
    std::tuple<HGDIOBJ, HGDIOBJ, HGDIOBJ> before = selected();

    Chart()
    {
        for (int k = 0; k < 10; ++k) colors[k] = RGB(10 * k + 1, 20, 30);
        g.hDC = dc;
        g.pWindowRect = &window;
        g.pXData = x;
        g.pYData = y;
        g.pSymbols = sym;
        g.NumPoints = 6;
        g.AxisColor = RGB_color(0);
        g.BkgColor = RGB_color(15);
        g.pGraphColors = colors;
        g.LegendStyle = 2;
        g.bDrawLines = 1;
        g.DigitFormat = 2;
        g.DigitPrecision = 3;
        g.PenStyle = 2;
        // x 0..5 over 280 pixels: 56 per unit; y 0..7 over 210 pixels: 30 per unit, so
        // point (x, y) lands on (60 + 56 x, 255 - 30 y).
        g.XMax = 5;
        g.YMax = 7;
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        s = tm.tmAveCharWidth;
    }
    // Whatever the chart drew, it deleted every object it made and put back what it replaced.
    ~Chart()
    {
        EXPECT_EQ(GdiLiveObjectCount(), objects);
        EXPECT_EQ(selected(), before);
        DeleteDC(dc);
    }

    std::vector<RecordedOp> ops(RecordedKind kind) const { return only(dc, kind); }
    std::vector<RecordedOp> texts() const { return ops(RecordedKind::Text); }
    // The lines drawn in the first data set's colour.
    std::vector<std::string> dataLines() const
    {
        std::vector<std::string> lines;
        for (const RecordedOp &op : ops(RecordedKind::Line))
            if (op.pen.color == colors[0]) lines.push_back(points_text(op.points));
        return lines;
    }
    std::tuple<HGDIOBJ, HGDIOBJ, HGDIOBJ> selected() const
    {
        return std::tuple(GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH),
                          GetCurrentObject(dc, OBJ_FONT));
    }
};

std::string rect_text(const RECT &r) { return points_text({{r.left, r.top}, {r.right, r.bottom}}); }

// A chart set up and scaled, ready for one drawing step, terminated when it goes.
struct Scaled : zGraph {
    explicit Scaled(zGraphStruct *g) : zGraph(g)
    {
        EXPECT_EQ(zInitGraph(), 1);
        EXPECT_EQ(zScaleData(), 1);
    }
    ~Scaled() override { zTerminateGraph(); }
};

TEST(GraphLayout, RectanglesFollowTheLegendPlacement)
{
    const struct {
        int legendStyle;
        RECT window, axes, legend;
    } rows[] = {
        // No legend: the axes only; the legend box stays zero.
        {2, {0, 0, 400, 300}, {60, 45, 340, 255}, {0, 0, 0, 0}},
        // Strip: bottom 0.7 * 300 = 210; legend 0.825 * 300 = 247.5 -> 248, 0.975 * 300 - 300 =
        // -7.5 -> -7, so 293.
        {1, {0, 0, 400, 300}, {60, 45, 340, 210}, {60, 248, 340, 293}},
        // Column: left 0.35 * 400 = 140; legend 0.05 * 400 = 20, 0.2 * 300 = 60,
        // 0.25 * 400 - 400 = -300 -> 100, 0.8 * 300 - 300 = -60 -> 240.
        {0, {0, 0, 400, 300}, {140, 45, 340, 255}, {20, 60, 100, 240}},
        // Given right to left and bottom to top: laid out as if normalised.
        {2, {400, 300, 0, 0}, {60, 45, 340, 255}, {0, 0, 0, 0}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE("LegendStyle " + std::to_string(row.legendStyle) + " window right " +
                     std::to_string(row.window.right));
        zGraphStruct g{};
        g.pWindowRect = &row.window;
        g.LegendStyle = row.legendStyle;
        zGraph graph(&g);
        graph.zSetUpGraphLayout();
        EXPECT_EQ(rect_text(graph.RAxes), rect_text(row.axes));
        EXPECT_EQ(rect_text(graph.RLegend), rect_text(row.legend));
        EXPECT_EQ(std::tuple(graph.AxesLeft, graph.AxesBottom, graph.AxesWidth),
                  std::tuple(row.axes.left, row.axes.bottom, row.axes.right - row.axes.left));
    }
}

TEST(GraphScaling, BestFitTicksRoundTheRangeOutwardToNiceSteps)
{
    const struct {
        double min, max;
        double expectedMin, expectedMax;
        int expectedDivisions;
    } rows[] = {
        // Range 9.74: a tenth 0.974 exceeds 0.1, 0.2, 0.5, so step 1 and 10 divisions; 0 to 10
        // refits to step 1, 10 divisions, halved to 5.
        {0.13, 9.87, 0, 10, 5},
        // Narrower than 1e-7: five divisions, range untouched.
        {2, 2 + 5e-8, 2, 2 + 5e-8, 5},
        // Range 30: a tenth 3 exceeds 1 and 2, so step 5 and 6 divisions.
        {0, 30, 0, 30, 6},
    };
    zGraph graph(nullptr);
    for (const auto &row : rows) {
        double min = row.min;
        double max = row.max;
        int divisions = -1;
        graph.zCalcTicks(min, max, divisions);
        EXPECT_EQ(std::tuple(min, max, divisions),
                  std::tuple(row.expectedMin, row.expectedMax, row.expectedDivisions))
            << row.min << " to " << row.max;
    }
}

TEST(GraphScaling, AxisNumbersFollowTheDigitFormat)
{
    const struct {
        int format, precision;
        double value;
        const char *text;
    } rows[] = {{2, 3, 3.14159, "3.142"}, {-1, 3, 3.14159, "3"},   {0, 3, 3.14159, "3.14"},
                {1, 3, 3.14159, "3.14"},  {9, 0, 3.14159, "3.14"}, {0, 0, 2.5, "2.5"},
                {0, 0, 10, "10"},         {0, 0, 0, "0"}};
    zGraph graph(nullptr);
    for (const auto &row : rows) {
        char out[zLabelBufferSize];
        graph.zSetDigitFormat(row.format);
        graph.zSetDigitPrecision(row.precision);
        graph.zConvertValue(row.value, out);
        EXPECT_STREQ(out, row.text) << "format " << row.format << " precision " << row.precision;
    }
}

TEST(XYGraph, FailedChartOnlyShowsItsMessage)
{
    const struct {
        bool nullDC;
        RECT window;
        double xMax;
        const char *message;
    } rows[] = {
        {true, {0, 0, 400, 300}, 5, "Error--HDC Invalid or Not Set!"},
        {false, {0, 0, 0, 0}, 5, "Error--Window Rectangle [RWindow] Invalid/Not Set"},
        {false, {0, 0, 400, 300}, 0, "Cannot Scale Data:  xmax = xmin"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.message);
        Chart c;
        c.window = row.window;
        c.g.XMax = row.xMax;
        if (row.nullDC) c.g.hDC = nullptr;
        testing_begin();
        XYGraph(&c.g);
        const auto &boxes = testing_message_boxes();
        EXPECT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes.empty() ? "" : boxes[0].text, row.message);
        testing_end();
        EXPECT_TRUE(c.ops(RecordedKind::Line).empty()) << "no frame after a failure";
    }
}

TEST(XYGraph, XAxisHasSixLabelsTheLastXMaxItself)
{
    Chart c;
    c.g.DigitFormat = 1;
    c.g.DigitPrecision = 17;
    c.g.XMin = 0.1;
    c.g.XMax = 0.3;
    c.g.ItemStyle = 0;  // the XY chart numbers its x axis all the same
    c.g.ItemTitles[0] = "never";
    XYGraph(&c.g);
    std::vector<RecordedOp> labels;
    for (const RecordedOp &op : c.texts())
        if (op.points[0].y == 255 + 5) labels.push_back(op);
    ASSERT_EQ(labels.size(), 6u);
    // dp = 280 / 5 = 56 pixels, labels at 56 i + 60 - s.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(labels[i].points[0].x, 56 * i + 60 - c.s) << "label " << i;
    // The nearest doubles to 0.1 and 0.3 to 17 digits; 0.1 + 5 * (0.2 / 5) falls short of 0.3.
    EXPECT_EQ(labels[0].text, "0.10000000000000001");
    EXPECT_EQ(labels[5].text, "0.29999999999999999");
}

TEST(Graph, SymbolCodesDecideWhichPointsAreJoined)
{
    Chart c;
    const std::int32_t codes[6] = {1, 1, -1, 1, 2, 2};
    std::copy(codes, codes + 6, c.sym);
    Scaled graph(&c.g);
    ClearRecordedOps(c.dc);
    EXPECT_EQ(graph.zDrawDataPoints(), 2);
    EXPECT_EQ(graph.NumSets, 2);
    // Points (60 + 56 i, 255 - 30 i): (60,255) (116,225) (172,195) (228,165) (284,135) (340,105).
    // The plus sign (outlined in the axis colour) hangs from (172, 195): its first vertex is
    // (172 - s / 4, 195).
    const std::tuple<RecordedKind, std::string, COLORREF> expected[] = {
        {RecordedKind::Line, "(116,225)(60,255)", c.colors[0]},
        {RecordedKind::Polygon, points_text({{172 - c.s / 4, 195}}), RGB_color(0)},
        {RecordedKind::Line, "(228,165)(172,195)", c.colors[0]},
        {RecordedKind::Line, "(340,105)(284,135)", c.colors[1]},
    };
    const std::vector<RecordedOp> ops = RecordedOps(c.dc);
    ASSERT_EQ(ops.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const std::string start =
            points_text(ops[i].points).substr(0, std::get<1>(expected[i]).size());
        EXPECT_EQ(std::tuple(ops[i].kind, start, ops[i].pen.color), expected[i])
            << "primitive " << i;
    }
}

// y 1e6 maps to 255 - 3e7 and is kept 32767 pixels above the window; every line is clipped
// half a character outside the axes.
TEST(XYGraph, DataAreClippedHalfACharacterOutsideTheAxes)
{
    Chart c;
    c.g.NumPoints = 4;
    c.y[2] = 1e6;
    c.y[3] = 1;
    XYGraph(&c.g);
    const std::vector<std::string> expected = {"(116,225)(60,255)", "(172,-32767)(116,225)",
                                               "(228,225)(172,-32767)"};
    EXPECT_EQ(c.dataLines(), expected);
    const int h = c.s / 2;
    for (const RecordedOp &op : c.ops(RecordedKind::Line)) {
        if (op.pen.color != c.colors[0]) continue;
        EXPECT_TRUE(op.clipped);
        EXPECT_EQ(rect_text(op.clip), rect_text({60 - h, 45 - h, 340 + h, 255 + h}));
    }
}

TEST(XYGraph, PointsThatAreNotFiniteBreakTheLineOnBothSides)
{
    const struct {
        const char *name;
        double y[4];
        std::vector<std::string> lines;
    } rows[] = {
        {"not a number", {0, 1, NAN, 1}, {"(116,225)(60,255)"}},
        {"infinite", {0, INFINITY, 1, 1}, {"(228,225)(172,225)"}},
    };
    for (const auto &row : rows) {
        Chart c;
        c.g.NumPoints = 4;
        std::copy(row.y, row.y + 4, c.y);
        XYGraph(&c.g);
        EXPECT_EQ(c.dataLines(), row.lines) << row.name;
    }
}

TEST(XYGraph, TitleFontIsSizedToTheTitleRectangle)
{
    Chart c;
    const std::string title = "PSF X-Slice at 0.6328 microns, f/10.00";  // 38 characters
    c.g.Title = title.c_str();
    XYGraph(&c.g);
    // Title rectangle (60 + 42, 0 + 11, 340 - 42, 45 - 11): 0.15 * 280 = 42, 0.25 * 45 = 11.25.
    // Height 34 - 11 = 23; width 196 / 38 = 5, below zRound(0.6 * 23) = 14.
    const auto texts = c.texts();
    const auto t =
        std::find_if(texts.begin(), texts.end(), [&](auto &op) { return op.text == title; });
    ASSERT_NE(t, texts.end());
    // Centre (200, 22), baseline zRound(0.2 * 23) = 5 lower.
    EXPECT_EQ(std::tuple(t->font.height, t->font.width, t->font.face, points_text(t->points)),
              std::tuple(23, 5, std::string("Arial"), std::string("(200,27)")));
}

TEST(Graph, SetsAndSamplesCountRunsOfRawCodes)
{
    const struct {
        std::vector<std::int32_t> codes;
        int sets, samples;
    } rows[] = {
        {{42, 42, 43, 43, 43}, 2, 2},
        {{7, 7, 7}, 1, 3},
        {{1, -1, 1}, 3, 1},  // raw codes: a break starts a run here
    };
    for (const auto &row : rows) {
        std::vector<std::int32_t> codes = row.codes;
        zGraphStruct g{};
        g.pSymbols = codes.data();
        g.NumPoints = static_cast<int>(codes.size());
        zGraph graph(&g);
        EXPECT_EQ(graph.zCheckForLegalData(), 1);
        EXPECT_EQ(std::pair(graph.NumSets, graph.NumSamples), std::pair(row.sets, row.samples))
            << "first code " << codes[0];
    }
}

// Scheme 14 runs from blue to green: intensity 255 first, (0, 255 - 255, 255); the 64th step
// 255 - 4 * 63 = 3, (0, 252, 3); palette-relative colours. dx = 400 / 64 = 6.25, dy = 300 / 64
// = 4.6875. Innermost left ring piece round (200, 150): a1 = zRound(3.125) = 3, b1 =
// zRound(2.34375) = 2, a0 = b0 = 0; its fourth, the bottom one, runs from 150 + 0 - 1 to 153.
// Bands overlap by a pixel inside the window: from the top the first is 0 - 1 to zRound(4.6875)
// + 1 = 6, the fourth zRound(14.0625) - 1 = 13 to zRound(18.75) + 1 = 20, the last
// zRound(295.3125) - 1 = 294 to 300.
TEST(XYGraph, GradedBackgroundOfSchemeFourteenRunsFromBlueToGreen)
{
    const struct {
        int style;
        std::size_t count;
        const char *first, *fourth, *last;
    } rows[] = {
        {4, 64 * 4, "(196,147)(201,153)", "(196,149)(204,153)", nullptr},
        {1, 64, "(0,0)(400,6)", "(0,13)(400,20)", "(0,294)(400,300)"},
        {2, 64, "(0,294)(400,300)", "(0,280)(400,287)", "(0,0)(400,6)"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE("style " + std::to_string(row.style));
        Chart c;
        c.g.GradedBkg = row.style;
        c.g.GradedColorScheme = 14;
        XYGraph(&c.g);
        EXPECT_TRUE(c.ops(RecordedKind::FillRect).empty());
        std::vector<RecordedOp> bands;
        for (const RecordedOp &op : c.ops(RecordedKind::Rectangle))
            if (op.pen.style == PS_NULL) bands.push_back(op);
        ASSERT_EQ(bands.size(), row.count);
        EXPECT_EQ(bands.front().brush.color, 0x02000000u | RGB(0, 0, 255));
        EXPECT_EQ(bands.back().brush.color, 0x02000000u | RGB(0, 252, 3));
        EXPECT_EQ(points_text(bands.front().points), row.first);
        EXPECT_EQ(points_text(bands[3].points), row.fourth);
        if (!row.last) continue;
        EXPECT_EQ(points_text(bands.back().points), row.last);
    }
}

}  // namespace
