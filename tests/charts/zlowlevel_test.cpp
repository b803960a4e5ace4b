// The drawing layer against a recording device context: rounding and the colour table, the
// geometry of symbols, bars and circles, the fonts of text in rectangles, the grid pen, the
// wait cursor, and that every object the layer makes is put back and deleted.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "charts/zlowlevel_open.h"
#include "platform/dc.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "tests/charts/recorded.h"

namespace {

// A graph on a recording context, with AveCharWidth 8 so that geometry is exact.
struct Recorded {
    HDC dc = CreateRecordingDC(400, 300);
    int objectsBefore = GdiLiveObjectCount();
    zOpenGraphics g;
    Recorded()
    {
        g.hDC = dc;
        g.RWindow = RECT{0, 0, 400, 300};
        g.AxisColor = RGB(0, 0, 0);
        g.BkgColor = RGB(255, 255, 255);
        for (int k = 0; k < 10; ++k) g.GraphColors[k] = RGB(20 * k + 5, 100, 200 - 10 * k);
        g.AveCharWidth = 8;
        g.CharHeight = 16;
    }
    ~Recorded()
    {
        g.zDeletePens();
        g.zDeleteBrushes();
        DeleteDC(dc);
    }
    std::vector<RecordedOp> ops(RecordedKind kind) const { return only(dc, kind); }
};

TEST(zRound, HalvesRoundUpwardWithinTheIntRange)
{
    const std::pair<double, int> rows[] = {{2.5, 3},         {-2.5, -2},        {-2.6, -3},
                                           {2.49, 2},        {13.8, 14},        {-0.5, 0},
                                           {1e300, INT_MAX}, {-1e300, INT_MIN}, {std::nan(""), 0}};
    for (const auto &[x, expected] : rows) EXPECT_EQ(zRound(x), expected) << "x=" << x;
}

// Entries of the program's colour table, (red, green, blue) with red in the low byte and blue
// in the high one: (0, 0, 128) is 0x800000, (192, 64, 0) is 0x0040C0, (192, 255, 96) 0x60FFC0.
TEST(RGB_color, IndexSelectsAnEntryOfTheColourTableOrBlackOutsideIt)
{
    const std::pair<int, COLORREF> rows[] = {{0, 0x000000},  {1, 0x800000},  {7, 0xC0C0C0},
                                             {12, 0x0000FF}, {15, 0xFFFFFF}, {26, 0x0040C0},
                                             {47, 0x200020}, {52, 0x60FFC0}, {63, 0x400040},
                                             {-1, 0},        {64, 0},        {1000, 0}};
    for (const auto &[i, expected] : rows) EXPECT_EQ(RGB_color(i), expected) << "i=" << i;
}

// Shapes hang below the point, filled with the set's brush, outlined in the axis colour with the
// ALTERNATE rule. s = 8: q = 2, h = 4, a = 24/5 = 4, t1 = 8/3 = 2, t2 = 16/3 = 5, r = zRound(4.8)
// = 5, zRound(9.6) = 10. Other kinds write the character of their low byte in the device font
// with its cell's top left at (x - s/2, y - s).
TEST(zDraw_Symbol, ShapesHangBelowThePointOtherKindsAreCharacters)
{
    const struct {
        int kind;
        const char *vertices;
        const char *text = nullptr;
    } rows[] = {
        {30, "(100,50)(96,58)(104,58)"},
        {31, "(96,50)(104,50)(100,58)"},
        {4, "(100,50)(95,55)(100,60)(105,55)"},
        {254, "(97,51)(103,51)(103,57)(97,57)"},
        {2, "(98,50)(102,50)(104,52)(104,55)(102,58)(98,58)(96,55)(96,52)"},
        {1, "(98,50)(102,50)(102,52)(104,52)(104,55)(102,55)(102,58)(98,58)(98,55)(96,55)"
            "(96,52)(98,52)"},
        {42, "(96,42)", "*"},
        {0x100 + 'x', "(96,42)", "x"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE("kind " + std::to_string(row.kind));
        Recorded r;
        r.g.zSelectGraphColor(3);
        const HGDIOBJ fontBefore = GetCurrentObject(r.dc, OBJ_FONT);
        r.g.zDraw_Symbol(100, 50, row.kind, 3);
        const auto drawn = r.ops(row.text ? RecordedKind::Text : RecordedKind::Polygon);
        ASSERT_EQ(drawn.size(), 1u);
        EXPECT_EQ(points_text(drawn[0].points), row.vertices);
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_FONT), fontBefore);
        if (row.text) {
            EXPECT_EQ(drawn[0].text, row.text);
            EXPECT_TRUE(drawn[0].font.stock);
        } else {
            EXPECT_EQ(drawn[0].brush.color, r.g.GraphColors[3]);
            EXPECT_EQ(drawn[0].pen.color, r.g.AxisColor);
            EXPECT_EQ(drawn[0].polyFillMode, ALTERNATE);
        }
    }
}

