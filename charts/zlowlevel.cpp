#include "charts/zlowlevel.h"

#include <cstdlib>
#include <cstring>

#include "platform/win32.h"

namespace {

// The most recent shading brush; whoever asked for it deletes it.
HBRUSH hShadingBrush = nullptr;

// The ten 8 x 8 fill patterns of BrushStyle 2, top row first, most significant bit leftmost;
// a 0 bit takes the text colour, a 1 bit the background colour.
const unsigned char kPatterns[10][8] = {
    {0xF7, 0xFB, 0xFD, 0xFE, 0x7F, 0xBF, 0xDF, 0xEF},  // diagonal stripes
    {0xFF, 0x99, 0x99, 0xFF, 0xFF, 0x99, 0x99, 0xFF},  // small squares
    {0xFF, 0xFF, 0xFF, 0xE7, 0xE7, 0xFF, 0xFF, 0xFF},  // dots
    {0xFF, 0xBD, 0xE7, 0xFF, 0xBD, 0xE7, 0xBD, 0xFF},  // scattered marks
    {0xFF, 0xFF, 0xC7, 0xC7, 0xC7, 0xFF, 0xFF, 0xFF},  // blocks
    {0xEF, 0xDF, 0xBF, 0x7F, 0xFE, 0xFD, 0xFB, 0xF7},  // stripes the other way
    {0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33},  // checkerboard
    {0xFF, 0xFF, 0xC3, 0xDB, 0xDB, 0xC3, 0xFF, 0xFF},  // hollow squares
    {0xE7, 0xDB, 0xBD, 0x7E, 0x7E, 0xBD, 0xDB, 0xE7},  // diamonds
    {0xDB, 0xDB, 0x00, 0xDB, 0xDB, 0x00, 0xDB, 0xDB},  // grid
};

int normalised_set(int k)
{
    if (k < 0) return 0;
    return k % 10;
}

// Drops one of the graph's objects: out of the device context first if it is still selected
// there (a selected object cannot be deleted), then deleted, and the handle forgotten.
template <class Handle> void delete_owned(HDC hdc, Handle &object, UINT type, int stock)
{
    if (!object) return;
    if (hdc && GetCurrentObject(hdc, type) == object) SelectObject(hdc, GetStockObject(stock));
    DeleteObject(object);
    object = nullptr;
}

// The proportional face of text fitted into a rectangle: height and character width in pixels.
HFONT sized_font(int height, int width)
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = 4;
    std::strcpy(lf.lfFaceName, "Arial");
    return CreateFontIndirectA(&lf);
}

}  // namespace

zLowLevelGraphics::zLowLevelGraphics()
    : RWindow{0, 0, 0, 0}, RWork{0, 0, 0, 0}, bPensActive(0), bBrushesActive(0), AxisColor(0),
      BkgColor(0), GraphColors{}, ShadeShift(0), CurrentColor(0), AveCharWidth(0), CharHeight(0),
      PenStyle(0), BrushStyle(0), hDC(nullptr), hPatternBitmaps{}, hBrushes{}, hOldPen(nullptr),
      hOldBrush(nullptr), hOldFont(nullptr), hOldClipRgn(nullptr), hPens{}, hAxisPen(nullptr),
      hGridPen(nullptr), hClipRgn(nullptr)
{
}

// ---- Pens, brushes and colours ----------------------------------------------------------------

void zLowLevelGraphics::zActivatePens()
{
    if (!bPensActive) {
        const int gridStyle =
            PenStyle >= PS_SOLID && PenStyle <= PS_DASHDOTDOT ? PenStyle : PS_SOLID;
        hGridPen = CreatePen(gridStyle, 0, AxisColor);
        hAxisPen = CreatePen(PS_SOLID, 0, AxisColor);
        for (int k = 0; k < 10; ++k) hPens[k] = CreatePen(PS_SOLID, 0, GraphColors[k]);
    }
    SetTextColor(hDC, AxisColor);
    SelectObject(hDC, hAxisPen);
    bPensActive = 1;
}

