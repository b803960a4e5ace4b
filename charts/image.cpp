// The image chart's steps. The raster is one device-independent bitmap of the grid, one
// pixel per sample, stretched onto the axes by whole pixels; the colour bar is a second one,
// one column of the whole map.
#include "charts/image.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <new>

#include "charts/layout.h"
#include "platform/win32.h"

namespace {

// A colour as a 32-bit bitmap pixel: blue in the low byte.
std::uint32_t dib_pixel(COLORREF c)
{
    return static_cast<std::uint32_t>(GetBValue(c)) |
           static_cast<std::uint32_t>(GetGValue(c)) << 8 |
           static_cast<std::uint32_t>(GetRValue(c)) << 16;
}

// The position of value within [low, high] on a side of length pixels running from start
// (low) in direction sign.
int along(double value, double low, double high, int start, int pixels, int sign)
{
    return start + sign * static_cast<int>(std::lround((value - low) / (high - low) * pixels));
}

}  // namespace

zImage::zImage(const zGraphStruct *record) : zGraph(record) {}

int zImage::zCheckForLegalData()
{
    const long long columns = zColumns();
    if (!pZData || columns < 1 || NumPoints < columns || NumPoints % columns != 0) {
        zDisplayError("Image Grid Invalid: Columns Times Rows Must Equal the Points");
        return 0;
    }
    NumSets = 1;
    NumSamples = NumPoints;
    return 1;
}

int zImage::zPrepareData()
{
    if (!zCheckForLegalData()) return 0;
    // The axes reach half a sample beyond the first and last centres (one unit when a side
    // has a single sample and no step).
    const auto edges = [](double first, double last, int count, double &low, double &high) {
        const double step = count > 1 && last != first ? (last - first) / (count - 1) : 1.0;
        low = first - step / 2;
        high = last + step / 2;
    };
    edges(LimitMin[0], LimitMax[0], zColumns(), XMin, XMax);
    edges(LimitMin[1], LimitMax[1], zRows(), YMin, YMax);
    ZMin = LimitMin[2];
    ZMax = LimitMax[2];
    if (bAutoScale) {
        bool seen = false;
        for (int k = 0; k < NumPoints; ++k) {
            if (!std::isfinite(pZData[k])) continue;
            ZMin = seen ? std::min(ZMin, pZData[k]) : pZData[k];
            ZMax = seen ? std::max(ZMax, pZData[k]) : pZData[k];
            seen = true;
        }
        if (!seen) ZMin = ZMax = 0;
    }
    return 1;
}

std::vector<double> zImage::zTickValues(double low, double high)
{
    const double width = high - low;
    if (!(width > 1e-12 * std::max(std::fabs(low), std::fabs(high))) || !std::isfinite(width))
        return {low};
    int divisions = 0;
    double step = 0;
    zFindBestFit(low, high, divisions, step);
    if (divisions >= 8) step *= 2;
    const double slack = step * 1e-9;
    std::vector<double> ticks;
    for (double k = std::ceil((low - slack) / step); k * step <= high + slack; k += 1)
        ticks.push_back(std::fabs(k * step) < slack ? 0.0 : k * step);
    return ticks;
}

bool zImage::fits(int left, int top, int width) const
{
    return left >= RWindow.left && left + width <= RWindow.right && top >= RWindow.top &&
           top < RWindow.bottom;
}

double zImage::zMapPosition(double value) const
{
    if (!(ZMax > ZMin)) return std::isfinite(value) ? 0.5 : value;
    return (value - ZMin) / (ZMax - ZMin);
}

