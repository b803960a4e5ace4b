// The demonstration page, drawn into a recording context: each section drawn where the page's
// layout puts it, a few pixels of the picture, and the context left as found. Expected places
// are worked out from the layout in comments; the shapes themselves are the drawing layer's,
// tested in zlowlevel_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
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
    }
    void TearDown() override { DeleteDC(dc); }
    HDC dc = nullptr;
    int objects = 0;
};

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

// Polygons in drawing order: 6 symbol shapes, 10 solid, 6 hatched and 10 patterned swatches,
// 3 bars of three faces, a flat bar. Symbol i hangs from (60 + 80 i, 62) with s = 16: the plus
// starts at (x - s/4, y), the square at (x - s/2 + 1, y + 1). Swatch k of a row at y spans
// x 110 + 62 k .. + 52, y .. y + 36. Bar k stands from (530 + 50 k, 320 - 15 k) to (+30, 380),
// depth 10, top face first. Lines: the five grid pens at y = 264 + 16 s from x 110 to 410, then
// the frames of the text boxes, the second one (240, 440, 440, 480). Circles (260, 382) r 24
// aspect 1, (330, 382) r 24 aspect 0.5, (400, 382) r 16 aspect 1.5: half heights 24, 12 and 24;
// each arc starts and ends at its top.
TEST_F(DrawingDemo, EachSectionIsDrawnWhereTheLayoutPutsIt)
{
    const struct {
        const char *what;
        RecordedKind kind;
        std::size_t index;
        std::string points;  // the start of the primitive's points
        int brush = -1;      // the brush kind, where it matters
    } rows[] = {
        {"plus symbol", RecordedKind::Polygon, 0, "(56,62)"},
        {"square symbol", RecordedKind::Polygon, 5, "(453,63)"},
        {"solid swatch 0", RecordedKind::Polygon, 6, face(110, 122, 162, 158), BS_SOLID},
        {"hatched swatch 5", RecordedKind::Polygon, 21, face(420, 166, 472, 202), BS_HATCHED},
        {"pattern swatch 9", RecordedKind::Polygon, 31, face(668, 210, 720, 246), BS_PATTERN},
        {"top of bar 2", RecordedKind::Polygon, 38, "(630,290)(640,280)(670,280)(660,290)"},
        {"front of bar 2", RecordedKind::Polygon, 40, face(630, 290, 660, 380)},
        {"flat bar", RecordedKind::Polygon, 41, face(690, 330, 720, 380)},
        {"grid pen 0", RecordedKind::Line, 0, "(110,264)(410,264)"},
        {"grid pen 4", RecordedKind::Line, 4, "(110,328)(410,328)"},
        {"frame of box 2", RecordedKind::Line, 9, "(240,440)(440,440)"},
        {"circle 1", RecordedKind::Arc, 0, "(236,358)(284,406)(260,358)(260,358)"},
        {"circle 2", RecordedKind::Arc, 1, "(306,370)(354,394)(330,370)(330,370)"},
        {"circle 3", RecordedKind::Arc, 2, "(384,358)(416,406)(400,358)(400,358)"},
    };
    const std::size_t counts[] = {42, 5 + 6 * 4, 3};  // polygons, lines, arcs
    const RecordedKind kinds[] = {RecordedKind::Polygon, RecordedKind::Line, RecordedKind::Arc};
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(only(dc, kinds[k]).size(), counts[k]) << k;
    for (const auto &row : rows) {
        const std::vector<RecordedOp> drawn = only(dc, row.kind);
        ASSERT_LT(row.index, drawn.size()) << row.what;
        const RecordedOp &op = drawn[row.index];
        EXPECT_EQ(points_text(op.points).substr(0, row.points.size()), row.points) << row.what;
        if (row.brush < 0) continue;
        EXPECT_EQ(op.brush.kind, UINT(row.brush)) << row.what;
    }
}