void zLowLevelGraphics::zDeletePens()
{
    if (!bPensActive) return;
    delete_owned(hDC, hAxisPen, OBJ_PEN, BLACK_PEN);
    delete_owned(hDC, hGridPen, OBJ_PEN, BLACK_PEN);
    for (HPEN &pen : hPens) delete_owned(hDC, pen, OBJ_PEN, BLACK_PEN);
    bPensActive = 0;  // a second release finds nothing to delete
}

void zLowLevelGraphics::zActivateBrushes()
{
    if (!bBrushesActive) {
        for (int k = 0; k < 10; ++k) {
            switch (BrushStyle) {
            case 1: hBrushes[k] = CreateHatchBrush(k % 6, GraphColors[k]); break;
            case 2: {
                // A monochrome bitmap wants its rows aligned to 16 bits: byte in the low half.
                WORD rows[8];
                for (int i = 0; i < 8; ++i) rows[i] = kPatterns[k][i];
                hPatternBitmaps[k] = CreateBitmap(8, 8, 1, 1, rows);
                hBrushes[k] = CreatePatternBrush(hPatternBitmaps[k]);
                DeleteObject(hPatternBitmaps[k]);
                hPatternBitmaps[k] = nullptr;
                break;
            }
            default: hBrushes[k] = CreateSolidBrush(GraphColors[k]); break;
            }
        }
    }
    bBrushesActive = 1;
}

void zLowLevelGraphics::zDeleteBrushes()
{
    if (!bBrushesActive) return;
    for (HBRUSH &brush : hBrushes) delete_owned(hDC, brush, OBJ_BRUSH, WHITE_BRUSH);
    bBrushesActive = 0;
}

void zLowLevelGraphics::zSelectAxisColor()
{
    zActivatePens();
    SelectObject(hDC, hAxisPen);
    SetTextColor(hDC, AxisColor);
    CurrentColor = AxisColor;
}

void zLowLevelGraphics::zSelectGraphColor(int k)
{
    k = normalised_set(k);
    zActivatePens();
    zActivateBrushes();
    SelectObject(hDC, hPens[k]);
    SelectObject(hDC, hBrushes[k]);
    SetTextColor(hDC, GraphColors[k]);
    CurrentColor = GraphColors[k];
}

HBRUSH zLowLevelGraphics::zCreateShadingBrush(COLORREF color)
{
    // Shifting a byte right by 8 or more leaves nothing; a negative shift darkens nothing.
    const int shift = ShadeShift < 0 ? 0 : (ShadeShift > 8 ? 8 : ShadeShift);
    const unsigned char red = static_cast<unsigned char>(GetRValue(color) >> shift);
    const unsigned char green = static_cast<unsigned char>(GetGValue(color) >> shift);
    const unsigned char blue = static_cast<unsigned char>(GetBValue(color) >> shift);
    hShadingBrush = CreateSolidBrush(zMakeColor(red, green, blue));
    return hShadingBrush;
}

void zLowLevelGraphics::zSaveGraphics()
{
    hOldBrush = SelectObject(hDC, GetStockObject(WHITE_BRUSH));
    hOldPen = SelectObject(hDC, GetStockObject(BLACK_PEN));
    hOldFont = GetCurrentObject(hDC, OBJ_FONT);
}

void zLowLevelGraphics::zRestoreGraphics()
{
    if (hOldBrush) SelectObject(hDC, hOldBrush);
    if (hOldPen) SelectObject(hDC, hOldPen);
    if (hOldFont) SelectObject(hDC, hOldFont);
}

// ---- Primitives -----------------------------------------------------------------------------

void zLowLevelGraphics::zMoveTo(int x, int y) { MoveToEx(hDC, x, y, nullptr); }

void zLowLevelGraphics::zLineTo(int x, int y) { LineTo(hDC, x, y); }

