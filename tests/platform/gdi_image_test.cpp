// Pixel-level behaviour of the image device context: where lines end, how polygons and
// rectangles fill, what hatch and pattern brushes and styled pens paint, where text lands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/gdi.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// Owns an image context and checks the object count comes back to where it started.
struct Canvas {
    HDC dc;
    int objectsBefore;
    Canvas(int w, int h) : dc(CreateImageDC(w, h)), objectsBefore(GdiLiveObjectCount()) {}
    ~Canvas()
    {
        DeleteDC(dc);
        EXPECT_EQ(GdiLiveObjectCount(), objectsBefore) << "GDI objects leaked";
    }
    bool ink(int x, int y) const { return GetPixel(dc, x, y) != kWhite; }
    // Bounding box of every non-white pixel: left, top, right, bottom (inclusive).
    RECT inkBox() const
    {
        RECT box{1 << 20, 1 << 20, -1, -1};
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                if (GetPixel(dc, x, y) != CLR_INVALID && ink(x, y)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x);
                    box.bottom = std::max<LONG>(box.bottom, y);
                }
        return box;
    }
};

TEST(GdiImage, LineToPaintsTheStartButNotTheEndPixel)
{
    struct Row { const char *name; POINT from, to, lastPainted; } rows[] = {
        {"rightwards", {2, 5}, {10, 5}, {9, 5}},
        {"leftwards", {10, 7}, {2, 7}, {3, 7}},
        {"downwards", {4, 2}, {4, 12}, {4, 11}},
        {"upwards", {6, 12}, {6, 2}, {6, 3}},
        {"diagonal", {2, 2}, {8, 8}, {7, 7}},
    };
    for (const Row &row : rows) {
        Canvas c(20, 20);
        MoveToEx(c.dc, row.from.x, row.from.y, nullptr);
        LineTo(c.dc, row.to.x, row.to.y);
        EXPECT_TRUE(c.ink(row.from.x, row.from.y)) << row.name;
        EXPECT_TRUE(c.ink(row.lastPainted.x, row.lastPainted.y)) << row.name;
        EXPECT_FALSE(c.ink(row.to.x, row.to.y)) << row.name;
        POINT at{};
        GetCurrentPositionEx(c.dc, &at);
        EXPECT_EQ(at.x, row.to.x) << row.name;
        EXPECT_EQ(at.y, row.to.y) << row.name;
    }
}

