// GDI objects and device-context state: creation and its failures, selection returning the
// previous object, deletion rules, stock objects, fonts and their metrics, palettes, and the
// live-object count that reveals leaks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <type_traits>

#include <QCoreApplication>
#include <QKeyEvent>

#include "platform/dc.h"
#include "platform/gdi.h"
#include "platform/gdi_qt.h"
#include "tests/temp_folder.h"

namespace {

TEST(GdiObjects, InvalidCreationsGiveNullHandlesAndCountNothing)
{
    HDC dc = CreateImageDC(4, 4);  // makes sure the stock objects exist before counting
    const int before = GdiLiveObjectCount();
    struct Row { const char *name; HGDIOBJ handle; } rows[] = {
        {"pen style 7", CreatePen(7, 0, 0)},
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
        {"image 0 x 5", reinterpret_cast<HGDIOBJ>(CreateImageDC(0, 5))},
    };
    for (const Row &row : rows) EXPECT_EQ(row.handle, nullptr) << row.name;
    EXPECT_EQ(GdiLiveObjectCount(), before);
    DeleteDC(dc);
}

TEST(GdiObjects, SelectObjectReturnsWhatItReplacedPerKind)
{
    HDC dc = CreateImageDC(10, 10);
    HPEN pen = CreatePen(PS_DOT, 0, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    // A new context starts with the black pen, the white brush and the system font.
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), pen);
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(SelectObject(dc, GetStockObject(DEVICE_DEFAULT_FONT)), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(NULL_PEN));
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_EQ(SelectObject(nullptr, pen), nullptr);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    DeleteDC(dc);
}

// Each kind of object has its own handle type; all of them are GDI objects.
static_assert(!std::is_convertible_v<HPEN, HBRUSH> && !std::is_convertible_v<HBRUSH, HPEN>);
static_assert(!std::is_convertible_v<HFONT, HBRUSH> && !std::is_convertible_v<HRGN, HBITMAP>);
static_assert(!std::is_convertible_v<HGDIOBJ, HPEN> && !std::is_convertible_v<HPALETTE, HFONT>);
static_assert(std::is_convertible_v<HPEN, HGDIOBJ> && std::is_convertible_v<HRGN, HGDIOBJ> &&
              std::is_convertible_v<HPALETTE, HGDIOBJ> && std::is_convertible_v<HBITMAP, HGDIOBJ>);
// The guard takes what SelectObject can put back, and nothing else.
static_assert(std::is_constructible_v<SelectedObject, HDC, HPEN> &&
              std::is_constructible_v<SelectedObject, HDC, HFONT> &&
              std::is_constructible_v<SelectedObject, HDC, HGDIOBJ>);
static_assert(!std::is_constructible_v<SelectedObject, HDC, HRGN> &&
              !std::is_constructible_v<SelectedObject, HDC, HPALETTE> &&
              !std::is_constructible_v<SelectedObject, HDC, HBITMAP> &&
              !std::is_copy_constructible_v<SelectedObject>);

TEST(GdiObjects, SelectedObjectPutsBackWhatItReplaced)
{
    HDC dc = CreateImageDC(4, 4);
    HPEN pen = CreatePen(PS_DASH, 0, RGB(9, 9, 9));
    HBRUSH brush = CreateSolidBrush(RGB(7, 7, 7));
    SelectObject(dc, brush);
    struct Row {
        const char *name;
        HGDIOBJ object;
        UINT type;
        HGDIOBJ inside, after;  // current object of the type inside the guard and after it
    } rows[] = {
        {"own pen", pen, OBJ_PEN, pen, GetStockObject(BLACK_PEN)},
        {"stock brush over own", GetStockObject(NULL_BRUSH), OBJ_BRUSH, GetStockObject(NULL_BRUSH), brush},
        {"font", GetStockObject(DEVICE_DEFAULT_FONT), OBJ_FONT, GetStockObject(DEVICE_DEFAULT_FONT),
         GetStockObject(SYSTEM_FONT)},
        {"null selects nothing", nullptr, OBJ_PEN, GetStockObject(BLACK_PEN), GetStockObject(BLACK_PEN)},
    };
    for (const Row &row : rows) {
        {
            const SelectedObject guard(dc, row.object);
            EXPECT_EQ(GetCurrentObject(dc, row.type), row.inside) << row.name;
            EXPECT_EQ(guard.previous(), row.object ? row.after : nullptr) << row.name;
        }
        EXPECT_EQ(GetCurrentObject(dc, row.type), row.after) << row.name;
    }
    // Nothing of the guard's is left selected: the pen can be deleted.
    EXPECT_TRUE(DeleteObject(pen));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(DeleteObject(brush));
    DeleteDC(dc);
}