void zLowLevelGraphics::zDrawLine(int x1, int y1, int x2, int y2)
{
    MoveToEx(hDC, x1, y1, nullptr);
    LineTo(hDC, x2, y2);
}

void zLowLevelGraphics::zDrawRect(const RECT *r)
{
    if (!r) return;
    zDrawRect(r->left, r->top, r->right, r->bottom);
}

void zLowLevelGraphics::zDrawRect(int left, int top, int right, int bottom)
{
    SelectObject(hDC, hAxisPen);
    MoveToEx(hDC, left, top, nullptr);
    LineTo(hDC, right, top);
    LineTo(hDC, right, bottom);
    LineTo(hDC, left, bottom);
    LineTo(hDC, left, top);
}

void zLowLevelGraphics::zDrawPolygon(const POINT *points, int count, HBRUSH brush, HPEN pen)
{
    // A pen or brush that could not be made draws nothing, rather than leaving the previous
    // one to stand in for it.
    const SelectedObject withPen(hDC, pen ? pen : GetStockObject(NULL_PEN));
    const SelectedObject withBrush(hDC, brush ? brush : GetStockObject(NULL_BRUSH));
    SetPolyFillMode(hDC, ALTERNATE);
    Polygon(hDC, points, count);
}

void zLowLevelGraphics::zDrawFilledRect(int left, int top, int right, int bottom, unsigned char red,
                                        unsigned char green, unsigned char blue)
{
    // Palette-relative, so that a palette device paints the nearest colour of the realised
    // graded palette rather than a dither.
    HBRUSH brush = CreateSolidBrush(PALETTERGB(red, green, blue));
    {
        const SelectedObject withBrush(hDC, brush ? brush : GetStockObject(NULL_BRUSH));
        Rectangle(hDC, left, top, right, bottom);
    }
    if (brush) DeleteObject(brush);
}

void zLowLevelGraphics::zDrawCircle(int x, int y, int r, double aspect)
{
    const int ry = zRound(r * aspect);
    const int startY = zRound(y - r * aspect);
    Arc(hDC, x - r, y - ry, x + r, y + ry, x, startY, x, startY);
}

void zLowLevelGraphics::zDrawTextString(int x, int y, const char *text)
{
    if (!text) return;
    TextOutA(hDC, x, y, text, static_cast<int>(std::strlen(text)));
}

void zLowLevelGraphics::zSetPixel(int x, int y, COLORREF color)
{
    CurrentColor = color;
    SetPixel(hDC, x, y, color);
}

void zLowLevelGraphics::zAlignText(int mode)
{
    switch (mode) {
    case zAlignRightTop: SetTextAlign(hDC, TA_RIGHT | TA_TOP); break;
    case zAlignLeftTop: SetTextAlign(hDC, TA_LEFT | TA_TOP); break;
    case zAlignCentreBaseline: SetTextAlign(hDC, TA_CENTER | TA_BASELINE); break;
    default: break;
    }
}

int zLowLevelGraphics::zTextWidth(const char *text)
{
    SIZE size{0, 0};
    if (text) GetTextExtentPointA(hDC, text, static_cast<int>(std::strlen(text)), &size);
    return size.cx;
}

int zLowLevelGraphics::zTextHeight(const char *text)
{
    SIZE size{0, 0};
    if (text) GetTextExtentPointA(hDC, text, static_cast<int>(std::strlen(text)), &size);
    return size.cy;
}

void zLowLevelGraphics::zGetDefaultTextSize()
{
    TEXTMETRICA tm{};
    if (!GetTextMetricsA(hDC, &tm)) return;
    AveCharWidth = tm.tmAveCharWidth;
    CharHeight = tm.tmHeight;
}

int zLowLevelGraphics::zRectWidth(const RECT *r)
{
    return std::abs(static_cast<int>(r->left - r->right));
}

int zLowLevelGraphics::zRectHeight(const RECT *r)
{
    return std::abs(static_cast<int>(r->top - r->bottom));
}

