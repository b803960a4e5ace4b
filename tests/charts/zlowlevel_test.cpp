// The drawing layer against a recording device context: the geometry of symbols, bars and
// circles, the fonts of text in rectangles, pen and brush choice, and that every object the
// layer makes is put back and deleted.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "charts/zlowlevel.h"
#include "platform/dc.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {

// The graph state, opened up for the tests: graphs keep it to themselves.
struct Graphics : zLowLevelGraphics {
    using zLowLevelGraphics::RWindow, zLowLevelGraphics::AxisColor, zLowLevelGraphics::BkgColor,
        zLowLevelGraphics::GraphColors, zLowLevelGraphics::ShadeShift, zLowLevelGraphics::CurrentColor,
        zLowLevelGraphics::AveCharWidth, zLowLevelGraphics::CharHeight, zLowLevelGraphics::PenStyle,
        zLowLevelGraphics::BrushStyle, zLowLevelGraphics::hDC, zLowLevelGraphics::hBrushes,
        zLowLevelGraphics::hPens, zLowLevelGraphics::hAxisPen, zLowLevelGraphics::hGridPen,
        zLowLevelGraphics::bPensActive, zLowLevelGraphics::bBrushesActive, zLowLevelGraphics::hOldPen,
        zLowLevelGraphics::hOldBrush, zLowLevelGraphics::hOldFont, zLowLevelGraphics::hPatternBitmaps;
};

// A graph on a recording context, with AveCharWidth fixed so that geometry is exact.
struct Recorded {
    HDC dc;
    int objectsBefore;
    Graphics g;
    explicit Recorded(int s = 8) : dc(CreateRecordingDC(400, 300)), objectsBefore(GdiLiveObjectCount())
    {
        g.hDC = dc;
        g.RWindow = RECT{0, 0, 400, 300};
        g.AxisColor = RGB(0, 0, 0);
        g.BkgColor = RGB(255, 255, 255);
        for (int k = 0; k < 10; ++k) g.GraphColors[k] = RGB(20 * k + 5, 100, 200 - 10 * k);
        g.AveCharWidth = s;
        g.CharHeight = 16;
    }
    ~Recorded()
    {
        g.zDeletePens();
        g.zDeleteBrushes();
        DeleteDC(dc);
    }
    std::vector<RecordedOp> ops() const { return RecordedOps(dc); }
    std::vector<RecordedOp> ops(RecordedKind kind) const
    {
        std::vector<RecordedOp> out;
        for (const RecordedOp &op : RecordedOps(dc))
            if (op.kind == kind) out.push_back(op);
        return out;
    }
};

std::string points_text(const std::vector<POINT> &points)
{
    std::string s;
    for (const POINT &p : points) {
        s += '(';
        s += std::to_string(p.x);
        s += ',';
        s += std::to_string(p.y);
        s += ')';
    }
    return s;
}

TEST(zRound, HalvesRoundUpAndExtremesStayInRange)
{
    struct Row {
        double x;
        int expected;
    } rows[] = {
        {2.5, 3}, {-2.5, -2}, {-2.6, -3}, {2.49, 2}, {18.0, 18}, {13.8, 14}, {-0.5, 0}, {0.0, 0},
        {1e300, INT_MAX}, {-1e300, INT_MIN}, {std::nan(""), 0},
    };
    for (const Row &row : rows) EXPECT_EQ(zRound(row.x), row.expected) << "x=" << row.x;
}

TEST(RGB_color, TableEntriesAndOutOfRangeIndices)
{
    struct Row {
        int i;
        COLORREF expected;
    } rows[] = {
        {-1, 0x000000}, {64, 0x000000}, {1000, 0x000000}, {0, 0x000000}, {15, 0xFFFFFF},
        {12, 0x0000FF},  // red 255 in the low byte
        {9, 0xFF0000},   // blue 255 in the high byte
        {45, 0xFFC000},  // (0, 192, 255)
        {26, 0x0040C0},  // (192, 64, 0)
        {63, 0x400040},  // (64, 0, 64)
    };
    for (const Row &row : rows) EXPECT_EQ(RGB_color(row.i), row.expected) << "i=" << row.i;
    EXPECT_EQ(RGB_color(16), RGB_color(40));
    EXPECT_EQ(zMakeColor(1, 2, 3), 0x030201u);
}