// Which pixels a shape paints: outlines run inside the right and bottom edges, a rectangle
// without a pen is a pixel smaller, FillRect is exact, a polyline leaves out its final point
// and an arc with equal ends is the whole ellipse.
TEST(GdiImage, ShapesPaintExactlyTheirPixels)
{
    struct Pixel { int x, y; bool painted; };
    struct Row { const char *name; void (*draw)(HDC); std::vector<Pixel> pixels; } rows[] = {
        {"outlined rectangle",
         [](HDC dc) {
             SelectObject(dc, GetStockObject(NULL_BRUSH));
             Rectangle(dc, 5, 5, 15, 12);
         },
         {{5, 5, true}, {14, 5, true}, {14, 11, true}, {5, 11, true}, {15, 5, false}, {5, 12, false},
          {10, 8, false}, {4, 5, false}}},
        {"rectangle without a pen fills 2..6",
         [](HDC dc) {
             SelectObject(dc, GetStockObject(NULL_PEN));
             SelectObject(dc, GetStockObject(BLACK_BRUSH));
             Rectangle(dc, 2, 2, 8, 8);
         },
         {{2, 2, true}, {6, 6, true}, {7, 6, false}, {6, 7, false}}},
        {"FillRect fills 12..17",
         [](HDC dc) {
             const RECT r{12, 2, 18, 8};
             FillRect(dc, &r, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
         },
         {{12, 2, true}, {17, 7, true}, {18, 7, false}, {17, 8, false}}},
        {"polyline",
         [](HDC dc) {
             const POINT path[3] = {{2, 2}, {10, 2}, {10, 10}};
             Polyline(dc, path, 3);
         },
         {{2, 2, true}, {10, 2, true}, {10, 9, true}, {10, 10, false}}},
        {"arc with equal ends: radii 20 and 10 around (30, 30)",
         [](HDC dc) { Arc(dc, 10, 20, 50, 40, 30, 20, 30, 20); },
         {{30, 20, true}, {30, 39, true}, {10, 30, true}, {49, 30, true}, {30, 30, false}, {50, 30, false}}},
    };
    for (const Row &row : rows) {
        Canvas c(60, 60);
        row.draw(c.dc);
        for (const Pixel &p : row.pixels) EXPECT_EQ(c.ink(p.x, p.y), p.painted) << row.name << " at " << p.x << "," << p.y;
    }
}

TEST(GdiImage, StockBrushesPaintTheirColours)
{
    const struct { int stock; COLORREF colour; } rows[] = {{BLACK_BRUSH, RGB(0, 0, 0)}, {DKGRAY_BRUSH, RGB(64, 64, 64)},
        {GRAY_BRUSH, RGB(128, 128, 128)}, {LTGRAY_BRUSH, RGB(192, 192, 192)}, {WHITE_BRUSH, RGB(255, 255, 255)}};
    Canvas c(4, 4);
    const RECT all{0, 0, 4, 4};
    SetPixel(c.dc, 1, 1, RGB(1, 2, 3));
    for (const auto &row : rows) {
        FillRect(c.dc, &all, static_cast<HBRUSH>(GetStockObject(row.stock)));
        EXPECT_EQ(GetPixel(c.dc, 1, 1), row.colour) << "stock " << row.stock;
    }
}

// One 8 x 8 cell, top row first: '#' line colour, '.' ground.
struct HatchRow { int style; const char *cell[8]; };
const HatchRow kHatches[] = {
    {HS_HORIZONTAL, {"........", "........", "........", "........", "########", "........", "........", "........"}},
    {HS_VERTICAL, {"....#...", "....#...", "....#...", "....#...", "....#...", "....#...", "....#...", "....#..."}},
    {HS_FDIAGONAL, {"#.......", ".#......", "..#.....", "...#....", "....#...", ".....#..", "......#.", ".......#"}},
    {HS_BDIAGONAL, {".......#", "......#.", ".....#..", "....#...", "...#....", "..#.....", ".#......", "#......."}},
    {HS_CROSS, {"....#...", "....#...", "....#...", "....#...", "########", "....#...", "....#...", "....#..."}},
    {HS_DIAGCROSS, {"#......#", ".#....#.", "..#..#..", "...##...", "...##...", "..#..#..", ".#....#.", "#......#"}},
};

TEST(GdiImage, HatchBrushesPaintTheirCellOnTheBackgroundColourWhenOpaque)
{
    for (const HatchRow &row : kHatches) {
        Canvas c(32, 32);
        const RECT all{0, 0, 32, 32};
        HBRUSH grey = CreateSolidBrush(kGrey);
        FillRect(c.dc, &all, grey);
        DeleteObject(grey);
        HBRUSH hatch = CreateHatchBrush(row.style, RGB(255, 0, 0));
        SetBkColor(c.dc, RGB(0, 0, 255));
        SetBkMode(c.dc, OPAQUE);
        const RECT opaque{0, 0, 16, 16};
        FillRect(c.dc, &opaque, hatch);
        SetBkMode(c.dc, TRANSPARENT);
        const RECT clear{16, 0, 32, 16};
        FillRect(c.dc, &clear, hatch);
        DeleteObject(hatch);
        // The cell repeats from the origin: check the second cell of each area.
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool line = row.cell[y][x] == '#';
                EXPECT_EQ(GetPixel(c.dc, 8 + x, 8 + y), line ? RGB(255, 0, 0) : RGB(0, 0, 255))
                    << "opaque hatch " << row.style << " at " << x << "," << y;
                EXPECT_EQ(GetPixel(c.dc, 24 + x, 8 + y), line ? RGB(255, 0, 0) : kGrey)
                    << "transparent hatch " << row.style << " at " << x << "," << y;
            }
    }
}

TEST(GdiImage, MonochromePatternBrushPaintsZeroBitsInTextColourAndOnesInBackground)
{
    // Rows as 16-bit words, byte in the low half: FF 99 99 FF FF 99 99 FF.
    const unsigned char bits[16] = {0xFF, 0, 0x99, 0, 0x99, 0, 0xFF, 0, 0xFF, 0, 0x99, 0, 0x99, 0, 0xFF, 0};
    const char *cell[8] = {"BBBBBBBB", "BRRBBRRB", "BRRBBRRB", "BBBBBBBB",
                           "BBBBBBBB", "BRRBBRRB", "BRRBBRRB", "BBBBBBBB"};
    Canvas c(24, 24);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, bits);
    HBRUSH brush = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);  // the brush keeps its own copy
    SetTextColor(c.dc, RGB(255, 0, 0));
    SetBkColor(c.dc, RGB(0, 0, 255));
    SetBkMode(c.dc, TRANSPARENT);  // patterns paint both colours whatever the mode
    const RECT r{0, 0, 24, 24};
    FillRect(c.dc, &r, brush);
    DeleteObject(brush);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(GetPixel(c.dc, 16 + x, 8 + y), cell[y][x] == 'R' ? RGB(255, 0, 0) : RGB(0, 0, 255))
                << "at " << x << "," << y;
}