TEST(zActivatePens, GridPenStyleOutsideZeroToFourIsSolid)
{
    const std::pair<int, int> rows[] = {{0, PS_SOLID},   {1, PS_DASH},       {2, PS_DOT},
                                        {3, PS_DASHDOT}, {4, PS_DASHDOTDOT}, {5, PS_SOLID},
                                        {-1, PS_SOLID}};
    for (const auto &[penStyle, expected] : rows) {
        SCOPED_TRACE("PenStyle " + std::to_string(penStyle));
        Recorded r;
        r.g.PenStyle = penStyle;
        r.g.zActivatePens();
        LOGPEN lp{};
        EXPECT_GT(GetObjectA(r.g.hGridPen, sizeof lp, &lp), 0);
        EXPECT_EQ(static_cast<int>(lp.lopnStyle), expected);
        EXPECT_EQ(lp.lopnWidth.x, 0);
        EXPECT_EQ(lp.lopnColor, r.g.AxisColor);
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_PEN), r.g.hAxisPen);
    }
}

TEST(zShowStringInRect, FontIsSizedToFitTheSizingTextInTheRectangle)
{
    // width 0: the current font stays; at: the centre, the baseline a fifth of the height lower.
    const struct {
        const char *name, *sizing;
        RECT rect;
        int useCharHeight, alwaysNewFont, height, width;
        POINT at;
    } rows[] = {
        // 200 / 5 = 40 is wider than zRound(0.6 * 30) = 18.
        {"five characters in 200 x 30", "ABCDE", {0, 0, 200, 30}, 0, 1, 30, 18, {100, 21}},
        {"empty sizing text", "", {0, 0, 200, 30}, 0, 1, 30, 1, {100, 21}},
        // useCharHeight with 30 > s = 8: height 16, width min(40, zRound(9.6) = 10).
        {"character height", "ABCDE", {0, 0, 200, 30}, 1, 1, 16, 10, {100, 21}},
        {"fits, no new font asked for", "AB", {0, 0, 300, 60}, 0, 0, 0, 0, {150, 42}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Recorded r;
        RECT rect = row.rect;
        const HGDIOBJ fontBefore = GetCurrentObject(r.dc, OBJ_FONT);
        r.g.zShowStringInRect(row.sizing, "Text", &rect, row.useCharHeight, row.alwaysNewFont);
        const auto texts = r.ops(RecordedKind::Text);
        ASSERT_EQ(texts.size(), 1u);
        const RecordedOp &t = texts[0];
        EXPECT_EQ(t.font.stock, row.width == 0);
        if (row.width) {
            EXPECT_EQ(std::tuple(t.font.height, t.font.width, t.font.weight, t.font.face),
                      std::tuple(row.height, row.width, 400, std::string("Arial")));
        }
        EXPECT_EQ(t.text, "Text");
        EXPECT_EQ(points_text(t.points), points_text({row.at}));
        EXPECT_EQ(t.textAlign, UINT(TA_CENTER | TA_BASELINE));
        EXPECT_EQ(t.textColor, r.g.AxisColor);
        EXPECT_EQ(GetTextAlign(r.dc), UINT(TA_LEFT | TA_TOP));
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_FONT), fontBefore);
        r.g.zDeletePens();
        EXPECT_EQ(GdiLiveObjectCount(), r.objectsBefore) << "the font was not deleted";
    }
}

// The side is shaded: each byte of RGB(200, 100, 50) shifted right once.
TEST(zDraw3DBar, DepthDrawsTopThenShadedSideThenFront)
{
    const COLORREF full = RGB(200, 100, 50);
    const COLORREF side = RGB(100, 50, 25);
    const struct {
        int depth;
        std::vector<std::string> faces;  // top, side, front
        std::vector<COLORREF> fills;
    } rows[] = {
        {0, {"(10,20)(10,60)(30,60)(30,20)"}, {full}},
        {5,
         {"(10,20)(15,15)(35,15)(30,20)", "(35,15)(30,20)(30,60)(35,55)",
          "(10,20)(10,60)(30,60)(30,20)"},
         {full, side, full}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE("depth " + std::to_string(row.depth));
        Recorded r;
        r.g.GraphColors[2] = full;
        r.g.ShadeShift = 1;
        r.g.zSelectGraphColor(5);  // makes the pens and brushes; selected again afterwards
        const int objects = GdiLiveObjectCount();
        r.g.zDraw3DBar(10, 20, 30, 60, row.depth, r.g.hBrushes[2], r.g.hAxisPen);
        EXPECT_EQ(GdiLiveObjectCount(), objects) << "shading brush not deleted";
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_BRUSH), r.g.hBrushes[5]);
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_PEN), r.g.hPens[5]);
        const auto polys = r.ops(RecordedKind::Polygon);
        EXPECT_EQ(points_of(polys), row.faces);
        std::vector<COLORREF> fills;
        for (const RecordedOp &face : polys) {
            fills.push_back(face.brush.color);
            EXPECT_EQ(face.pen.color, r.g.AxisColor);
        }
        EXPECT_EQ(fills, row.fills);
    }
}

