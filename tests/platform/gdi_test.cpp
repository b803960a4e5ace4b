// The drawing layer: pixels of lines, shapes, brushes, pens and text; objects, fonts, recording,
// files, keys.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/dc.h"
#include "platform/gdi.h"
#include "platform/gdi_qt.h"
#include "tests/temp_folder.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kGrey = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

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
    // Bounding box of every non-white pixel, edges inclusive.
    RECT inkBox() const
    {
        RECT box{1 << 20, 1 << 20, -1, -1};
        for (LONG y = 0; y < 200; ++y)
            for (LONG x = 0; x < 200; ++x)
                if (GetPixel(dc, x, y) != CLR_INVALID && ink(x, y))
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                           std::max(box.bottom, y)};
        return box;
    }
    void fill(RECT r, HBRUSH brush) const { FillRect(dc, &r, brush); }
};

HBRUSH stock_brush(int which) { return static_cast<HBRUSH>(GetStockObject(which)); }

TEST(GdiImage, LinesPaintTheirStartButNotTheirEnd)
{
    // last: the last pixel painted, next to the end.
    const struct {
        POINT from, to, last;
    } rows[] = {
        {{2, 5}, {10, 5}, {9, 5}}, {{10, 7}, {2, 7}, {3, 7}}, {{4, 2}, {4, 12}, {4, 11}},
        {{6, 12}, {6, 2}, {6, 3}}, {{2, 2}, {8, 8}, {7, 7}},
    };
    for (const auto &row : rows) {
        Canvas c(60, 60);
        MoveToEx(c.dc, row.from.x, row.from.y, nullptr);
        LineTo(c.dc, row.to.x, row.to.y);
        EXPECT_TRUE(c.ink(row.from.x, row.from.y)) << "to " << row.to.x << "," << row.to.y;
        EXPECT_TRUE(c.ink(row.last.x, row.last.y)) << "to " << row.to.x << "," << row.to.y;
        EXPECT_FALSE(c.ink(row.to.x, row.to.y)) << "to " << row.to.x << "," << row.to.y;
    }
}

// Outlines run inside the right and bottom edges, a rectangle without a pen is a pixel smaller,
// FillRect is exact, a polyline leaves out its final point, an arc with equal ends is the whole
// ellipse.
TEST(GdiImage, ShapesPaintExactlyTheirPixels)
{
    const POINT path[3] = {{2, 2}, {10, 2}, {10, 10}};
    const RECT fill{12, 2, 18, 8};
    const struct {
        const char *name;
        std::function<void(HDC)> draw;
        std::vector<POINT> painted, blank;
    } rows[] = {
        {"outlined rectangle 5..14 x 5..11",
         [](HDC dc) {
             SelectObject(dc, GetStockObject(NULL_BRUSH));
             Rectangle(dc, 5, 5, 15, 12);
         },
         {{5, 5}, {14, 5}, {14, 11}, {5, 11}},
         {{15, 5}, {5, 12}, {10, 8}, {4, 5}}},
        {"rectangle without a pen fills 2..6",
         [](HDC dc) {
             SelectObject(dc, GetStockObject(NULL_PEN));
             SelectObject(dc, stock_brush(BLACK_BRUSH));
             Rectangle(dc, 2, 2, 8, 8);
         },
         {{2, 2}, {6, 6}},
         {{7, 6}, {6, 7}}},
        {"FillRect fills 12..17",
         [&fill](HDC dc) { FillRect(dc, &fill, stock_brush(BLACK_BRUSH)); },
         {{12, 2}, {17, 7}},
         {{18, 7}, {17, 8}}},
        {"polyline",
         [&path](HDC dc) { Polyline(dc, path, 3); },
         {{2, 2}, {10, 2}, {10, 9}},
         {{10, 10}}},
        {"arc with equal ends: radii 20 and 10 around (30, 30)",
         [](HDC dc) { Arc(dc, 10, 20, 50, 40, 30, 20, 30, 20); },
         {{30, 20}, {30, 39}, {10, 30}, {49, 30}},
         {{30, 30}, {50, 30}}},
    };
    for (const auto &row : rows) {
        Canvas c(60, 60);
        row.draw(c.dc);
        for (const POINT &p : row.painted)
            EXPECT_TRUE(c.ink(p.x, p.y)) << row.name << " at " << p.x << "," << p.y;
        for (const POINT &p : row.blank)
            EXPECT_FALSE(c.ink(p.x, p.y)) << row.name << " at " << p.x << "," << p.y;
    }
}