POINT zLowLevelGraphics::zRectCenter(const RECT *r)
{
    return POINT{(r->left + r->right) / 2, (r->top + r->bottom) / 2};
}

void zLowLevelGraphics::zSetRect(RECT *r, int left, int top, int right, int bottom)
{
    r->left = left;
    r->top = top;
    r->right = right;
    r->bottom = bottom;
}

// ---- Symbols, bars, wedges ------------------------------------------------------------------

void zLowLevelGraphics::zDraw_Symbol(unsigned ux, unsigned uy, int kind, int k)
{
    // Device coordinates arrive as unsigned; a point left of or above the window wraps round
    // and comes back negative here.
    const int x = static_cast<int>(ux), y = static_cast<int>(uy);
    k = normalised_set(k);
    SetPolyFillMode(hDC, ALTERNATE);
    // Every shape hangs below (x, y), s to 1.2 s high.
    const int s = AveCharWidth;
    const int q = s / 4, h = s / 2, a = 3 * s / 5, t1 = s / 3, t2 = 2 * s / 3;
    const int r = zRound(0.6 * s);
    switch (kind) {
    case zSymbolPlus: {
        const POINT p[12] = {{x - q, y},      {x + q, y},      {x + q, y + t1}, {x + a, y + t1},
                             {x + a, y + t2}, {x + q, y + t2}, {x + q, y + s},  {x - q, y + s},
                             {x - q, y + t2}, {x - a, y + t2}, {x - a, y + t1}, {x - q, y + t1}};
        zDrawPolygon(p, 12, hBrushes[k], hAxisPen);
        break;
    }
    case zSymbolOctagon: {
        const POINT p[8] = {{x - q, y},     {x + q, y},     {x + a, y + t1}, {x + a, y + t2},
                            {x + q, y + s}, {x - q, y + s}, {x - a, y + t2}, {x - a, y + t1}};
        zDrawPolygon(p, 8, hBrushes[k], hAxisPen);
        break;
    }
    case zSymbolDiamond: {
        const POINT p[4] = {{x, y}, {x - r, y + r}, {x, y + zRound(1.2 * s)}, {x + r, y + r}};
        zDrawPolygon(p, 4, hBrushes[k], hAxisPen);
        break;
    }
    case zSymbolTriangleUp: {
        const POINT p[3] = {{x, y}, {x - h, y + s}, {x + h, y + s}};
        zDrawPolygon(p, 3, hBrushes[k], hAxisPen);
        break;
    }
    case zSymbolTriangleDown: {
        const POINT p[3] = {{x - h, y}, {x + h, y}, {x, y + s}};
        zDrawPolygon(p, 3, hBrushes[k], hAxisPen);
        break;
    }
    case zSymbolSquare: {
        const POINT p[4] = {
            {x - h + 1, y + 1}, {x + h - 1, y + 1}, {x + h - 1, y + s - 1}, {x - h + 1, y + s - 1}};
        zDrawPolygon(p, 4, hBrushes[k], hAxisPen);
        break;
    }
    default: {  // a character of the device font
        const char c[2] = {static_cast<char>(kind & 0xFF), '\0'};
        const SelectedObject withFont(hDC, GetStockObject(DEVICE_DEFAULT_FONT));
        TextOutA(hDC, x - h, y - s, c, 1);
        break;
    }
    }
}

// A side face in a darker shade of the brush when ShadeShift asks for one.
void zLowLevelGraphics::zDrawShadedFace(const POINT *points, HBRUSH brush, HPEN pen)
{
    HBRUSH shade = nullptr;
    if (ShadeShift > 0) {
        LOGBRUSH lb{};
        if (GetObjectA(brush, sizeof lb, &lb)) shade = zCreateShadingBrush(lb.lbColor);
    }
    zDrawPolygon(points, 4, shade ? shade : brush, pen);
    if (shade) {
        DeleteObject(shade);
        if (hShadingBrush == shade) hShadingBrush = nullptr;
    }
}

