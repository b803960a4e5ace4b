// The demonstration page, drawn into a recording context: each section drawn where the page's
// layout puts it, and the context left as found. Expected places are worked out from the layout
// in comments; the shapes themselves are the drawing layer's, tested in zlowlevel_test.cpp.
#include <gtest/gtest.h>

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

// The six symbol shapes, the first polygons, each in a colour of its own.
TEST_F(DrawingDemo, EachSymbolHasAColourOfItsOwn)
{
    const std::vector<RecordedOp> polygons = only(dc, RecordedKind::Polygon);
    ASSERT_GE(polygons.size(), 6u);
    std::set<COLORREF> colours;
    for (std::size_t i = 0; i < 6; ++i) colours.insert(polygons[i].brush.color);
    EXPECT_EQ(colours.size(), 6u);
}

// Polygons in drawing order: 6 symbol shapes, 10 solid, 6 hatched and 10 patterned swatches,
// 3 bars of three faces, a flat bar. Symbol i hangs from (60 + 80 i, 62) with s = 16: the plus
// starts at (x - s/4, y), the square at (x - s/2 + 1, y + 1). Swatch k of a row at y spans
// x 110 + 62 k .. + 52, y .. y + 36. Bar k stands from (530 + 50 k, 320 - 15 k) to (+30, 380),
// depth 10, top face first. Lines: the five grid pens at y = 264 + 16 s from x 110 to 410, then
// the frames of the text boxes, the second one (240, 440, 440, 480). Circle 2 at (330, 382),
// r 24, aspect 0.5: half height 12, its arc starting and ending at the top. Texts: the title
// centred in (180, 4, 580, 34), baseline 30 / 5 below the middle; the caption of the symbols,
// then each symbol's kind centred 38 below it.
TEST_F(DrawingDemo, EachSectionIsDrawnWhereTheLayoutPutsIt)
{
    const struct {
        const char *what;
        RecordedKind kind;
        std::size_t index;
        std::string points;  // the start of the primitive's points
        int brush = -1;      // the brush kind, where it matters
        UINT align = 0;      // the text alignment, where it matters
    } rows[] = {
        {"plus symbol", RecordedKind::Polygon, 0, "(56,62)"},
        {"square symbol", RecordedKind::Polygon, 5, "(453,63)"},
        {"solid swatch 0", RecordedKind::Polygon, 6, face(110, 122, 162, 158), BS_SOLID},
        {"hatched swatch 5", RecordedKind::Polygon, 21, face(420, 166, 472, 202), BS_HATCHED},
        {"pattern swatch 9", RecordedKind::Polygon, 31, face(668, 210, 720, 246), BS_PATTERN},
        {"top of bar 2", RecordedKind::Polygon, 38, "(630,290)(640,280)(670,280)(660,290)"},
        {"flat bar", RecordedKind::Polygon, 41, face(690, 330, 720, 380)},
        {"grid pen 4", RecordedKind::Line, 4, "(110,328)(410,328)"},
        {"frame of box 2", RecordedKind::Line, 9, "(240,440)(440,440)"},
        {"circle 2", RecordedKind::Arc, 1, "(306,370)(354,394)(330,370)(330,370)"},
        {"title", RecordedKind::Text, 0, "(380,25)"},
        {"kind of symbol 0", RecordedKind::Text, 2, "(60,100)", -1, TA_CENTER | TA_BASELINE},
    };
    const std::size_t counts[] = {42, 5 + 6 * 4, 3};  // polygons, lines, arcs
    const RecordedKind kinds[] = {RecordedKind::Polygon, RecordedKind::Line, RecordedKind::Arc};
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(only(dc, kinds[k]).size(), counts[k]) << k;
    for (const auto &row : rows) {
        const std::vector<RecordedOp> drawn = only(dc, row.kind);
        ASSERT_LT(row.index, drawn.size()) << row.what;
        const RecordedOp &op = drawn[row.index];
        EXPECT_EQ(points_text(op.points).substr(0, row.points.size()), row.points) << row.what;
        if (row.align != 0) {
            EXPECT_EQ(op.textAlign, row.align) << row.what;
        }
        if (row.brush < 0) continue;
        EXPECT_EQ(op.brush.kind, UINT(row.brush)) << row.what;
    }
}

}  // namespace