TEST(GdiImage, StockBrushesPaintTheirColours)
{
    const struct {
        int stock;
        COLORREF colour;
    } rows[] = {{BLACK_BRUSH, RGB(0, 0, 0)},
                {DKGRAY_BRUSH, RGB(64, 64, 64)},
                {GRAY_BRUSH, RGB(128, 128, 128)},
                {LTGRAY_BRUSH, RGB(192, 192, 192)},
                {WHITE_BRUSH, RGB(255, 255, 255)}};
    Canvas c(4, 4);
    SetPixel(c.dc, 1, 1, RGB(1, 2, 3));
    for (const auto &row : rows) {
        c.fill({0, 0, 4, 4}, stock_brush(row.stock));
        EXPECT_EQ(GetPixel(c.dc, 1, 1), row.colour) << "stock " << row.stock;
    }
}

// The second 8 x 8 cell of an opaque and a transparent area, rows top first: '#' the line colour
// (a hatch's own, a pattern's zero bits in the text colour), '.' the background colour, which a
// hatch leaves out when transparent and a pattern paints whatever the mode.
TEST(GdiImage, HatchAndPatternBrushesPaintTheirCell)
{
    // Pattern rows as 16-bit words, byte in the low half: FF 99 99 FF FF 99 99 FF.
    const unsigned char bits[16] = {0xFF, 0, 0x99, 0, 0x99, 0, 0xFF, 0,
                                    0xFF, 0, 0x99, 0, 0x99, 0, 0xFF, 0};
    const struct {
        int style;
        const char *cell;
    } rows[] = {
        {HS_HORIZONTAL, "......../......../......../......../########/......../......../........"},
        {HS_VERTICAL, "....#.../....#.../....#.../....#.../....#.../....#.../....#.../....#..."},
        {HS_FDIAGONAL, "#......./.#....../..#...../...#..../....#.../.....#../......#./.......#"},
        {HS_BDIAGONAL, ".......#/......#./.....#../....#.../...#..../..#...../.#....../#......."},
        {HS_CROSS, "....#.../....#.../....#.../....#.../########/....#.../....#.../....#..."},
        {HS_DIAGCROSS, "#......#/.#....#./..#..#../...##.../...##.../..#..#../.#....#./#......#"},
        {-1, "......../.##..##./.##..##./......../......../.##..##./.##..##./........"},  // pattern
    };
    for (const auto &row : rows) {
        Canvas c(32, 32);
        HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, bits);
        HBRUSH grey = CreateSolidBrush(kGrey);
        HBRUSH brush =
            row.style < 0 ? CreatePatternBrush(bitmap) : CreateHatchBrush(row.style, kRed);
        DeleteObject(bitmap);  // a pattern brush keeps its own copy
        c.fill({0, 0, 32, 32}, grey);
        SetTextColor(c.dc, kRed);
        SetBkColor(c.dc, kBlue);
        SetBkMode(c.dc, OPAQUE);
        c.fill({0, 0, 16, 16}, brush);
        SetBkMode(c.dc, TRANSPARENT);
        c.fill({16, 0, 32, 16}, brush);
        DeleteObject(grey);
        DeleteObject(brush);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool line = row.cell[9 * y + x] == '#';
                EXPECT_EQ(GetPixel(c.dc, 8 + x, 8 + y), line ? kRed : kBlue)
                    << row.style << " opaque at " << x << "," << y;
                EXPECT_EQ(GetPixel(c.dc, 24 + x, 8 + y), line            ? kRed
                                                         : row.style < 0 ? kBlue
                                                                         : kGrey)
                    << row.style << " transparent at " << x << "," << y;
            }
    }
}