// The painted pixels of row y from x = 0 as '#' / '.'.
std::string row_pattern(HDC dc, int y, int length)
{
    std::string s;
    for (int x = 0; x < length; ++x) s += GetPixel(dc, x, y) == kBlack ? '#' : '.';
    return s;
}

std::string expected_dashes(std::initializer_list<int> onOff, int length)
{
    std::string s;
    while (static_cast<int>(s.size()) < length) {
        bool on = true;
        for (int run : onOff) {
            s.append(static_cast<std::size_t>(run), on ? '#' : '.');
            on = !on;
        }
    }
    return s.substr(0, static_cast<std::size_t>(length));
}

TEST(GdiImage, StyledPensFollowTheirDashPatterns)
{
    struct Row { int style; std::initializer_list<int> onOff; } rows[] = {
        {PS_SOLID, {60}},
        {PS_DASH, {18, 6}},
        {PS_DOT, {3, 3}},
        {PS_DASHDOT, {9, 6, 3, 6}},
        {PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3}},
    };
    for (const Row &row : rows) {
        Canvas c(80, 10);
        HPEN pen = CreatePen(row.style, 0, kBlack);
        HGDIOBJ old = SelectObject(c.dc, pen);
        SetBkMode(c.dc, TRANSPARENT);
        MoveToEx(c.dc, 0, 2, nullptr);
        LineTo(c.dc, 60, 2);
        EXPECT_EQ(row_pattern(c.dc, 2, 60), expected_dashes(row.onOff, 60)) << "style " << row.style;
        EXPECT_FALSE(c.ink(60, 2)) << "style " << row.style;
        SelectObject(c.dc, old);
        DeleteObject(pen);
    }
}

TEST(GdiImage, TextLandsWhereTheAlignmentSays)
{
    TEXTMETRICA tm{};
    SIZE extent{};
    {
        Canvas probe(10, 10);
        GetTextMetricsA(probe.dc, &tm);
        GetTextExtentPointA(probe.dc, "HHH", 3, &extent);
    }
    ASSERT_GT(extent.cx, 10);
    const LONG x = 100, y = 60;
    struct Row {
        const char *name;
        UINT align;
        LONG minLeft, maxRight;  // ink columns allowed
        LONG minTop, maxBottom;  // ink rows allowed
    } rows[] = {
        {"left top", TA_LEFT | TA_TOP, x, x + extent.cx, y, y + tm.tmHeight},
        {"right top", TA_RIGHT | TA_TOP, x - extent.cx, x - 1, y, y + tm.tmHeight},
        {"centre top", TA_CENTER | TA_TOP, x - extent.cx / 2 - 1, x + extent.cx / 2 + 1, y, y + tm.tmHeight},
        // 'H' sits on the baseline: its lowest ink row is just above it.
        {"centre baseline", TA_CENTER | TA_BASELINE, x - extent.cx / 2 - 1, x + extent.cx / 2 + 1,
         y - tm.tmAscent, y - 1},
    };
    for (const Row &row : rows) {
        Canvas c(200, 200);
        SetTextAlign(c.dc, row.align);
        SetBkMode(c.dc, TRANSPARENT);
        TextOutA(c.dc, x, y, "HHH", 3);
        const RECT box = c.inkBox();
        EXPECT_GE(box.left, row.minLeft) << row.name;
        EXPECT_LE(box.right, row.maxRight) << row.name;
        EXPECT_GE(box.top, row.minTop) << row.name;
        EXPECT_LE(box.bottom, row.maxBottom) << row.name;
        // The ink spans most of the measured width, so the box really moved with the alignment.
        EXPECT_GE(box.right - box.left + 1, extent.cx - 4) << row.name;
        if (row.align & TA_BASELINE) EXPECT_EQ(box.bottom, y - 1) << row.name;
    }
}

}  // namespace
