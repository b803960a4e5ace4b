// The demonstration page: drawn into an image, it must leave no objects behind and put the
// expected pixels where the symbols, hatches and patterns are. Set ORVINTA_DRAWING_DEMO_PNG to
// a path to keep the picture.
#include <gtest/gtest.h>

#include <cstdlib>

#include "charts/drawing_demo.h"
#include "charts/zcolor.h"
#include "platform/dc.h"

namespace {

TEST(DrawingDemo, DrawsTheExpectedPixelsAndLeavesTheContextAsFound)
{
    HDC dc = CreateImageDC(kDrawingDemoWidth, kDrawingDemoHeight);
    ASSERT_NE(dc, nullptr);
    const int objects = GdiLiveObjectCount();
    const HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN), brush = GetCurrentObject(dc, OBJ_BRUSH),
                  font = GetCurrentObject(dc, OBJ_FONT);

    zDrawingLayerDemonstration(dc);

    EXPECT_EQ(GdiLiveObjectCount(), objects) << "objects leaked";
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(GetTextAlign(dc), static_cast<UINT>(TA_LEFT | TA_TOP));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);

    const COLORREF white = RGB(255, 255, 255);
    struct Row {
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
    for (const Row &row : rows) EXPECT_EQ(GetPixel(dc, row.x, row.y), row.expected) << row.what;

    if (const char *path = std::getenv("ORVINTA_DRAWING_DEMO_PNG")) {
        EXPECT_TRUE(SaveImageDC(dc, path));
    }
    DeleteDC(dc);
}

}  // namespace