TEST(GdiImage, StyledPensFollowTheirDashPatterns)
{
    const struct {
        int style;
        std::vector<int> onOff;
    } rows[] = {{PS_SOLID, {60}},
                {PS_DASH, {18, 6}},
                {PS_DOT, {3, 3}},
                {PS_DASHDOT, {9, 6, 3, 6}},
                {PS_DASHDOTDOT, {9, 3, 3, 3, 3, 3}}};
    for (const auto &row : rows) {
        std::string expected, painted;
        for (std::size_t k = 0; expected.size() < 60; ++k)
            expected.append(std::size_t(row.onOff[k % row.onOff.size()]), k % 2 ? '.' : '#');
        expected.resize(60);
        Canvas c(80, 10);
        HPEN pen = CreatePen(row.style, 0, kBlack);
        HGDIOBJ old = SelectObject(c.dc, pen);
        SetBkMode(c.dc, TRANSPARENT);
        MoveToEx(c.dc, 0, 2, nullptr);
        LineTo(c.dc, 60, 2);
        for (int x = 0; x < 60; ++x) painted += GetPixel(c.dc, x, 2) == kBlack ? '#' : '.';
        EXPECT_EQ(painted, expected) << "style " << row.style;
        EXPECT_FALSE(c.ink(60, 2)) << "style " << row.style;
        SelectObject(c.dc, old);
        DeleteObject(pen);
    }
}

TEST(GdiImage, TextLandsWhereTheAlignmentSays)
{
    TEXTMETRICA tm{};
    SIZE extent{};
    const Canvas probe(10, 10);
    EXPECT_TRUE(GetTextMetricsA(probe.dc, &tm));
    EXPECT_TRUE(GetTextExtentPointA(probe.dc, "HHH", 3, &extent));
    EXPECT_GT(extent.cx, 10);
    const LONG x = 100, y = 60, half = extent.cx / 2 + 1;
    // Ink allowed in columns minLeft..maxRight and rows minTop..maxBottom.
    const struct {
        const char *name;
        UINT align;
        LONG minLeft, maxRight, minTop, maxBottom;
    } rows[] = {
        {"left top", TA_LEFT | TA_TOP, x, x + extent.cx, y, y + tm.tmHeight},
        {"right top", TA_RIGHT | TA_TOP, x - extent.cx, x - 1, y, y + tm.tmHeight},
        // 'H' sits on the baseline: its lowest ink row is just above it.
        {"centre baseline", TA_CENTER | TA_BASELINE, x - half, x + half, y - tm.tmAscent, y - 1},
    };
    for (const auto &row : rows) {
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
        if (row.align & TA_BASELINE) {
            EXPECT_EQ(box.bottom, y - 1) << row.name;
        }
    }
}

TEST(GdiObjects, InvalidCreationsGiveNoObject)
{
    HDC dc = CreateImageDC(4, 4);  // makes sure the stock objects exist before counting
    const int before = GdiLiveObjectCount();
    const struct {
        const char *name;
        HGDIOBJ handle;
    } rows[] = {{"pen style 7", CreatePen(7, 0, 0)},
                {"pen style -1", CreatePen(-1, 0, 0)},
                {"negative width", CreatePen(PS_SOLID, -2, 0)},
                {"hatch 6", CreateHatchBrush(6, 0)},
                {"bitmap 0 wide", CreateBitmap(0, 8, 1, 1, nullptr)},
                {"bitmap 2 planes", CreateBitmap(8, 8, 2, 1, nullptr)},
                {"bitmap 7 bits", CreateBitmap(8, 8, 1, 7, nullptr)},
                {"pattern of nothing", CreatePatternBrush(nullptr)},
                {"no log font", CreateFontIndirectA(nullptr)},
                {"no palette", CreatePalette(nullptr)},
                {"stock 9", GetStockObject(9)},
                {"stock 17", GetStockObject(17)},
                {"image 0 x 5", reinterpret_cast<HGDIOBJ>(CreateImageDC(0, 5))}};
    for (const auto &row : rows) EXPECT_EQ(row.handle, nullptr) << row.name;
    EXPECT_EQ(GdiLiveObjectCount(), before);
    DeleteDC(dc);
}