void zImage::zDrawGraphAxes()
{
    zActivatePens();
    char label[zLabelBufferSize];
    const int s = AveCharWidth, tick = std::max(2, s / 2);
    int lastRight = INT_MIN;  // numbers that would run into the one before are left out
    for (double v : zTickValues(XMin, XMax)) {
        const int x = along(v, XMin, XMax, AxesLeft, AxesWidth, 1);
        zConvertValue(v, label);
        const int w = zTextWidth(label);
        zDrawLine(x, AxesBottom, x, AxesBottom + tick);
        if (x - w / 2 < lastRight + s || !fits(x - w / 2, AxesBottom + tick + 2, w)) continue;
        zAlignText(zAlignLeftTop);
        zDrawTextString(x - w / 2, AxesBottom + tick + 2, label);
        lastRight = x - w / 2 + w;
    }
    int lastTop = INT_MAX;
    for (double v : zTickValues(YMin, YMax)) {
        const int y = along(v, YMin, YMax, AxesBottom, AxesHeight, -1);
        zDrawLine(AxesLeft - tick, y, AxesLeft, y);
        zConvertValue(v, label);
        const int w = zTextWidth(label);
        if (y + CharHeight / 2 > lastTop || !fits(AxesLeft - tick - 2 - w, y - CharHeight / 2, w))
            continue;
        zAlignText(zAlignRightTop);
        zDrawTextString(AxesLeft - tick - 2, y - CharHeight / 2, label);
        lastTop = y - CharHeight / 2;
    }
    zAlignText(zAlignLeftTop);
}

void zImage::zDrawGrid() {}

void zImage::zBlit(const std::vector<std::uint32_t> &pixels, int width, int height, const RECT &to)
{
    if (to.right <= to.left || to.bottom <= to.top) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(hDC, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, width, height,
                  pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

int zImage::zDrawDataPoints()
{
    const int columns = zColumns(), rows = zRows();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(columns) * rows);
    // The top row of the bitmap is the last row of the grid.
    for (int r = 0; r < rows; ++r) {
        const double *from = pZData + static_cast<std::size_t>(rows - 1 - r) * columns;
        std::uint32_t *to = pixels.data() + static_cast<std::size_t>(r) * columns;
        for (int c = 0; c < columns; ++c)
            to[c] = dib_pixel(zColourAt(zMap(), zMapPosition(from[c])));
    }
    zBlit(pixels, columns, rows, RAxes);
    return 1;
}

void zImage::zDrawOverData()
{
    zActivatePens();
    SelectObject(hDC, GetStockObject(NULL_BRUSH));
    zDrawRect(AxesLeft, AxesTop, AxesRight, AxesBottom);
}

int zImage::zLegendSamples() { return 0; }

void zImage::zDrawLegend(int)
{
    const RECT bar = RLegend;
    const int height = bar.bottom - bar.top;
    if (height <= 0 || bar.right <= bar.left) return;
    std::vector<std::uint32_t> pixels(zColourMapSize);
    const bool flat = !(ZMax > ZMin);
    for (int k = 0; k < zColourMapSize; ++k)  // the top entry first
        pixels[static_cast<std::size_t>(k)] = dib_pixel(
            zColourAt(zMap(), flat ? 0.5 : (zColourMapSize - 1 - k + 0.5) / zColourMapSize));
    zBlit(pixels, 1, zColourMapSize, bar);
    zActivatePens();
    SelectObject(hDC, GetStockObject(NULL_BRUSH));
    zDrawRect(bar.left, bar.top, bar.right, bar.bottom);

    char label[zLabelBufferSize];
    const int s = AveCharWidth, tick = std::max(2, s / 2);
    zAlignText(zAlignLeftTop);
    const int left = bar.right + tick + 2;
    if (flat) {
        zConvertValue(ZMin, label);
        const int top = (bar.top + bar.bottom) / 2 - CharHeight / 2;
        if (fits(left, top, zTextWidth(label))) zDrawTextString(left, top, label);
        return;
    }
    int lastTop = INT_MAX;
    for (double v : zTickValues(ZMin, ZMax)) {
        const int y = along(v, ZMin, ZMax, bar.bottom, height, -1);
        zDrawLine(bar.right, y, bar.right + tick, y);
        zConvertValue(v, label);
        if (y + CharHeight / 2 > lastTop || !fits(left, y - CharHeight / 2, zTextWidth(label)))
            continue;
        zDrawTextString(left, y - CharHeight / 2, label);
        lastTop = y - CharHeight / 2;
    }
}

void ImageGraph(const zGraphStruct *record)
{
    zImage *graph = new (std::nothrow) zImage(record);
    if (!graph) return;
    graph->LegendStyle = zLegendColourBar;  // the bar, whatever the record asked for
    graph->zDraw();
    delete graph;
}
