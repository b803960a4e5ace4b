// Axis ranges, tick selection, device positions of the data, and axis number texts.
#include "charts/scaling.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

bool finite_point(const double *x, const double *y, int i)
{
    return (!x || std::isfinite(x[i])) && y && std::isfinite(y[i]);
}

// Grows [low, high] to take in v; the first value seen sets both.
void widen(double &low, double &high, double v, bool &seen)
{
    if (!seen) {
        low = high = v;
        seen = true;
    } else if (v > high) {
        high = v;
    } else if (v < low) {
        low = v;
    }
}

// A fresh array of n elements in place of the old one, or null when memory is short.
template <typename T> T *reallocate(T *&array, long long n)
{
    delete[] array;
    array = new (std::nothrow) T[static_cast<std::size_t>(n)];
    return array;
}

// Removes blanks from the end, always keeping the first character.
void trim_trailing_blanks(char *text)
{
    for (std::size_t n = std::strlen(text); n > 1 && text[n - 1] == ' '; --n) text[n - 1] = '\0';
}

// 2.50 gives 2.5, 10.00 gives 10, 0.00 gives 0: zeros, blanks and the point itself go from
// the end, never a digit before the point.
void trim_trailing_zeros(char *text)
{
    const char *point = std::strchr(text, '.');
    if (!point) return;
    const std::size_t pointAt = static_cast<std::size_t>(point - text);
    std::size_t n = std::strlen(text);
    for (int removed = 0; n > 0 && removed < 21; ++removed) {
        const char c = text[n - 1];
        if ((c != '0' && c != '.' && c != ' ') || n - 1 < pointAt) break;
        text[--n] = '\0';
        if (n == pointAt) break;  // the point itself is gone
    }
}

}  // namespace

int zPixelFromPosition(double position, long low, long high)
{
    if (!std::isfinite(position)) return zNoPixel;
    const double lowest = static_cast<double>(low) - zPixelMargin;
    const double highest = static_cast<double>(high) + zPixelMargin;
    return static_cast<int>(std::clamp(position, lowest, highest));
}

void zGraph::zSizeData()
{
    if (!bAutoScale) {
        XMin = LimitMin[0];
        YMin = LimitMin[1];
        ZMin = LimitMin[2];
        XMax = LimitMax[0];
        YMax = LimitMax[1];
        ZMax = LimitMax[2];
        return;
    }
    // Points that are not finite numbers are never drawn, so they do not widen the ranges.
    XMin = XMax = YMin = YMax = ZMin = ZMax = 0;
    bool seenXY = false, seenZ = false;
    for (int i = 0; i < NumPoints; ++i) {
        if (finite_point(pXData, pYData, i)) {
            bool seenX = seenXY;
            if (pXData) widen(XMin, XMax, pXData[i], seenX);
            widen(YMin, YMax, pYData[i], seenXY);
        }
        if (pZData && std::isfinite(pZData[i])) widen(ZMin, ZMax, pZData[i], seenZ);
    }
}

int zGraph::zScaleData()
{
    zSizeData();
    const long long n = static_cast<long long>(NumPoints) + 1;
    if (!reallocate(pXPixels, n) || !reallocate(pYPixels, n)) {
        zDisplayError("Insufficient Memory--zGraph::ScaleXYData()");
        return 0;
    }

    if (YMax == YMin) {
        // Flat data: one horizontal line across the middle of the axes.
        const int middle = (AxesTop + AxesBottom) / 2;
        for (int i = 0; i < NumPoints; ++i) {
            const bool drawable = pYData && std::isfinite(pYData[i]);
            pXPixels[i] = drawable ? AxesLeft : zNoPixel;
            pYPixels[i] = drawable ? middle : zNoPixel;
        }
        if (NumPoints > 0 && pXPixels[NumPoints - 1] != zNoPixel)
            pXPixels[NumPoints - 1] = AxesRight;
        return 1;
    }

    zGetBestFitAxisDivisions();
    const int w = std::abs(AxesRight - AxesLeft);
    const int h = std::abs(AxesTop - AxesBottom);
    if (XMax == XMin) {
        zDisplayError("Cannot Scale Data:  xmax = xmin");
        return 0;
    }
    const double sx = w / (XMax - XMin), ox = AxesLeft - sx * XMin;
    const double sy = 1.0 * h / (YMin - YMax), oy = AxesTop - sy * YMax;
    for (int i = 0; i < NumPoints; ++i) {
        int px = zNoPixel, py = zNoPixel;
        if (pXData && finite_point(pXData, pYData, i)) {
            px = zPixelFromPosition(sx * pXData[i] + ox, RWindow.left, RWindow.right);
            py = zPixelFromPosition(sy * pYData[i] + oy, RWindow.top, RWindow.bottom);
        }
        // A position that is not finite (limits that are not) leaves the point undrawn.
        if (px == zNoPixel || py == zNoPixel) px = py = zNoPixel;
        pXPixels[i] = px;
        pYPixels[i] = py;
    }
    return 1;
}