TEST(GdiObjects, DeletionFollowsItsRules)
{
    HDC dc = CreateImageDC(4, 4);
    const int before = GdiLiveObjectCount();
    HPEN pen = CreatePen(PS_SOLID, 0, 0);
    HGDIOBJ old = SelectObject(dc, pen);
    EXPECT_FALSE(DeleteObject(pen)) << "a selected object must not be deleted";
    EXPECT_EQ(GdiLiveObjectCount(), before + 1);
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GdiLiveObjectCount(), before);
    EXPECT_FALSE(DeleteObject(pen)) << "a second deletion of the same handle";
    EXPECT_EQ(SelectObject(dc, pen), nullptr) << "a deleted pen cannot be selected";
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH))) << "stock objects ignore deletion";
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), static_cast<DWORD>(OBJ_BRUSH));
    // An object selected into a context that goes away can be deleted afterwards.
    HBRUSH brush = CreateSolidBrush(0);
    SelectObject(dc, brush);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GdiLiveObjectCount(), before);
}

// Each kind of object has its own handle type; the guard takes what SelectObject can put back.
static_assert(!std::is_convertible_v<HPEN, HBRUSH> && !std::is_convertible_v<HFONT, HBRUSH> &&
              !std::is_convertible_v<HGDIOBJ, HPEN> && std::is_convertible_v<HPEN, HGDIOBJ>);
static_assert(std::is_constructible_v<SelectedObject, HDC, HFONT> &&
              !std::is_constructible_v<SelectedObject, HDC, HRGN> &&
              !std::is_constructible_v<SelectedObject, HDC, HBITMAP> &&
              !std::is_copy_constructible_v<SelectedObject>);

// The charts' tests see the guard put back their pens and brushes; a null object selects and
// puts back nothing.
TEST(GdiObjects, GuardNamesWhatItReplaced)
{
    Canvas c(10, 10);
    HPEN pen = CreatePen(PS_DOT, 0, RGB(1, 2, 3));
    {
        const SelectedObject guard(c.dc, pen);
        EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), pen);
        EXPECT_EQ(guard.previous(), GetStockObject(BLACK_PEN));
        const SelectedObject none(c.dc, HGDIOBJ{});
        EXPECT_EQ(none.previous(), nullptr);
    }
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(pen)) << "nothing of the guard's is left selected";
}

TEST(GdiFonts, RequestedCellSizeIsMet)
{
    HDC dc = CreateImageDC(10, 10);
    for (const auto &[height, width] : {std::pair{30, 18}, {23, 5}, {16, 10}, {12, 0}, {40, 1}}) {
        // Height, width, escapement, orientation, weight, italic, underline, strike-out,
        // character set, output precision, clip precision, quality, pitch and family, face.
        const LOGFONTA lf{height, width,         0, 0,      FW_NORMAL, 0, 0, 0, 0, OUT_TT_PRECIS,
                          0,      PROOF_QUALITY, 4, "Arial"};
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICA tm{};
        EXPECT_TRUE(GetTextMetricsA(dc, &tm)) << height;
        // The cell is the tallest that fits, within two pixels of the request; width 0: any.
        EXPECT_LE(tm.tmHeight, height);
        EXPECT_GE(tm.tmHeight, height - 2);
        if (width > 0) {
            EXPECT_EQ(tm.tmAveCharWidth, width) << "height " << height;
        }
        SelectObject(dc, old);
        EXPECT_TRUE(DeleteObject(font));
    }
    DeleteDC(dc);
}

// A pixel keeps its colour in the recording, and the recording context draws it too.
TEST(GdiContexts, RecordingKeepsAPixelWithItsColour)
{
    HDC dc = CreateRecordingDC(5, 5);
    SetPixel(dc, 3, 3, RGB(9, 9, 9));
    const std::vector<RecordedOp> ops = RecordedOps(dc);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(std::pair(ops[0].kind, ops[0].pixelColor),
              std::pair(RecordedKind::Pixel, RGB(9, 9, 9)));
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(9, 9, 9));
    DeleteDC(dc);
}

TEST(GdiContexts, DeletedContextTakesNoMoreCalls)
{
    const int dcsBefore = GdiLiveDCCount();
    HDC dc = CreateRecordingDC(50, 50);
    EXPECT_EQ(GdiLiveDCCount(), dcsBefore + 1);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(GdiLiveDCCount(), dcsBefore);
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
}

TEST(GdiContexts, MeasuringContextDrawsNothing)
{
    HDC measuring = dc_create_for_measuring();
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPointA(measuring, "Hello", 5, &size));
    EXPECT_GT(size.cx, 10);
    EXPECT_TRUE(TextOutA(measuring, 0, 0, "Hello", 5));
    EXPECT_EQ(GetPixel(measuring, 0, 0), CLR_INVALID);
    dc_destroy(measuring);
}