// The six shapes have 12, 8, 4, 3, 3 and 4 vertices, each filled in a colour of its own; every
// symbol's kind is written below it.
TEST_F(DrawingDemo, SymbolRowShowsEachKindInAColourOfItsOwn)
{
    const std::vector<RecordedOp> polys = only(dc, RecordedKind::Polygon);
    ASSERT_GE(polys.size(), 6u);
    std::string vertices;
    std::set<COLORREF> colours;
    for (std::size_t i = 0; i < 6; ++i) {
        vertices += std::to_string(polys[i].points.size()) + " ";
        colours.insert(polys[i].brush.color);
    }
    EXPECT_EQ(vertices, "12 8 4 3 3 4 ");
    EXPECT_EQ(colours.size(), 6u);
    std::vector<std::string> kinds;
    for (const RecordedOp &op : only(dc, RecordedKind::Text))
        if (op.points[0].y == 100) kinds.push_back(op.text);
    const std::vector<std::string> expected = {"1", "2", "4", "30", "31", "254", "42", "43", "111"};
    EXPECT_EQ(kinds, expected);
}

TEST_F(DrawingDemo, GridPensShowTheFiveStylesInOrder)
{
    const std::vector<RecordedOp> lines = only(dc, RecordedKind::Line);
    ASSERT_GE(lines.size(), 5u);
    std::vector<int> styles;
    for (std::size_t s = 0; s < 5; ++s) styles.push_back(lines[s].pen.style);
    const std::vector<int> expected = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    EXPECT_EQ(styles, expected);
}

// All texts are black. Captions and pen names stand left and top at their corner: pen name s at
// (420, 264 + 16 s - 7), a box title 16 above its box. Symbol kinds are centred 38 below their
// symbol (60 + 80 i, 62). A text box's text is centred on (middle x, middle y + h / 5) in a
// font as high as the box and no wider than 0.6 of that or the box width over the length of
// the sizing text; height 0: the current font stays; -1: a font of the character height.
TEST_F(DrawingDemo, TextsStandWhereTheLayoutPutsThem)
{
    const struct {
        const char *text;
        POINT at;
        bool centred;
        int height, width;
    } rows[] = {
        {"Drawing layer", {380, 25}, true, 30, 18},  // 400 / 13 = 30 > zRound(0.6 * 30) = 18
        {"1", {60, 100}, true, 0, 0},
        {"4 dash-dot-dot", {420, 321}, false, 0, 0},
        {"new font 40 high, 24 wide", {240, 424}, false, 0, 0},
        {"Fits", {120, 468}, true, 0, 0},
        {"ABCDE", {340, 468}, true, 40, 24},                                  // 200 / 5 = 40 > 24
        {"Pupil Phase Contour Map, RMS 0.123 wv.", {600, 468}, true, 40, 7},  // 280 / 38 = 7
        {"Legend entry", {70, 544}, true, -1, -1},
        {"Empty sizing text", {340, 548}, true, 40, 1},
        {"Shared size", {600, 548}, true, 40, 10},  // 280 / 26 = 10
    };
    const std::vector<RecordedOp> texts = only(dc, RecordedKind::Text);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        const auto t = std::find_if(texts.begin(), texts.end(),
                                    [&](const RecordedOp &op) { return op.text == row.text; });
        ASSERT_NE(t, texts.end());
        EXPECT_EQ(points_text(t->points), points_text({row.at}));
        const UINT align = row.centred ? TA_CENTER | TA_BASELINE : TA_LEFT | TA_TOP;
        EXPECT_EQ(t->textAlign, align);
        EXPECT_EQ(t->textColor, RGB(0, 0, 0));
        EXPECT_EQ(t->font.stock, row.height == 0);
        if (row.height <= 0) continue;
        EXPECT_EQ(t->font.height, row.height);
        EXPECT_EQ(t->font.width, row.width);
    }
}

}  // namespace