void zLowLevelGraphics::zDraw3DBar(int left, int top, int right, int bottom, int depth,
                                   HBRUSH brush, HPEN pen)
{
    if (depth > 0) {
        const POINT topFace[4] = {
            {left, top}, {left + depth, top - depth}, {right + depth, top - depth}, {right, top}};
        zDrawPolygon(topFace, 4, brush, pen);
        const POINT side[4] = {{right + depth, top - depth},
                               {right, top},
                               {right, bottom},
                               {right + depth, bottom - depth}};
        zDrawShadedFace(side, brush, pen);
    }
    const POINT front[4] = {{left, top}, {left, bottom}, {right, bottom}, {right, top}};
    zDrawPolygon(front, 4, brush, pen);
}

void zLowLevelGraphics::zDrawWedge(POINT p1, POINT p2, POINT p3, POINT p4, POINT p5, POINT p6,
                                   HBRUSH brush, HPEN pen, int sides)
{
    const POINT face[4] = {p3, p4, p5, p6};
    zDrawPolygon(face, 4, brush, pen);
    if (sides == 0) return;
    const POINT rim[4] = {p1, p2, p3, p4};
    zDrawPolygon(rim, 4, brush, pen);
    const LONG d = std::labs(p3.y - p2.y);
    const POINT side[4] = {p2, p3, p6, POINT{p6.x, p6.y + d}};
    zDrawShadedFace(side, brush, pen);
}

// ---- Text in a rectangle --------------------------------------------------------------------

void zLowLevelGraphics::zShowStringInRect(const char *sizingText, const char *text, RECT *r,
                                          int useCharHeight, int alwaysNewFont)
{
    if (!r) return;
    if (!sizingText) sizingText = "";
    zSelectAxisColor();
    zAlignText(zAlignCentreBaseline);

    SIZE fit{0, 0};
    const int sizingLength = static_cast<int>(std::strlen(sizingText));
    GetTextExtentPointA(hDC, sizingText, sizingLength, &fit);
    const bool fits = zRectHeight(r) > fit.cy && zRectWidth(r) > fit.cx;

    HFONT font = nullptr;
    if (alwaysNewFont != 0 || !fits) {
        int height = zRectHeight(r);
        int width = sizingLength > 0 ? zRectWidth(r) / sizingLength : 1;
        if (useCharHeight && height > AveCharWidth) height = CharHeight;
        // Characters no wider than 0.6 of their height.
        if (zRound(0.6 * height) < width) width = zRound(0.6 * height);
        font = sized_font(height, width);
    }

    {
        // A font that could not be made leaves the current one to write with.
        const SelectedObject withFont(hDC, font);
        // The baseline a fifth of the height below the middle.
        const int x = (r->left + r->right) / 2;
        const int y = (r->top + r->bottom) / 2 + zRound(0.2 * zRectHeight(r));
        zDrawTextString(x, y, text);
    }
    if (font) DeleteObject(font);
    SetTextAlign(hDC, TA_LEFT | TA_TOP);
}

// ---- Messages and the wait cursor -----------------------------------------------------------

int zDisplayError(const char *text)
{
    return MessageBoxA(nullptr, text ? text : "", "Error", MB_ICONEXCLAMATION | MB_OK);
}

namespace {

HCURSOR hCursorBeforeWait = nullptr;
bool bWaitCursorOn = false;

}  // namespace

void HOURGLASS(int on)
{
    if (on == 1) {
        // Only the first of several calls remembers the cursor to come back to.
        HCURSOR replaced = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        if (!bWaitCursorOn) hCursorBeforeWait = replaced;
        bWaitCursorOn = true;
        ShowCursor(TRUE);
    } else if (on == 0 && bWaitCursorOn) {
        // Switching off a wait cursor that was never shown would hide the pointer instead.
        ShowCursor(FALSE);
        SetCursor(hCursorBeforeWait);
        bWaitCursorOn = false;
    }
}
