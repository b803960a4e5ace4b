// The demonstration page, drawn into a recording context: its symbols, swatches, pens, bars,
// circles and text boxes where the page's layout puts them, a few pixels of the picture, and
// the context left as found. Expected places are worked out from the layout in comments; the
// shapes themselves are the drawing layer's, tested in zlowlevel_test.cpp.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "charts/drawing_demo.h"
#include "platform/dc.h"
#include "tests/charts/recorded.h"

namespace {

class DrawingDemo : public ::testing::Test {
protected:
    void SetUp() override
    {
        dc = CreateRecordingDC(kDrawingDemoWidth, kDrawingDemoHeight);
        ASSERT_NE(dc, nullptr);
        objects = GdiLiveObjectCount();
        zDrawingLayerDemonstration(dc);
        for (const RecordedOp &op : RecordedOps(dc))
            byKind[static_cast<int>(op.kind)].push_back(op);
    }
    void TearDown() override { DeleteDC(dc); }
    const std::vector<RecordedOp> &ops(RecordedKind kind) { return byKind[static_cast<int>(kind)]; }
    // The text drawn with this string, or an empty op.
    RecordedOp text(const std::string &s)
    {
        for (const RecordedOp &op : ops(RecordedKind::Text))
            if (op.text == s) return op;
        ADD_FAILURE() << "no text \"" << s << "\"";
        return {};
    }
    std::string at(const std::string &s) { return points_text(text(s).points); }
    HDC dc = nullptr;
    int objects = 0;
    std::vector<RecordedOp> byKind[9];
};

std::string point(LONG x, LONG y) { return points_text({{x, y}}); }

// A rectangle as the drawing layer's front face of a bar lists it.
std::string face(LONG left, LONG top, LONG right, LONG bottom)
{
    return points_text({{left, top}, {left, bottom}, {right, bottom}, {right, top}});
}

TEST_F(DrawingDemo, LeavesTheContextAsFound)
{
    EXPECT_EQ(GdiLiveObjectCount(), objects) << "objects leaked";
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetTextAlign(dc), UINT(TA_LEFT | TA_TOP));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
}

TEST_F(DrawingDemo, PaintsTheDocumentedPixels)
{
    const COLORREF white = RGB(255, 255, 255);
    const struct {
        const char *what;
        int x, y;
        COLORREF expected;
    } rows[] = {
        // Symbol 3, kind 30, from (300, 62) with s = 16: triangle (300,62), (292,78), (308,78),
        // filled in set colour 3 (table entry 13, magenta).
        {"inside the triangle", 300, 72, RGB(255, 0, 255)},
        {"beside the triangle", 292, 66, white},
        // Hatched swatch 0 (horizontal) spans x 110..162, y 166..202: red lines on rows with
        // y mod 8 = 4, the ground left white.
        {"horizontal hatch line", 120, 172, RGB(255, 0, 0)},
        {"between hatch lines", 120, 174, white},
        // Pattern swatch 6 (checkerboard CC CC 33 33 ...) spans x 482..534, y 210..246; the
        // pattern repeats from the origin: column 488 is bit 7 of row 216 mod 8 = 0 (0xCC: set,
        // background), column 490 is bit 5 (clear, text colour = set colour 6, entry 4).
        {"pattern background bit", 488, 216, white},
        {"pattern text bit", 490, 216, RGB(128, 0, 0)},
        {"pattern row 2 flips", 488, 218, RGB(128, 0, 0)},
    };
    for (const auto &row : rows) EXPECT_EQ(GetPixel(dc, row.x, row.y), row.expected) << row.what;
}