TEST(GdiObjects, DeletionRules)
{
    HDC dc = CreateImageDC(10, 10);
    const int before = GdiLiveObjectCount();
    HPEN pen = CreatePen(PS_SOLID, 0, 0);
    EXPECT_EQ(GdiLiveObjectCount(), before + 1);
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

TEST(GdiFonts, RequestedCellHeightAndAverageWidthAreMet)
{
    HDC dc = CreateImageDC(10, 10);
    const struct { int height, width; } rows[] = {{30, 18}, {23, 5}, {16, 10}, {12, 0}, {40, 1}};
    for (const auto &row : rows) {
        LOGFONTA lf{};
        lf.lfHeight = row.height;
        lf.lfWidth = row.width;
        lf.lfWeight = FW_NORMAL;
        lf.lfOutPrecision = OUT_TT_PRECIS;
        lf.lfQuality = PROOF_QUALITY;
        lf.lfPitchAndFamily = 4;
        std::strcpy(lf.lfFaceName, "Arial");
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICA tm{};
        ASSERT_TRUE(GetTextMetricsA(dc, &tm));
        // The cell is the tallest that fits, within two pixels of the request.
        EXPECT_TRUE(tm.tmHeight <= row.height && tm.tmHeight >= row.height - 2) << row.height << ": " << tm.tmHeight;
        if (row.width > 0) EXPECT_EQ(tm.tmAveCharWidth, row.width) << "height " << row.height;
        SelectObject(dc, old);
        EXPECT_TRUE(DeleteObject(font));
    }
    DeleteDC(dc);
}

TEST(GdiContexts, RecordingKeepsCoordinatesAndState)
{
    const int dcsBefore = GdiLiveDCCount();
    HDC dc = CreateRecordingDC(50, 50);
    EXPECT_EQ(GdiLiveDCCount(), dcsBefore + 1);
    HPEN pen = CreatePen(PS_DASH, 0, RGB(1, 2, 3));
    HBRUSH brush = CreateHatchBrush(HS_CROSS, RGB(4, 5, 6));
    SelectObject(dc, pen);
    SelectObject(dc, brush);
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    SetTextColor(dc, RGB(7, 8, 9));
    MoveToEx(dc, 1, 2, nullptr);
    LineTo(dc, 30, 2);
    const POINT tri[3] = {{5, 5}, {20, 5}, {10, 15}};
    Polygon(dc, tri, 3);
    TextOutA(dc, 40, 10, "abc", 3);
    SetPixel(dc, 3, 3, RGB(9, 9, 9));
    const std::vector<RecordedOp> ops = RecordedOps(dc);
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].kind, RecordedKind::Line);
    EXPECT_EQ(ops[0].points[1].x, 30);
    EXPECT_EQ(ops[0].pen.style, PS_DASH);
    EXPECT_EQ(ops[0].pen.color, RGB(1, 2, 3));
    EXPECT_EQ(ops[1].kind, RecordedKind::Polygon);
    EXPECT_EQ(ops[1].points.size(), 3u);
    EXPECT_EQ(ops[1].brush.kind, BS_HATCHED);
    EXPECT_EQ(ops[1].brush.hatch, HS_CROSS);
    EXPECT_EQ(ops[2].text, "abc");
    EXPECT_EQ(ops[2].textAlign, static_cast<UINT>(TA_RIGHT));
    EXPECT_EQ(ops[2].textColor, RGB(7, 8, 9));
    EXPECT_EQ(ops[3].pixelColor, RGB(9, 9, 9));
    ClearRecordedOps(dc);
    EXPECT_TRUE(RecordedOps(dc).empty());
    // The recording context draws too.
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(9, 9, 9));
    DeleteDC(dc);
    EXPECT_EQ(GdiLiveDCCount(), dcsBefore);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteDC(dc)) << "a context is deleted once";
}

using GdiFiles = TempFolderTest;

TEST_F(GdiFiles, ImageAndSvgFilesAreWritten)
{
    const std::string png = dir + "/image.png", svg = dir + "/vector.svg";
    HDC image = CreateImageDC(20, 10);
    HDC vector = CreateSvgDC(20, 10, svg.c_str());
    for (HDC dc : {image, vector}) {
        SelectObject(dc, GetStockObject(BLACK_BRUSH));
        Rectangle(dc, 2, 2, 12, 8);
    }
    EXPECT_TRUE(SaveImageDC(image, png.c_str()));
    EXPECT_FALSE(SaveImageDC(vector, png.c_str())) << "an SVG context has no image";
    // Drawing goes on after a save.
    SetPixel(image, 15, 5, RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(image, 15, 5), RGB(255, 0, 0));
    DeleteDC(image);
    DeleteDC(vector);
    std::ifstream pngFile(png, std::ios::binary);
    std::string head(4, '\0');
    pngFile.read(head.data(), 4);
    EXPECT_EQ(head.substr(1, 3), "PNG");
    std::ifstream svgFile(svg);
    const std::string text((std::istreambuf_iterator<char>(svgFile)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<svg"), std::string::npos);
}

TEST(GdiContexts, MeasuringContextMeasuresButDrawsNothing)
{
    HDC dc = dc_create_for_measuring();
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPointA(dc, "Hello", 5, &size));
    EXPECT_GT(size.cx, 10);
    EXPECT_TRUE(TextOutA(dc, 0, 0, "Hello", 5));
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_FALSE(DeleteDC(nullptr));
    dc_destroy(dc);
}

// Counts the custom events that reach it.
struct EventCounter : QObject {
    int received = 0;
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User) ++received;
        return QObject::event(e);
    }
};

TEST(GdiKeys, KeyStateFollowsTheToolkitsEventsAndTheQueryDeliversNothing)
{
    GetAsyncKeyState(VK_ESCAPE);  // follows this application's keys from here on
    EventCounter target;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &press);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0xFFFF, 0x8001) << "down, pressed since the last call";
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0xFFFF, 0x8000) << "still down";
    EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &release);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);

    // Input still queued is not looked at, and nothing queued is delivered by the query.
    QCoreApplication::postEvent(&target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
    EXPECT_EQ(target.received, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(target.received, 1);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 0xFFFF, 0x8001) << "the press once delivered";

    // Leaving the application forgets a held key: its release goes to another program.
    QApplicationStateChangeEvent leave(Qt::ApplicationInactive);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &leave);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);
}

}  // namespace