TEST(zDraw_Symbol, ShapesHangBelowThePointWithCharWidth8)
{
    // s = 8: q = 2, h = 4, a = 24/5 = 4, t1 = 8/3 = 2, t2 = 16/3 = 5, r = zRound(4.8) = 5,
    // zRound(9.6) = 10.
    struct Row {
        int kind;
        std::vector<POINT> vertices;
    } rows[] = {
        {30, {{100, 50}, {96, 58}, {104, 58}}},
        {31, {{96, 50}, {104, 50}, {100, 58}}},
        {4, {{100, 50}, {95, 55}, {100, 60}, {105, 55}}},
        {254, {{97, 51}, {103, 51}, {103, 57}, {97, 57}}},
        {2, {{98, 50}, {102, 50}, {104, 52}, {104, 55}, {102, 58}, {98, 58}, {96, 55}, {96, 52}}},
        {1,
         {{98, 50}, {102, 50}, {102, 52}, {104, 52}, {104, 55}, {102, 55}, {102, 58}, {98, 58}, {98, 55},
          {96, 55}, {96, 52}, {98, 52}}},
    };
    for (const Row &row : rows) {
        Recorded r;
        r.g.zSelectGraphColor(3);
        r.g.zDraw_Symbol(100, 50, row.kind, 3);
        const auto polys = r.ops(RecordedKind::Polygon);
        ASSERT_EQ(polys.size(), 1u) << "kind " << row.kind;
        EXPECT_EQ(points_text(polys[0].points), points_text(row.vertices)) << "kind " << row.kind;
        // Filled with the set's brush, outlined in the axis colour, ALTERNATE rule.
        EXPECT_EQ(polys[0].brush.color, r.g.GraphColors[3]) << "kind " << row.kind;
        EXPECT_EQ(polys[0].pen.color, r.g.AxisColor) << "kind " << row.kind;
        EXPECT_EQ(polys[0].polyFillMode, ALTERNATE) << "kind " << row.kind;
    }
}

TEST(zDraw_Symbol, OtherKindsWriteTheCharacterOfTheLowByteInTheDeviceFont)
{
    struct Row {
        int kind;
        const char *text;
    } rows[] = {{42, "*"}, {43, "+"}, {0x100 + 'x', "x"}, {'o', "o"}};
    for (const Row &row : rows) {
        Recorded r;
        const HGDIOBJ fontBefore = GetCurrentObject(r.dc, OBJ_FONT);
        r.g.zDraw_Symbol(100, 50, row.kind, 0);
        const auto texts = r.ops(RecordedKind::Text);
        ASSERT_EQ(texts.size(), 1u) << "kind " << row.kind;
        EXPECT_EQ(texts[0].text, row.text) << "kind " << row.kind;
        EXPECT_EQ(points_text(texts[0].points), "(96,42)") << "kind " << row.kind;  // (x - s/2, y - s)
        EXPECT_TRUE(texts[0].font.stock) << "kind " << row.kind;
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_FONT), fontBefore) << "kind " << row.kind;
    }
}

TEST(zDraw_Symbol, ColourIndexWrapsLikeTheGraphColours)
{
    struct Row {
        int k, set;
    } rows[] = {{12, 2}, {-3, 0}, {9, 9}, {10, 0}, {25, 5}};
    for (const Row &row : rows) {
        Recorded r;
        r.g.zSelectGraphColor(0);
        r.g.zDraw_Symbol(10, 10, 30, row.k);
        const auto polys = r.ops(RecordedKind::Polygon);
        ASSERT_EQ(polys.size(), 1u) << "k=" << row.k;
        EXPECT_EQ(polys[0].brush.color, r.g.GraphColors[row.set]) << "k=" << row.k;
    }
}

TEST(zSelectGraphColor, WrapsTheIndexAndSelectsPenBrushAndTextColour)
{
    struct Row {
        int k, set;
    } rows[] = {{12, 2}, {-3, 0}, {0, 0}, {9, 9}, {10, 0}, {123, 3}};
    for (const Row &row : rows) {
        Recorded r;
        r.g.zSelectGraphColor(row.k);
        EXPECT_EQ(r.g.CurrentColor, r.g.GraphColors[row.set]) << "k=" << row.k;
        EXPECT_EQ(GetTextColor(r.dc), r.g.GraphColors[row.set]) << "k=" << row.k;
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_PEN), r.g.hPens[row.set]) << "k=" << row.k;
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_BRUSH), r.g.hBrushes[row.set]) << "k=" << row.k;
    }
}

