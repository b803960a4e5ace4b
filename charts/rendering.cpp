// The drawing steps: background, frame and axis numbers, titles, grids and data points.
#include "charts/rendering.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "charts/graph.h"
#include "platform/win32.h"

namespace {

// The palette the graded one replaced, selected back once the background is filled.
HPALETTE hPaletteBeforeGraded = nullptr;

int text_length(const char *text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

// The symbol kind of a code: its size, whatever the sign (-INT_MIN does not fit an int).
long long symbol_kind(std::int32_t code) { return std::llabs(static_cast<long long>(code)); }

}  // namespace

const char *zCopyToWorkBuffer(char (&buffer)[zLabelBufferSize], const char *text)
{
    const std::size_t n = text ? std::min<std::size_t>(std::strlen(text), zLabelBufferSize - 1) : 0;
    if (n) std::memcpy(buffer, text, n);
    buffer[n] = '\0';
    return buffer;
}

// ---- Background ----------------------------------------------------------------------------

void zGraph::zFillBackground()
{
    HBRUSH brush = CreateSolidBrush(BkgColor);
    HGDIOBJ old = brush ? SelectObject(hDC, brush) : nullptr;
    RWork = RWindow;
    if (GradedBkg)
        zFillBkgWithGradedColor();
    else if (brush)
        FillRect(hDC, &RWork, brush);
    SetBkColor(hDC, BkgColor);
    if (old) SelectObject(hDC, old);
    if (brush) DeleteObject(brush);
}

void zGraph::zCalculateRGBValues(unsigned char v, unsigned char &red, unsigned char &green,
                                 unsigned char &blue)
{
    const unsigned char inverse = static_cast<unsigned char>(255 - v);
    red = green = blue = 0;
    switch (GradedColorScheme) {
    case 1: blue = v; break;
    case 2: green = v; break;
    case 3: green = blue = v; break;
    case 4: red = v; break;
    case 5: red = blue = v; break;
    case 6: red = green = v; break;
    case 7: red = 255, blue = v; break;
    case 8: red = v, blue = 255; break;
    case 9: green = v, blue = 255; break;
    case 10: green = 255, blue = v; break;
    case 11: red = v, green = 255; break;
    case 12: red = 255, green = v; break;
    case 13: red = v, blue = inverse; break;
    case 14: green = inverse, blue = v; break;
    case 15: red = inverse, green = v; break;
    default: red = green = blue = v; break;  // grey
    }
}

HPALETTE zGraph::zCreateGradedColorPalette()
{
    const std::size_t bytes = sizeof(LOGPALETTE) + (zGradedSteps - 1) * sizeof(PALETTEENTRY);
    auto *entries = static_cast<LOGPALETTE *>(std::malloc(bytes));
    if (!entries) return nullptr;
    entries->palVersion = 0x300;
    entries->palNumEntries = zGradedSteps;
    for (int i = 0; i < zGradedSteps; ++i) {
        PALETTEENTRY &e = entries->palPalEntry[i];
        zCalculateRGBValues(static_cast<unsigned char>(255 - 4 * i), e.peRed, e.peGreen, e.peBlue);
        e.peFlags = 0;
    }
    HPALETTE palette = CreatePalette(entries);
    std::free(entries);
    if (!palette) return nullptr;
    hPaletteBeforeGraded = SelectPalette(hDC, palette, FALSE);
    RealizePalette(hDC);
    // The bands have no outline.
    SelectObject(hDC, GetStockObject(NULL_PEN));
    return palette;
}

void zGraph::zFillBkgWithGradedColor()
{
    HGDIOBJ oldPen = GetCurrentObject(hDC, OBJ_PEN);
    HPALETTE palette = zCreateGradedColorPalette();
    if (!palette) {
        zDisplayError("Unable to Create Graded Color Palette!");
        return;
    }
    const int W = zRectWidth(&RWindow), H = zRectHeight(&RWindow);
    const double dy = H * 0.015625, dx = W * 0.015625;
    const long top = RWindow.top, bottom = RWindow.bottom, left = RWindow.left,
               right = RWindow.right;
    unsigned char v = GradedBkg == zGradedRingsDarkCentre ? 0 : 255;
    for (int i = 0; i < zGradedSteps; ++i) {
        unsigned char r, g, b;
        zCalculateRGBValues(v, r, g, b);
        if (GradedBkg == zGradedRingsBrightCentre || GradedBkg == zGradedRingsDarkCentre) {
            const int cx = left + W / 2, cy = top + H / 2;
            const int a0 = zRound(0.5 * i * dx), a1 = zRound(0.5 * (i + 1) * dx);
            const int b0 = zRound(0.5 * i * dy), b1 = zRound(0.5 * (i + 1) * dy);
            zDrawFilledRect(cx - a1 - 1, cy - b1 - 1, cx - a0 + 1, cy + b1 + 1, r, g, b);  // left
            zDrawFilledRect(cx - a1 - 1, cy - b1 - 1, cx + a1 + 1, cy - b0 + 1, r, g, b);  // top
            zDrawFilledRect(cx + a0 - 1, cy - b1 - 1, cx + a1 + 1, cy + b1 + 1, r, g, b);  // right
            zDrawFilledRect(cx - a1 - 1, cy + b0 - 1, cx + a1 + 1, cy + b1 + 1, r, g, b);  // bottom
        } else {
            // Bands overlapping their neighbours by a pixel, kept inside the window.
            long y1, y2;
            if (GradedBkg == zGradedFromBottom) {
                y1 = bottom - zRound((i + 1) * dy) - 1;
                y2 = bottom - zRound(i * dy) + 1;
            } else {
                y1 = top + zRound(i * dy) - 1;
                y2 = top + zRound((i + 1) * dy) + 1;
            }
            y1 = std::clamp(y1, top, bottom);
            y2 = std::clamp(y2, top, bottom);
            zDrawFilledRect(left, y1, right, y2, r, g, b);
        }
        v = static_cast<unsigned char>(GradedBkg == zGradedRingsDarkCentre ? v + 4 : v - 4);
    }
    // The context's own palette comes back (as a background palette) before ours is deleted.
    if (hPaletteBeforeGraded) SelectPalette(hDC, hPaletteBeforeGraded, TRUE);
    hPaletteBeforeGraded = nullptr;
    RealizePalette(hDC);
    DeleteObject(palette);
    if (oldPen) SelectObject(hDC, oldPen);
}

// ---- Frame, axis numbers and titles --------------------------------------------------------

void zGraph::zDrawGraphAxes() { zzDrawGraphAxes(1, 1); }

void zGraph::zzDrawGraphAxes(int showXNumbers, int showYNumbers)
{
    zActivatePens();
    if (showYNumbers) zShowYAxisNumbers();
    if (showXNumbers) zShowXAxisNumbers();
    if (!b3D) zDrawRect(AxesLeft, AxesTop, AxesRight, AxesBottom);
}

void zGraph::zShowYAxisNumbers()
{
    // The front face of a 3-D box starts a quarter of the window height lower.
    const int top = b3D ? AxesTop + zRound(0.25 * zRectHeight(&RWindow)) : AxesTop;
    zzShowYAxisNumbers(AxesBottom, top);
}

void zGraph::zzShowYAxisNumbers(int yb, int yt)
{
    char label[zLabelBufferSize];
    const int s = AveCharWidth;
    zAlignText(zAlignRightTop);
    if (YMin == YMax) {
        zConvertValue(YMin, label);
        zDrawTextString(AxesLeft - s, (yb - yt) / 2 + AxesTop, label);
        zAlignText(zAlignLeftTop);
        return;
    }
    if (YDivisions >= 1) {
        const double dv = (YMax - YMin) / YDivisions;
        const int dp = (yb - yt) / YDivisions;  // whole pixels per division
        // Each label sits s / 2 + 6 pixels above its division line. More divisions than
        // pixels would make dp 0: the count of labels then ends the loop.
        int y = yb;
        for (int i = 0; y >= yt - dp / 2 && (dp > 0 || i <= YDivisions); ++i, y -= dp) {
            const double value = i >= YDivisions ? YMax : YMin + i * dv;
            if (i == 0) y -= s / 2;
            zConvertValue(value, label);
            zDrawTextString(AxesLeft - s, y - 6, label);
        }
    }
    zAlignText(zAlignLeftTop);
}

void zGraph::zShowXAxisNumbers()
{
    // A 3-D box recedes to the right by a fifth of the window width.
    const int right = b3D ? AxesRight - zRound(0.2 * zRectWidth(&RWindow)) : AxesRight;
    zzShowXAxisNumbers(AxesLeft, right);
}

void zGraph::zzShowXAxisNumbers(int xl, int xr)
{
    if (ItemStyle == 2 || XDivisions < 1) return;
    char label[zLabelBufferSize];
    const int s = AveCharWidth;
    const double dv = (XMax - XMin) / XDivisions;
    const double dp = static_cast<double>(xr - xl) / XDivisions;
    for (int i = 0; i <= XDivisions; ++i) {
        if (ItemStyle == 0)
            zCopyToWorkBuffer(label, i < 30 && ItemTitles[i] ? ItemTitles[i] : "?");
        else
            zConvertValue(i == XDivisions ? XMax : XMin + i * dv, label);
        zDrawTextString(zRound(i * dp) + xl - s, AxesBottom + 5, label);
    }
}

void zGraph::zShowGraphTitles()
{
    const int t = std::abs(static_cast<int>(RWindow.top) - AxesTop);
    const int aw = zRectWidth(&RAxes);
    RECT r{AxesLeft + zRound(0.15 * aw), RWindow.top + zRound(0.25 * t),
           AxesRight - zRound(0.15 * aw), AxesTop - zRound(0.25 * t)};
    const char *title = Title ? Title : "";
    zShowStringInRect(title, title, &r, 0, 1);
    if (!bTitlesSet) return;

    const int s = AveCharWidth;
    const char *xTitle = XAxisTitle ? XAxisTitle : "";
    const char *yTitle = YAxisTitle ? YAxisTitle : "";
    const int right = b3D == 1 ? AxesRight - zRound(0.2 * zRectWidth(&RWindow)) : AxesRight;
    // The x title centred under the axis numbers, the y title centred over the y axis.
    zDrawTextString((right + AxesLeft) / 2 - (text_length(xTitle) * s) / 2,
                    AxesBottom + zRound(2.75 * s), xTitle);
    zDrawTextString(AxesLeft - (text_length(yTitle) * s) / 2, AxesTop - zRound(3.33 * s), yTitle);
}

// ---- Grids ---------------------------------------------------------------------------------

void zGraph::zDrawGrid()
{
    if (b3D)
        zDraw3DGrid();
    else
        zDraw2DGrid();
}

void zGraph::zDraw2DGrid()
{
    if (!bShowGrid) return;
    zActivatePens();
    SelectObject(hDC, hGridPen);
    // The far edges coincide with the frame and are left out.
    for (int i = 0; i < XDivisions; ++i) {
        const int x =
            AxesLeft + static_cast<int>(static_cast<long long>(i) * AxesWidth / XDivisions);
        zDrawLine(x, AxesTop, x, AxesBottom);
    }
    for (int j = 0; j < YDivisions; ++j) {
        const int y =
            AxesBottom - static_cast<int>(static_cast<long long>(j) * AxesHeight / YDivisions);
        zDrawLine(AxesLeft, y, AxesRight, y);
    }
    SelectObject(hDC, hAxisPen);
}

void zGraph::zDraw3DGrid()
{
    // The axes become a box seen from the front left, receding to the right and upward.
    const int W = zRectWidth(&RWindow), H = zRectHeight(&RWindow);
    const int dx = zRound(0.2 * W), dy = zRound(0.25 * H);
    const double GW = AxesRight - AxesLeft - 0.2 * W;
    const double GH = AxesBottom - (AxesTop + 0.25 * H);
    AxesWidth = zRound(GW);
    AxesHeight = zRound(GH);

    zActivatePens();
    zMoveTo(AxesLeft, AxesBottom);
    zLineTo(AxesRight - dx, AxesBottom);
    zLineTo(AxesRight, AxesBottom - dy);
    zLineTo(AxesRight, AxesTop);
    zLineTo(AxesLeft + dx, AxesTop);
    zLineTo(AxesLeft, AxesTop + dy);
    zLineTo(AxesLeft, AxesBottom);
    if (!bShowGrid) return;

    SelectObject(hDC, hGridPen);
    for (int i = 0; i < XDivisions; ++i) {
        const int x = AxesLeft + zRound(i * GW / XDivisions);
        zDrawLine(x, AxesBottom, x + dx, AxesBottom - dy);  // floor
    }
    for (int j = 0; j < YDivisions; ++j) {
        const int y = AxesBottom - zRound(j * GH / YDivisions);
        zMoveTo(AxesLeft, y);  // up the left wall and along the back wall
        zLineTo(AxesLeft + dx, y - dy);
        zLineTo(AxesRight, y - dy);
    }
    zMoveTo(AxesRight, AxesBottom - dy);  // the back edges
    zLineTo(AxesLeft + dx, AxesBottom - dy);
    zLineTo(AxesLeft + dx, AxesTop);
    SelectObject(hDC, hAxisPen);
}

// ---- Data points ---------------------------------------------------------------------------

int zGraph::zDrawDataPoints()
{
    zKeepPenAndBrush keep(hDC);
    zSelectGraphColor(0);
    const int s = AveCharWidth;
    if (!bAutoScale) {
        // Points outside the ranges are cut off half a character beyond the axes.
        RECT box{0, 0, 0, 0};
        GetClipBox(hDC, &box);
        hOldClipRgn = CreateRectRgnIndirect(&box);
        hClipRgn =
            CreateRectRgn(AxesLeft - s / 2, AxesTop - s / 2, AxesRight + s / 2, AxesBottom + s / 2);
        SelectClipRgn(hDC, hClipRgn);
    }

    int set = 0;
    if (pXPixels && pYPixels) {
        for (int i = 0; i < NumPoints; ++i) {
            const std::int32_t code = pSymbols ? pSymbols[i] : 0;
            const long long kind = symbol_kind(code);
            const bool sameSet = i == 0 || kind == symbol_kind(pSymbols ? pSymbols[i - 1] : 0);
            if (!sameSet) zSelectGraphColor(++set);
            const int x = pXPixels[i], y = pYPixels[i];
            const bool drawable = x != zNoPixel && y != zNoPixel;
            if (bDrawSymbols && drawable)
                zDraw_Symbol(static_cast<unsigned>(x), static_cast<unsigned>(y),
                             static_cast<int>(kind), set);
            if (!bDrawLines) continue;
            if (code < 0) {
                // A break in the line, marked by a symbol.
                if (drawable)
                    zDraw_Symbol(static_cast<unsigned>(x), static_cast<unsigned>(y),
                                 static_cast<int>(kind), set);
            } else if (i > 0 && sameSet && drawable && pXPixels[i - 1] != zNoPixel) {
                zDrawLine(x, y, pXPixels[i - 1], pYPixels[i - 1]);
            }
        }
    }

    if (!bAutoScale) {
        SelectClipRgn(hDC, hOldClipRgn);
        DeleteObject(hOldClipRgn);
        DeleteObject(hClipRgn);
        hOldClipRgn = nullptr;
        hClipRgn = nullptr;
    }
    NumSets = set + 1;
    return NumSets;
}