TEST(zDrawCircle, ArcIsClosedAtTheTopOfTheEllipse)
{
    Recorded r;
    // r = 10, aspect 0.55: vertical radius zRound(5.5) = 6; start y = zRound(40 - 5.5) = 35.
    r.g.zDrawCircle(50, 40, 10, 0.55);
    const auto arcs = r.ops(RecordedKind::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(points_text(arcs[0].points), "(40,34)(60,46)(50,35)(50,35)");
}

TEST(zDrawRect, OutlineRunsClockwiseFromTheTopLeftInTheAxisPen)
{
    Recorded r;
    r.g.AxisColor = RGB(9, 8, 7);
    r.g.zActivatePens();
    r.g.zSelectGraphColor(1);
    const RECT frame{60, 45, 340, 255};
    r.g.zDrawRect(&frame);
    const auto lines = r.ops(RecordedKind::Line);
    const std::vector<std::string> sides = {"(60,45)(340,45)", "(340,45)(340,255)",
                                            "(340,255)(60,255)", "(60,255)(60,45)"};
    EXPECT_EQ(points_of(lines), sides);
    for (const RecordedOp &side : lines) EXPECT_EQ(side.pen.color, RGB(9, 8, 7));
}

TEST(zLowLevelGraphics, ReleaseAfterRestoreLeavesTheCallersObjectsSelected)
{
    Recorded r;
    HPEN callerPen = CreatePen(PS_SOLID, 0, RGB(1, 1, 1));
    HGDIOBJ stockPen = SelectObject(r.dc, callerPen);
    const HGDIOBJ brushBefore = GetCurrentObject(r.dc, OBJ_BRUSH);
    const HGDIOBJ fontBefore = GetCurrentObject(r.dc, OBJ_FONT);
    r.g.zSaveGraphics();
    EXPECT_EQ(r.g.hOldPen, callerPen);
    EXPECT_EQ(r.g.hOldFont, fontBefore);
    EXPECT_EQ(GetCurrentObject(r.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    r.g.zSelectGraphColor(4);
    r.g.zRestoreGraphics();
    r.g.zDeletePens();
    r.g.zDeleteBrushes();
    EXPECT_EQ(GetCurrentObject(r.dc, OBJ_PEN), callerPen);
    EXPECT_EQ(GetCurrentObject(r.dc, OBJ_BRUSH), brushBefore);
    EXPECT_EQ(GetCurrentObject(r.dc, OBJ_FONT), fontBefore);
    SelectObject(r.dc, stockPen);
    EXPECT_TRUE(DeleteObject(callerPen));
}

TEST(zLowLevelGraphics, SelectedObjectsAreDeletedOnRelease)
{
    Recorded r;
    r.g.zSelectGraphColor(7);
    r.g.zDeletePens();
    r.g.zDeleteBrushes();
    EXPECT_EQ(GdiLiveObjectCount(), r.objectsBefore);
    EXPECT_EQ(r.g.bPensActive, 0);
    EXPECT_EQ(r.g.bBrushesActive, 0) << "the next activation makes them afresh";
    EXPECT_EQ(r.g.hPens[7], nullptr);
}

// Off before on changes nothing (it would hide the pointer), nor does any value but 0 and 1, nor
// a second off.
TEST(HOURGLASS, WaitCursorShowsFromOneToZero)
{
    HDC dc = CreateImageDC(1, 1);  // the toolkit is up
    testing_begin();
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    const int base = ShowCursor(FALSE) + 1;
    ShowCursor(TRUE);
    std::vector<std::string> states;  // the cursor, and how many times more it is shown
    for (const int on : {0, 5, 1, 0, 0}) {
        HOURGLASS(on);
        const int shown = ShowCursor(FALSE) + 1 - base;
        ShowCursor(TRUE);
        states.push_back(testing_cursors().back() + " " + std::to_string(shown));
    }
    const std::vector<std::string> expected = {"IDC_CROSS 0", "IDC_CROSS 0", "IDC_WAIT 1",
                                               "IDC_CROSS 0", "IDC_CROSS 0"};
    EXPECT_EQ(states, expected);
    testing_end();
    DeleteDC(dc);
}

}  // namespace