TEST(zActivatePens, GridPenStyleFallsBackToSolid)
{
    struct Row {
        int penStyle, expected;
    } rows[] = {{0, PS_SOLID}, {1, PS_DASH}, {2, PS_DOT}, {3, PS_DASHDOT}, {4, PS_DASHDOTDOT},
                {5, PS_SOLID}, {7, PS_SOLID}, {-1, PS_SOLID}};
    for (const Row &row : rows) {
        Recorded r;
        r.g.PenStyle = row.penStyle;
        r.g.zActivatePens();
        LOGPEN lp{};
        ASSERT_GT(GetObjectA(r.g.hGridPen, sizeof lp, &lp), 0) << "PenStyle " << row.penStyle;
        EXPECT_EQ(static_cast<int>(lp.lopnStyle), row.expected) << "PenStyle " << row.penStyle;
        EXPECT_EQ(lp.lopnWidth.x, 0) << "PenStyle " << row.penStyle;
        EXPECT_EQ(lp.lopnColor, r.g.AxisColor) << "PenStyle " << row.penStyle;
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_PEN), r.g.hAxisPen) << "PenStyle " << row.penStyle;
    }
}

TEST(zActivatePens, PensAreMadeOnceFromTheColoursOfTheFirstCall)
{
    Recorded r;
    r.g.zActivatePens();
    const HPEN first = r.g.hPens[4];
    const int count = GdiLiveObjectCount();
    r.g.GraphColors[4] = RGB(1, 2, 3);
    r.g.zActivatePens();
    EXPECT_EQ(r.g.hPens[4], first);
    EXPECT_EQ(GdiLiveObjectCount(), count);
    LOGPEN lp{};
    GetObjectA(r.g.hPens[4], sizeof lp, &lp);
    EXPECT_NE(lp.lopnColor, RGB(1, 2, 3));
}

TEST(zActivateBrushes, BrushStyleChoosesSolidHatchedOrPatterned)
{
    // The ten patterns, top row first.
    const unsigned char patterns[10][8] = {
        {0xF7, 0xFB, 0xFD, 0xFE, 0x7F, 0xBF, 0xDF, 0xEF}, {0xFF, 0x99, 0x99, 0xFF, 0xFF, 0x99, 0x99, 0xFF},
        {0xFF, 0xFF, 0xFF, 0xE7, 0xE7, 0xFF, 0xFF, 0xFF}, {0xFF, 0xBD, 0xE7, 0xFF, 0xBD, 0xE7, 0xBD, 0xFF},
        {0xFF, 0xFF, 0xC7, 0xC7, 0xC7, 0xFF, 0xFF, 0xFF}, {0xEF, 0xDF, 0xBF, 0x7F, 0xFE, 0xFD, 0xFB, 0xF7},
        {0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33}, {0xFF, 0xFF, 0xC3, 0xDB, 0xDB, 0xC3, 0xFF, 0xFF},
        {0xE7, 0xDB, 0xBD, 0x7E, 0x7E, 0xBD, 0xDB, 0xE7}, {0xDB, 0xDB, 0x00, 0xDB, 0xDB, 0x00, 0xDB, 0xDB},
    };
    for (int brushStyle : {0, 1, 2, 5, -2}) {
        Recorded r;
        r.g.BrushStyle = brushStyle;
        for (int k = 0; k < 10; ++k) {
            r.g.zSelectGraphColor(k);
            const POINT square[4] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
            Polygon(r.dc, square, 4);
        }
        const auto polys = r.ops(RecordedKind::Polygon);
        ASSERT_EQ(polys.size(), 10u);
        for (int k = 0; k < 10; ++k) {
            const RecordedBrush &b = polys[static_cast<std::size_t>(k)].brush;
            if (brushStyle == 1) {
                EXPECT_EQ(b.kind, BS_HATCHED) << "k=" << k;
                EXPECT_EQ(b.hatch, k % 6) << "k=" << k;
                EXPECT_EQ(b.color, r.g.GraphColors[k]) << "k=" << k;
            } else if (brushStyle == 2) {
                EXPECT_EQ(b.kind, BS_PATTERN) << "k=" << k;
                ASSERT_TRUE(b.monochrome) << "k=" << k;
                for (int row = 0; row < 8; ++row) EXPECT_EQ(b.pattern[row], patterns[k][row]) << "k=" << k << " row " << row;
            } else {
                EXPECT_EQ(b.kind, BS_SOLID) << "BrushStyle " << brushStyle << " k=" << k;
                EXPECT_EQ(b.color, r.g.GraphColors[k]) << "BrushStyle " << brushStyle << " k=" << k;
            }
        }
        if (brushStyle == 2) {
            for (HBITMAP bitmap : r.g.hPatternBitmaps) EXPECT_EQ(bitmap, nullptr);
        }
    }
}