void zGraph::zGetBestFitAxisDivisions()
{
    if (XDivisions < 0 && pXData) zCalcTicks(XMin, XMax, XDivisions);
    if (YDivisions < 0 && pYData) zCalcTicks(YMin, YMax, YDivisions);
}

void zGraph::zCalcTicks(double &min, double &max, int &divisions)
{
    // A range too narrow to divide, or too wide to be a number, keeps five plain divisions.
    const double width = std::fabs(max - min);
    if (width < 1e-7 || !std::isfinite(width)) {
        divisions = 5;
        return;
    }
    double step = 0;
    zFindBestFit(min, max, divisions, step);
    min = std::floor(min / step) * step;
    max = std::ceil(max / step) * step;
    zFindBestFit(min, max, divisions, step);
    // Ten or eight divisions read better as five or four of twice the step.
    if (divisions == 8 || divisions == 10) divisions /= 2;
}

void zGraph::zFindBestFit(double min, double max, int &divisions, double &step)
{
    const double range = max - min;
    // A tenth of the range in extended precision, so that 0.1 * 30 gives 3 and not a hair
    // above it (which would push the step up to the next multiple).
    step = static_cast<double>(0.1L * static_cast<long double>(range));
    const double e = std::log10(step);
    const double p = std::pow(10.0, std::floor(e));
    bool found = false;
    for (int m = 0; m < zNumTickStepMultiples && !found; ++m) {
        if (zTickStepMultiples[m] * p >= step) {
            step = zTickStepMultiples[m] * p;
            found = true;
        }
    }
    if (!found) step = std::pow(10.0, std::floor(e + 1));
    divisions = zRound(range / step);
}

int zGraph::zScale3DGraphData()
{
    return zScaleYData(zRound(0.25 * std::abs(RWindow.top - RWindow.bottom)));
}

int zGraph::zScaleYData(int topOffset)
{
    zSizeData();
    const int h = zRound(AxesBottom - (static_cast<double>(AxesTop) + topOffset));
    if (YMax == YMin) {
        YScale = 0;
        YOffset = 0.5 * h;
    } else {
        zGetBestFitAxisDivisions();
        YScale = h / (YMax - YMin);
        YOffset = -YScale * YMin;
    }
    if (!reallocate(pScaledY, static_cast<long long>(NumPoints) + 2)) {
        zDisplayError("Insufficient Memory--zGraph::ScaleYData()!");
        return 0;
    }
    for (int i = 0; i < NumPoints; ++i)
        pScaledY[i] = pYData ? YScale * pYData[i] + YOffset : std::nan("");
    return 1;
}

void zGraph::zConvertValue(double value, char *out)
{
    char text[zLabelBufferSize];
    switch (DigitFormat) {
    case -1:
        std::snprintf(text, sizeof text, "%-6.0lf", value);
        trim_trailing_blanks(text);
        break;
    case 1:
        // Significant digits in the shorter of fixed and exponent form, as gcvt writes them
        // (which never asks for more than 17).
        std::snprintf(text, sizeof text, "%.*g", std::min(DigitPrecision, 17), value);
        break;
    case 2:
        std::snprintf(text, sizeof text, "%-6.*lf", DigitPrecision, value);
        trim_trailing_blanks(text);
        break;
    default:
        std::snprintf(text, sizeof text, "%-6.*lf", 2, value);
        trim_trailing_zeros(text);
        break;
    }
    std::memcpy(out, text, std::strlen(text) + 1);
}