using GdiFiles = TempFolderTest;

TEST_F(GdiFiles, ImageContextDrawsOnAfterSavingAPng)
{
    const std::string png = dir + "/image.png";
    HDC image = CreateImageDC(20, 10);
    SelectObject(image, GetStockObject(BLACK_BRUSH));
    Rectangle(image, 2, 2, 12, 8);
    EXPECT_TRUE(SaveImageDC(image, png.c_str()));
    SetPixel(image, 15, 5, kRed);
    EXPECT_EQ(GetPixel(image, 15, 5), kRed) << "drawing goes on after a save";
    DeleteDC(image);
    std::ifstream in(png, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}).substr(1, 3), "PNG");
}

// An SVG page is white under the drawing, written once: a drawing that begins by filling the
// whole page is its own background. Texts name the family with the faces it stands in for.
TEST(GdiSvg, OnePageBackgroundAndFontFamiliesWithFallbacks)
{
    const std::string page = "<rect x=\"0\" y=\"0\" width=\"20\" height=\"10\"";
    const RECT whole{0, 0, 20, 10}, part{0, 0, 20, 5};
    // first: what comes before a grey fill of the whole page (0 nothing, 1 a fill of half the
    // page, 2 a line); backgrounds: rectangles over the whole page; face: the font of a text.
    const struct {
        int first, backgrounds;
        const char *face, *family;
    } rows[] = {
        {0, 1, "", "'Liberation Sans', Arial, Helvetica, sans-serif"},
        {1, 2, "Times New Roman", "'Liberation Serif', 'Times New Roman', Times, serif"},
        {2, 2, "Courier New", "'Liberation Mono', 'Courier New', Courier, monospace"},
    };
    for (const auto &row : rows) {
        HDC dc = CreateSvgDC(20, 10, nullptr);
        HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
        if (row.first == 1) FillRect(dc, &part, grey);
        if (row.first == 2) {
            MoveToEx(dc, 0, 0, nullptr);
            LineTo(dc, 5, 5);
        }
        FillRect(dc, &whole, grey);
        LOGFONTA lf{};
        lf.lfHeight = 10;
        std::strcpy(lf.lfFaceName, row.face);
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(dc, font);
        TextOutA(dc, 1, 1, "a", 1);
        std::string svg;
        ASSERT_TRUE(GetSvgDocument(dc, &svg));
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteObject(grey);
        DeleteDC(dc);
        std::size_t backgrounds = 0;
        for (std::size_t at = svg.find(page); at != std::string::npos; at = svg.find(page, at + 1))
            ++backgrounds;
        EXPECT_EQ(backgrounds, std::size_t(row.backgrounds)) << "first " << row.first;
        const std::string family = " font-family=\"" + std::string(row.family) + "\"";
        EXPECT_NE(svg.find(family), std::string::npos) << svg;
    }
}

TEST_F(GdiFiles, SvgContextWritesSvgOnly)
{
    const std::string svg = dir + "/vector.svg";
    HDC vector = CreateSvgDC(20, 10, svg.c_str());
    SelectObject(vector, GetStockObject(BLACK_BRUSH));
    Rectangle(vector, 2, 2, 12, 8);
    EXPECT_FALSE(SaveImageDC(vector, (dir + "/image.png").c_str()));
    DeleteDC(vector);
    std::ifstream in(svg);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(in), {}).find("<svg"), std::string::npos);
}

// GetAsyncKeyState follows this application's keys from its first call on.
TEST(GdiKeys, KeyStateFollowsTheToolkitsEvents)
{
    GetAsyncKeyState(VK_ESCAPE);
    QObject target;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, {});
    QCoreApplication::sendEvent(&target, &press);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0xFFFF, 0x8001) << "down, pressed since the last call";
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0xFFFF, 0x8000) << "still down";
    EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
    QCoreApplication::sendEvent(&target, &release);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

// Input still queued is not looked at, and nothing queued is delivered by the query.
TEST(GdiKeys, QueryDeliversNothingQueued)
{
    GetAsyncKeyState(VK_ESCAPE);
    QObject target;
    int delivered = 0;  // queued calls run
    QCoreApplication::postEvent(&target,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QMetaObject::invokeMethod(
        &target, [&delivered] { ++delivered; }, Qt::QueuedConnection);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
    EXPECT_EQ(delivered, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 1);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0xFFFF, 0x8001) << "the press once delivered";
}