TEST(zShowStringInRect, FontIsSizedFromTheRectangleAndTheSizingText)
{
    struct Row {
        const char *name;
        const char *sizing;
        RECT rect;
        int useCharHeight;
        int expectedHeight, expectedWidth;
        POINT at;  // centre, baseline a fifth of the height below the middle
    } rows[] = {
        // 200 / 5 = 40 is wider than zRound(0.6 * 30) = 18.
        {"five characters in 200 x 30", "ABCDE", {0, 0, 200, 30}, 0, 30, 18, {100, 21}},
        // The title rectangle of a 400 x 300 window: 196 / 38 = 5, below zRound(0.6 * 23) = 14.
        {"38-character title", "Pupil Phase Contour Map, RMS 0.123 wv.", {102, 11, 298, 34}, 0, 23, 5, {200, 27}},
        {"empty sizing text", "", {0, 0, 200, 30}, 0, 30, 1, {100, 21}},
        // useCharHeight with 30 > s = 8: height 16, width min(40, zRound(9.6) = 10).
        {"character height", "ABCDE", {0, 0, 200, 30}, 1, 16, 10, {100, 21}},
    };
    for (const Row &row : rows) {
        Recorded r;
        RECT rect = row.rect;
        const HGDIOBJ fontBefore = GetCurrentObject(r.dc, OBJ_FONT);
        r.g.zShowStringInRect(row.sizing, "Text", &rect, row.useCharHeight, 1);
        const auto texts = r.ops(RecordedKind::Text);
        ASSERT_EQ(texts.size(), 1u) << row.name;
        const RecordedOp &t = texts[0];
        EXPECT_EQ(t.font.height, row.expectedHeight) << row.name;
        EXPECT_EQ(t.font.width, row.expectedWidth) << row.name;
        EXPECT_EQ(t.font.weight, 400) << row.name;
        EXPECT_EQ(t.font.face, "Arial") << row.name;
        EXPECT_EQ(t.text, "Text") << row.name;
        EXPECT_EQ(points_text(t.points), points_text({row.at})) << row.name;
        EXPECT_EQ(t.textAlign, static_cast<UINT>(TA_CENTER | TA_BASELINE)) << row.name;
        EXPECT_EQ(t.textColor, r.g.AxisColor) << row.name;
        EXPECT_EQ(GetTextAlign(r.dc), static_cast<UINT>(TA_LEFT | TA_TOP)) << row.name;
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_FONT), fontBefore) << row.name;
        r.g.zDeletePens();
        EXPECT_EQ(GdiLiveObjectCount(), r.objectsBefore) << row.name << ": the font was not deleted";
    }
}

TEST(zShowStringInRect, TextThatFitsKeepsTheCurrentFontUnlessANewOneIsDemanded)
{
    for (int alwaysNewFont : {0, 1}) {
        Recorded r;
        RECT rect{0, 0, 300, 60};
        r.g.zShowStringInRect("AB", "AB", &rect, 0, alwaysNewFont);
        const auto texts = r.ops(RecordedKind::Text);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].font.stock, alwaysNewFont == 0) << "alwaysNewFont " << alwaysNewFont;
    }
}