// Symbol i hangs from (60 + 80 i, 62) with s = 16 (q = 4, h = 8), in a colour of its own,
// outlined in black; its kind is written centred 38 below. The shapes' first vertices: plus and
// octagon (x - q, y), diamond and triangle (x, y), point-down triangle (x - h, y), square
// (x - h + 1, y + 1); the characters' cells start at (x - h, y - s).
TEST_F(DrawingDemo, SymbolRowShowsEveryKindWithItsNumberBelow)
{
    const std::vector<RecordedOp> &polys = ops(RecordedKind::Polygon);
    ASSERT_GE(polys.size(), 6u);
    const struct {
        std::size_t vertices;
        POINT first;
    } shapes[] = {{12, {56, 62}}, {8, {136, 62}}, {4, {220, 62}},
                  {3, {300, 62}}, {3, {372, 62}}, {4, {453, 63}}};
    std::set<COLORREF> colours;
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(polys[i].points.size(), shapes[i].vertices) << "symbol " << i;
        EXPECT_EQ(points_text({polys[i].points[0]}), points_text({shapes[i].first})) << i;
        EXPECT_EQ(polys[i].pen.color, RGB(0, 0, 0)) << "symbol " << i;
        colours.insert(polys[i].brush.color);
    }
    EXPECT_EQ(colours.size(), 6u) << "a colour of its own for each set";
    const std::pair<const char *, int> labels[] = {{"1", 60},   {"2", 140},  {"4", 220},
                                                   {"30", 300}, {"31", 380}, {"254", 460},
                                                   {"42", 540}, {"43", 620}, {"111", 700}};
    for (const auto &[label, x] : labels) {
        EXPECT_EQ(at(label), point(x, 100)) << label;
        EXPECT_EQ(text(label).textAlign, UINT(TA_CENTER | TA_BASELINE)) << label;
    }
    EXPECT_EQ(at("*"), point(532, 46));
    EXPECT_EQ(at("+"), point(612, 46));
    EXPECT_EQ(at("o"), point(692, 46));
}

// Swatch k of a row starting at y spans x 110 + 62 k .. + 52, y .. y + 36: 10 solid, 6 hatched,
// 10 patterned.
TEST_F(DrawingDemo, SwatchRowsShowEachBrushOfTheirStyle)
{
    const std::vector<RecordedOp> &polys = ops(RecordedKind::Polygon);
    ASSERT_EQ(polys.size(), 6u + 26u + 3u * 3u + 1u);
    const struct {
        int y, count;
        UINT kind;
    } swatchRows[] = {{122, 10, BS_SOLID}, {166, 6, BS_HATCHED}, {210, 10, BS_PATTERN}};
    std::size_t next = 6;
    for (const auto &row : swatchRows) {
        for (int k = 0; k < row.count; ++k) {
            SCOPED_TRACE("swatch " + std::to_string(k) + " at y " + std::to_string(row.y));
            const RecordedOp &swatch = polys[next++];
            const int x = 110 + 62 * k;
            EXPECT_EQ(points_text(swatch.points), face(x, row.y, x + 52, row.y + 36));
            EXPECT_EQ(swatch.brush.kind, row.kind);
        }
    }
}

// Bar k from (530 + 50 k, 320 - 15 k) to (+30, 380), depth 10: top, side, front; then a flat
// bar.
TEST_F(DrawingDemo, BarsStandWhereTheLayoutPutsThem)
{
    const std::vector<RecordedOp> &polys = ops(RecordedKind::Polygon);
    ASSERT_EQ(polys.size(), 42u);
    for (int k = 0; k < 3; ++k) {
        const std::size_t first = 32 + 3 * static_cast<std::size_t>(k);
        const int x = 530 + 50 * k;
        const int top = 320 - 15 * k;
        const std::string topFace =
            points_text({{x, top}, {x + 10, top - 10}, {x + 40, top - 10}, {x + 30, top}});
        EXPECT_EQ(points_text(polys[first].points), topFace) << "bar " << k;
        EXPECT_EQ(points_text(polys[first + 2].points), face(x, top, x + 30, 380)) << "bar " << k;
    }
    EXPECT_EQ(points_text(polys[41].points), face(690, 330, 720, 380));
}

// Circles (260, 382) r 24 aspect 1, (330, 382) r 24 aspect 0.5, (400, 382) r 16 aspect 1.5:
// half heights 24, 12 and 24; each arc starts and ends at its top.
TEST_F(DrawingDemo, CirclesShowThreeAspects)
{
    const std::vector<RecordedOp> &arcs = ops(RecordedKind::Arc);
    ASSERT_EQ(arcs.size(), 3u);
    EXPECT_EQ(points_text(arcs[0].points), "(236,358)(284,406)(260,358)(260,358)");
    EXPECT_EQ(points_text(arcs[1].points), "(306,370)(354,394)(330,370)(330,370)");
    EXPECT_EQ(points_text(arcs[2].points), "(384,358)(416,406)(400,358)(400,358)");
}