// Its release goes to another program.
TEST(GdiKeys, LeavingTheApplicationForgetsAHeldKey)
{
    GetAsyncKeyState(VK_ESCAPE);
    QObject target;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &press);
    QApplicationStateChangeEvent leave(Qt::ApplicationInactive);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &leave);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

}  // namespace

namespace {

// A 3 x 2 bitmap, rows listed top-down: red, green, blue over black, grey, white.
const std::uint32_t kDib[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0x808080, 0xFFFFFF};
const COLORREF kDibColours[6] = {kRed, RGB(0, 255, 0), kBlue, kBlack, kGrey, kWhite};

int blit(HDC dc, int left, int top, int width, int height, LONG rows = -2)
{
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, rows, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return StretchDIBits(dc, left, top, width, height, 0, 0, 3, 2, kDib, &info, DIB_RGB_COLORS,
                         SRCCOPY);
}

}  // namespace

TEST(GdiDib, StretchedPixelsCoverWholeBlocks)
{
    // 100 wide for 3 columns: column k starts where 3 x / 100 reaches k, at x = 34 and 67;
    // 30 high for 2 rows: the second starts at y = 15. Drawn at (10, 20).
    Canvas canvas(200, 200);
    ASSERT_EQ(blit(canvas.dc, 10, 20, 100, 30), 2);
    const struct {
        int x, y, source;
    } rows[] = {{10, 20, 0},  {43, 20, 0}, {44, 20, 1},   {76, 34, 1}, {77, 34, 2},
                {109, 35, 5}, {10, 49, 3}, {110, 35, -1}, {10, 50, -1}};
    for (const auto &row : rows)
        EXPECT_EQ(GetPixel(canvas.dc, row.x, row.y),
                  row.source < 0 ? kWhite : kDibColours[row.source])
            << row.x << ", " << row.y;
}

TEST(GdiDib, BottomUpRowsAreTurnedOver)
{
    Canvas canvas(200, 200);
    blit(canvas.dc, 0, 0, 3, 2, 2);
    EXPECT_EQ(GetPixel(canvas.dc, 0, 0), kBlack);
    EXPECT_EQ(GetPixel(canvas.dc, 0, 1), kRed);
}

TEST(GdiDib, UnsupportedBlitsDrawNothing)
{
    Canvas canvas(200, 200);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(
        StretchDIBits(canvas.dc, 0, 0, 9, 9, 0, 0, 3, 2, kDib, &info, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(blit(canvas.dc, 0, 0, 0, 9), 0);
    EXPECT_EQ(canvas.inkBox().right, -1);
}

TEST(GdiDib, PngAndSvgCarryTheSourcePixels)
{
    HDC image = CreateImageDC(40, 20), svg = CreateSvgDC(40, 20, nullptr);
    for (HDC dc : {image, svg}) blit(dc, 4, 2, 30, 16);
    std::string png, document;
    ASSERT_TRUE(GetImagePng(image, &png));
    ASSERT_TRUE(GetSvgDocument(svg, &document));
    DeleteDC(image);
    DeleteDC(svg);
    // Blocks of 10 x 8 pixels from (4, 2).
    const QImage picture = QImage::fromData(QByteArray::fromStdString(png), "PNG");
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(picture.pixel(4 + 10 * (k % 3) + 5, 2 + 8 * (k / 3) + 4) & 0xFFFFFF, kDib[k])
            << "block " << k;
    const std::string head = "<image x=\"4\" y=\"2\" width=\"30\" height=\"16\"";
    ASSERT_NE(document.find(head), std::string::npos) << document;
    const std::string data = "data:image/png;base64,";
    const std::size_t from = document.find(data) + data.size();
    const QByteArray embedded = QByteArray::fromBase64(
        QByteArray::fromStdString(document.substr(from, document.find('"', from) - from)));
    const QImage source = QImage::fromData(embedded, "PNG");
    ASSERT_EQ(source.size(), QSize(3, 2));
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(source.pixel(k % 3, k / 3) & 0xFFFFFF, kDib[k]) << "pixel " << k;
}