TEST(zDraw3DBar, DepthAddsTopAndShadedSideFacesBeforeTheFront)
{
    struct Row {
        int depth;
        std::vector<std::string> faces;  // top, side, front; only the front without depth
    } rows[] = {
        {0, {"(10,20)(10,60)(30,60)(30,20)"}},
        {5, {"(10,20)(15,15)(35,15)(30,20)", "(35,15)(30,20)(30,60)(35,55)", "(10,20)(10,60)(30,60)(30,20)"}},
    };
    for (const Row &row : rows) {
        Recorded r;
        r.g.GraphColors[2] = RGB(200, 100, 50);
        r.g.ShadeShift = 1;
        r.g.zActivatePens();
        r.g.zActivateBrushes();
        const int objects = GdiLiveObjectCount();
        r.g.zDraw3DBar(10, 20, 30, 60, row.depth, r.g.hBrushes[2], r.g.hAxisPen);
        EXPECT_EQ(GdiLiveObjectCount(), objects) << "depth " << row.depth << ": shading brush not deleted";
        const auto polys = r.ops(RecordedKind::Polygon);
        ASSERT_EQ(polys.size(), row.faces.size()) << "depth " << row.depth;
        for (std::size_t k = 0; k < polys.size(); ++k) {
            EXPECT_EQ(points_text(polys[k].points), row.faces[k]) << "depth " << row.depth << " face " << k;
            EXPECT_EQ(polys[k].pen.color, r.g.AxisColor) << "depth " << row.depth << " face " << k;
            // The side is shaded: each byte shifted right once.
            EXPECT_EQ(polys[k].brush.color, k == 1 ? RGB(100, 50, 25) : RGB(200, 100, 50))
                << "depth " << row.depth << " face " << k;
        }
    }
}

TEST(zDrawWedge, SidesZeroDrawsOnlyTheFace)
{
    const POINT p[6] = {{0, 10}, {10, 10}, {20, 20}, {30, 20}, {40, 30}, {50, 30}};
    struct Row {
        int sides;
        std::size_t polygons;
    } rows[] = {{0, 1}, {1, 3}};
    for (const Row &row : rows) {
        Recorded r;
        r.g.zActivatePens();
        r.g.zActivateBrushes();
        r.g.zDrawWedge(p[0], p[1], p[2], p[3], p[4], p[5], r.g.hBrushes[0], r.g.hAxisPen, row.sides);
        const auto polys = r.ops(RecordedKind::Polygon);
        ASSERT_EQ(polys.size(), row.polygons) << "sides " << row.sides;
        EXPECT_EQ(points_text(polys[0].points), "(20,20)(30,20)(40,30)(50,30)");
        if (row.sides) {
            // d = |p3.y - p2.y| = 10
            EXPECT_EQ(points_text(polys[2].points), "(10,10)(20,20)(50,30)(50,40)");
        }
    }
}

