// The image chart on a recording context: the colour maps against their tables, the colour of
// each sample in the raster, and the numbers of the colour bar.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "charts/image.h"
#include "platform/dc.h"
#include "platform/testing.h"
#include "tests/charts/recorded.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Entries of the published viridis table times 255, rounded: entry 0 (0.267004, 0.004874,
// 0.329415) gives 68.09, 1.24, 84.00; entry 64 58.58, 82.20, 139.16; entry 85 48.61, 103.80,
// 141.80; entry 128 32.53, 144.57, 140.39; entry 192 94.15, 201.17, 97.64; entry 255 253.28,
// 231.07, 36.70.
constexpr COLORREF kViridis0 = RGB(68, 1, 84), kViridis64 = RGB(59, 82, 139);
constexpr COLORREF kViridis85 = RGB(49, 104, 142), kViridis128 = RGB(33, 145, 140);
constexpr COLORREF kViridis192 = RGB(94, 201, 98), kViridis255 = RGB(253, 231, 37);

TEST(ColourMaps, PositionsGiveTheirTableEntries)
{
    // Entry floor(256 t); the diverging map blends blue (33, 102, 172) to white to red
    // (178, 24, 43): at 0.75 halfway from white to red, 255 - 77 / 2, 255 - 231 / 2,
    // 255 - 212 / 2 rounded.
    const struct {
        zColourMap map;
        double t;
        COLORREF colour;
    } rows[] = {
        {zColourMap::Viridis, 0.0, kViridis0},
        {zColourMap::Viridis, -2.0, kViridis0},
        {zColourMap::Viridis, 0.25, kViridis64},
        {zColourMap::Viridis, 0.5, kViridis128},
        {zColourMap::Viridis, 0.999, kViridis255},
        {zColourMap::Viridis, 7.0, kViridis255},
        {zColourMap::Grey, 0.25, RGB(64, 64, 64)},
        {zColourMap::Grey, 1.0, RGB(255, 255, 255)},
        {zColourMap::Diverging, 0.0, RGB(33, 102, 172)},
        {zColourMap::Diverging, 0.5, RGB(255, 255, 255)},
        {zColourMap::Diverging, 0.75, RGB(217, 140, 149)},
        {zColourMap::Diverging, 1.0, RGB(178, 24, 43)},
        {zColourMap::Grey, kNaN, zNoDataColour},
    };
    for (const auto &row : rows)
        EXPECT_EQ(zColourAt(row.map, row.t), row.colour)
            << "map " << static_cast<int>(row.map) << " at " << row.t;
}

// An image chart of a grid of 3 columns by `rows` rows (the first row at the bottom), drawn
// whole into a 400 x 300 recording context.
struct Drawn {
    RECT window{0, 0, 400, 300};
    HDC dc = CreateRecordingDC(400, 300);
    std::vector<double> grid;
    zGraphStruct record{};
    Drawn(std::vector<double> values, zColourMap map = zColourMap::Viridis, int autoScale = 1,
          double zMin = 0, double zMax = 0)
        : grid(std::move(values))
    {
        testing_begin();
        record.hDC = dc;
        record.pWindowRect = &window;
        record.pZData = grid.data();
        record.NumPoints = static_cast<int>(grid.size());
        record.NumContours = 3;
        record.XMin = -1;
        record.XMax = 1;
        record.YMin = 0;
        record.YMax = 1;
        record.ZMin = zMin;
        record.ZMax = zMax;
        record.bAutoScale = autoScale;
        record.GradedColorScheme = static_cast<int>(map);
        record.DigitFormat = 1;
        record.DigitPrecision = 4;
        ImageGraph(&record);
    }
    ~Drawn()
    {
        DeleteDC(dc);
        testing_end();
    }
    // The first bitmap drawn: the raster of the samples.
    RecordedOp raster() const { return only(dc, RecordedKind::Bitmap).at(0); }
    // The texts right of the colour bar, which ends at 0.82 x 400 = 328, bottom to top.
    std::vector<std::string> barLabels() const
    {
        std::vector<std::string> out;
        for (const RecordedOp &op : only(dc, RecordedKind::Text))
            if (op.points[0].x > 328) out.push_back(op.text);
        return out;
    }
};

TEST(ImageChart, EachSampleTakesTheColourOfItsValueAcrossTheDataRange)
{
    // 0..100: 25 falls in entry 64, 50 in 128, 75 in 192. The bitmap lists the top row first.
    const Drawn chart({0, 50, 100, 25, 75, kNaN});
    const RecordedOp raster = chart.raster();
    ASSERT_EQ(raster.bitmap.size(), 6u);
    const COLORREF expected[] = {kViridis64, kViridis192, zNoDataColour,
                                 kViridis0,  kViridis128, kViridis255};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(raster.bitmap[k], expected[k]) << "pixel " << k;
}

TEST(ImageChart, ValuesOutsideTheLimitsTakeTheEndColours)
{
    // Limits -3..0 (three decades): -4 below them, -2 one third up (entry 85), 1 above them.
    const Drawn chart({-4, -2, 1}, zColourMap::Viridis, 0, -3, 0);
    const std::vector<COLORREF> expected{kViridis0, kViridis85, kViridis255};
    EXPECT_EQ(chart.raster().bitmap, expected);
}

TEST(ImageChart, RasterFillsTheAxesRectangle)
{
    // Axes of the colour bar layout: 0.15 x 400 = 60, 0.15 x 300 = 45, 0.74 x 400 = 296,
    // 0.85 x 300 = 255.
    const Drawn chart({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(points_text(chart.raster().points), "(60,45)(296,255)");
}

TEST(ImageChart, ColourBarIsNumberedByTheTickRules)
{
    // 0..100: a tenth is 10, ten divisions, doubled to 20. -3..0: a tenth 0.3 rounds up to
    // 0.5, six divisions. A flat grid of 7 has the one label.
    const struct {
        std::vector<double> grid;
        std::vector<std::string> labels;
    } rows[] = {
        {{0, 100, 50}, {"0", "20", "40", "60", "80", "100"}},
        {{-3, 0, -1}, {"-3", "-2.5", "-2", "-1.5", "-1", "-0.5", "0"}},
        {{7, 7, 7}, {"7"}},
    };
    for (const auto &row : rows) EXPECT_EQ(Drawn(row.grid).barLabels(), row.labels);
}

TEST(ImageChart, FlatGridDrawsOneColour)
{
    const Drawn chart({7, 7, 7, 7, 7, 7});
    for (COLORREF c : chart.raster().bitmap) EXPECT_EQ(c, kViridis128);
}

}  // namespace