// Grid pen style s draws y = 264 + 16 s from x 110 to 410, named at (420, y - 7).
TEST_F(DrawingDemo, GridPensShowTheFiveStylesWithTheirNames)
{
    std::vector<RecordedOp> pens;
    for (const RecordedOp &op : ops(RecordedKind::Line))
        if (op.points[0].x == 110) pens.push_back(op);
    ASSERT_EQ(pens.size(), 5u);
    const std::pair<int, const char *> styles[] = {{PS_SOLID, "0 solid"},
                                                   {PS_DASH, "1 dash"},
                                                   {PS_DOT, "2 dot"},
                                                   {PS_DASHDOT, "3 dash-dot"},
                                                   {PS_DASHDOTDOT, "4 dash-dot-dot"}};
    for (int s = 0; s < 5; ++s) {
        const auto &[style, name] = styles[s];
        const RecordedOp &pen = pens[static_cast<std::size_t>(s)];
        const int y = 264 + 16 * s;
        EXPECT_EQ(points_text(pen.points), points_text({{110, y}, {410, y}})) << name;
        EXPECT_EQ(pen.pen.style, style) << name;
        EXPECT_EQ(at(name), point(420, y - 7)) << name;
    }
}

// Each text box's text is centred on (middle x, middle y + h / 5) in a font as high as the box
// and no wider than 0.6 of that, or the box width over the length of the sizing text.
TEST_F(DrawingDemo, TextBoxesAreSizedFromTheirRectangles)
{
    const struct {
        const char *text;
        POINT at;
        int height, width;  // 0: the current font; -1: a font of the character height
    } rows[] = {
        {"Drawing layer", {380, 25}, 30, 18},  // 400 / 13 = 30 > zRound(0.6 * 30) = 18
        {"Fits", {120, 468}, 0, 0},
        {"ABCDE", {340, 468}, 40, 24},                                  // 200 / 5 = 40 > 24
        {"Pupil Phase Contour Map, RMS 0.123 wv.", {600, 468}, 40, 7},  // 280 / 38 = 7
        {"Legend entry", {70, 544}, -1, -1},
        {"Empty sizing text", {340, 548}, 40, 1},
        {"Shared size", {600, 548}, 40, 10},  // 280 / 26 = 10
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        const RecordedOp t = text(row.text);
        EXPECT_EQ(points_text(t.points), points_text({row.at}));
        EXPECT_EQ(t.textAlign, UINT(TA_CENTER | TA_BASELINE));
        EXPECT_EQ(t.font.stock, row.height == 0);
        if (row.height > 0) {
            EXPECT_EQ(t.font.height, row.height);
            EXPECT_EQ(t.font.width, row.width);
        }
    }
}

// Six boxes framed by four lines each (plus the five pen samples), each titled 16 above it; the
// captions are black.
TEST_F(DrawingDemo, TextBoxesAreFramedUnderTheirTitles)
{
    const std::vector<RecordedOp> &lines = ops(RecordedKind::Line);
    EXPECT_EQ(lines.size(), 5u + 6u * 4u);
    std::string all;
    for (const RecordedOp &op : lines) all += points_text(op.points);
    const std::string frame =
        "(240,440)(440,440)(440,440)(440,480)(440,480)(240,480)(240,480)(240,440)";
    EXPECT_NE(all.find(frame), std::string::npos) << "the frame of the second box";
    EXPECT_EQ(at("new font 40 high, 24 wide"), point(240, 424));
    for (const char *caption :
         {"Symbols (kind), character width 16:", "Brushes:", "solid", "hatched", "patterns",
          "Grid pens:", "3-D bars (depth 10, 0):", "Circles (aspect 1, 0.5, 1.5):",
          "Text in a rectangle (frame drawn around each):", "new font 40 high, 24 wide"})
        EXPECT_EQ(text(caption).textColor, RGB(0, 0, 0)) << caption;
}

}  // namespace