TEST(zLowLevelGraphics, CircleIsAnArcStartingAndEndingAtTheTop)
{
    Recorded r;
    // r = 10, aspect 0.55: vertical radius zRound(5.5) = 6; start y = zRound(40 - 5.5) = 35.
    r.g.zDrawCircle(50, 40, 10, 0.55);
    const auto arcs = r.ops(RecordedKind::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(points_text(arcs[0].points), "(40,34)(60,46)(50,35)(50,35)");
}

TEST(zLowLevelGraphics, DrawRectTracesTheFrameInTheAxisPen)
{
    Recorded r;
    r.g.AxisColor = RGB(9, 8, 7);
    r.g.zActivatePens();
    r.g.zSelectGraphColor(1);
    const RECT frame{60, 45, 340, 255};
    r.g.zDrawRect(&frame);
    const auto lines = r.ops(RecordedKind::Line);
    ASSERT_EQ(lines.size(), 4u);
    const char *expected[4] = {"(60,45)(340,45)", "(340,45)(340,255)", "(340,255)(60,255)", "(60,255)(60,45)"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(points_text(lines[static_cast<std::size_t>(i)].points), expected[i]) << "side " << i;
        EXPECT_EQ(lines[static_cast<std::size_t>(i)].pen.color, RGB(9, 8, 7)) << "side " << i;
    }
}

TEST(zLowLevelGraphics, FilledRectUsesAPaletteRelativeBrushAndDeletesIt)
{
    Recorded r;
    r.g.zDrawFilledRect(1, 2, 30, 40, 10, 20, 30);
    const auto rects = r.ops(RecordedKind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(points_text(rects[0].points), "(1,2)(30,40)");
    EXPECT_EQ(rects[0].brush.color, 0x02000000u | RGB(10, 20, 30));
    EXPECT_EQ(GdiLiveObjectCount(), r.objectsBefore);
    EXPECT_EQ(GetCurrentObject(r.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
}

TEST(zLowLevelGraphics, AlignTextModes)
{
    struct Row {
        int mode;
        UINT expected;
    } rows[] = {{0, TA_RIGHT | TA_TOP}, {1, TA_LEFT | TA_TOP}, {2, TA_CENTER | TA_BASELINE}, {3, TA_BOTTOM},
                {-1, TA_BOTTOM}};
    for (const Row &row : rows) {
        Recorded r;
        SetTextAlign(r.dc, TA_BOTTOM);  // what "no change" leaves
        r.g.zAlignText(row.mode);
        EXPECT_EQ(GetTextAlign(r.dc), row.expected) << "mode " << row.mode;
    }
}

TEST(zLowLevelGraphics, RectangleHelpers)
{
    Graphics g;
    struct Row {
        RECT r;
        int width, height;
        POINT centre;  // integer division truncates toward zero
    } rows[] = {{{0, 0, 400, 300}, 400, 300, {200, 150}},
                {{30, 40, 10, 5}, 20, 35, {20, 22}},
                {{-5, -3, 0, 0}, 5, 3, {-2, -1}}};
    for (const Row &row : rows) {
        EXPECT_EQ(g.zRectWidth(&row.r), row.width);
        EXPECT_EQ(g.zRectHeight(&row.r), row.height);
        const POINT c = g.zRectCenter(&row.r);
        EXPECT_EQ(c.x, row.centre.x);
        EXPECT_EQ(c.y, row.centre.y);
    }
    RECT set{};
    g.zSetRect(&set, 1, 2, 3, 4);
    EXPECT_EQ(set.left + set.top * 10 + set.right * 100 + set.bottom * 1000, 4321);
    EXPECT_EQ(g.RWindow.right, 0);
    EXPECT_EQ(g.bPensActive, 0);
}

TEST(zLowLevelGraphics, SaveRestoreAndDeleteLeaveTheContextAsFound)
{
    Recorded r;
    HPEN callerPen = CreatePen(PS_SOLID, 0, RGB(1, 1, 1));
    HGDIOBJ stockPen = SelectObject(r.dc, callerPen);
    const HGDIOBJ brushBefore = GetCurrentObject(r.dc, OBJ_BRUSH);
    const HGDIOBJ fontBefore = GetCurrentObject(r.dc, OBJ_FONT);
    const int objectsBefore = GdiLiveObjectCount();

    r.g.BrushStyle = 2;
    r.g.zSaveGraphics();
    EXPECT_EQ(r.g.hOldPen, callerPen);
    EXPECT_EQ(r.g.hOldFont, fontBefore);
    EXPECT_EQ(GetCurrentObject(r.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    r.g.zSelectGraphColor(4);
    r.g.zDraw_Symbol(50, 50, 2, 4);
    RECT box{10, 10, 110, 40};
    r.g.zShowStringInRect("Title", "Title", &box, 0, 1);
    r.g.zDraw3DBar(10, 100, 40, 150, 6, r.g.hBrushes[4], r.g.hAxisPen);
    EXPECT_EQ(GdiLiveObjectCount(), objectsBefore + 22) << "12 pens and 10 brushes, nothing else";
    r.g.zRestoreGraphics();
    r.g.zDeletePens();
    r.g.zDeleteBrushes();
    r.g.zDeletePens();  // a second release deletes nothing twice
    EXPECT_EQ(GdiLiveObjectCount(), objectsBefore);
    EXPECT_EQ(GetCurrentObject(r.dc, OBJ_PEN), callerPen);
    EXPECT_EQ(GetCurrentObject(r.dc, OBJ_BRUSH), brushBefore);
    EXPECT_EQ(GetCurrentObject(r.dc, OBJ_FONT), fontBefore);
    SelectObject(r.dc, stockPen);
    EXPECT_TRUE(DeleteObject(callerPen));
}

TEST(zLowLevelGraphics, PolygonWithAMissingPenOrBrushDrawsNothingOfIt)
{
    const POINT tri[3] = {{0, 0}, {10, 0}, {5, 8}};
    struct Row {
        const char *name;
        bool brush, pen;
        UINT brushKind;
        int penStyle;
    } rows[] = {
        {"both", true, true, BS_SOLID, PS_SOLID},
        {"no brush", false, true, BS_NULL, PS_SOLID},
        {"no pen", true, false, BS_SOLID, PS_NULL},
    };
    for (const Row &row : rows) {
        Recorded r;
        r.g.zSelectGraphColor(5);  // something else selected that must not stand in
        r.g.zDrawPolygon(tri, 3, row.brush ? r.g.hBrushes[1] : nullptr, row.pen ? r.g.hAxisPen : nullptr);
        const auto polys = r.ops(RecordedKind::Polygon);
        ASSERT_EQ(polys.size(), 1u) << row.name;
        EXPECT_EQ(polys[0].brush.kind, row.brushKind) << row.name;
        EXPECT_EQ(polys[0].pen.style, row.penStyle) << row.name;
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_BRUSH), r.g.hBrushes[5]) << row.name << ": previous brush back";
        EXPECT_EQ(GetCurrentObject(r.dc, OBJ_PEN), r.g.hPens[5]) << row.name << ": previous pen back";
    }
}

TEST(zLowLevelGraphics, ReleasingPensAndBrushesStillSelectedFreesThemAll)
{
    Recorded r;
    r.g.zSelectGraphColor(7);  // pen 7 and brush 7 stay selected
    r.g.zDeletePens();
    r.g.zDeleteBrushes();
    EXPECT_EQ(GdiLiveObjectCount(), r.objectsBefore);
    EXPECT_EQ(r.g.bPensActive, 0);
    EXPECT_EQ(r.g.hPens[7], nullptr);
}

TEST(zLowLevelGraphics, TextSizeComesFromTheCurrentFont)
{
    Recorded r(0);
    r.g.zGetDefaultTextSize();
    TEXTMETRICA tm{};
    GetTextMetricsA(r.dc, &tm);
    EXPECT_EQ(r.g.AveCharWidth, tm.tmAveCharWidth);
    EXPECT_EQ(r.g.CharHeight, tm.tmHeight);
    EXPECT_GT(r.g.AveCharWidth, 3);
    EXPECT_GT(r.g.CharHeight, 10);
    // Ten characters are wider than one; the height does not depend on the text.
    EXPECT_GT(r.g.zTextWidth("MMMMMMMMMM"), 5 * r.g.zTextWidth("M"));
    EXPECT_EQ(r.g.zTextHeight("x"), tm.tmHeight);
    EXPECT_EQ(r.g.zTextWidth(""), 0);
}

TEST(zDisplayError, ShowsAnOwnerlessExclamationBoxCaptionedError)
{
    HDC dc = CreateImageDC(1, 1);  // the toolkit is up
    testing_begin({IDOK});
    EXPECT_EQ(zDisplayError("Error--HDC Invalid or Not Set!"), IDOK);
    const auto &boxes = testing_message_boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "Error--HDC Invalid or Not Set!");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    testing_end();
    DeleteDC(dc);
}

TEST(HOURGLASS, ShowsTheWaitCursorAndPutsTheOldOneBack)
{
    HDC dc = CreateImageDC(1, 1);
    testing_begin();
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    const int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    struct Row {
        int on;
        const char *cursor;  // shown last
        int displayCount;    // relative to the start
    } rows[] = {
        {0, "IDC_CROSS", 0},  // off before on: nothing happens
        {5, "IDC_CROSS", 0},  // other values do nothing
        {1, "IDC_WAIT", 1},
        {0, "IDC_CROSS", 0},
        {0, "IDC_CROSS", 0},  // a second off changes nothing
    };
    for (const Row &row : rows) {
        HOURGLASS(row.on);
        ASSERT_FALSE(testing_cursors().empty());
        EXPECT_EQ(testing_cursors().back(), row.cursor) << "HOURGLASS(" << row.on << ")";
        EXPECT_EQ(ShowCursor(TRUE) - 1, count + row.displayCount) << "HOURGLASS(" << row.on << ")";
        ShowCursor(FALSE);
    }
    testing_end();
    DeleteDC(dc);
}

}  // namespace
