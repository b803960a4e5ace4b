// The drawing layer every graph is built on: the device context, the graph's colours and the
// pens and brushes made from them, and the primitives the chart types draw with (lines,
// rectangles, polygons, data symbols, 3-D bars, text fitted into a rectangle).
#pragma once

#include <cstdint>

#include "charts/zcolor.h"
#include "platform/gdi.h"

// The modes of zAlignText; any other value leaves the alignment as it is.
enum zTextAlignment : int {
    zAlignRightTop = 0,        // right edge of the text at x, its top at y
    zAlignLeftTop = 1,         // left edge at x, top at y
    zAlignCentreBaseline = 2,  // centred on x, baseline at y
};

// The marker shapes of zDraw_Symbol. Every other kind draws the character whose code is its
// low byte, so the asterisk and plus characters are kinds too.
enum zSymbolKind : int {
    zSymbolPlus = 1,  // a filled plus sign
    zSymbolOctagon = 2,
    zSymbolDiamond = 4,
    zSymbolTriangleUp = 30,
    zSymbolTriangleDown = 31,
    zSymbolSquare = 254,    // inset by one pixel
    zSymbolAsterisk = '*',  // characters of the device font
    zSymbolPlusCharacter = '+',
};

// The base of every graph. The graph classes derived from it fill in the device context,
// rectangles, colours and styles and draw with the primitives; nothing outside the hierarchy
// reaches into its state.
class zLowLevelGraphics {
public:
    zLowLevelGraphics();
    // Releases nothing: the graph's terminating step deletes the pens and brushes.
    ~zLowLevelGraphics() = default;

    // Pens, brushes and colour selection.
    void zActivatePens();
    void zDeletePens();
    void zActivateBrushes();
    void zDeleteBrushes();
    void zSelectAxisColor();
    void zSelectGraphColor(int k);
    // The caller deletes the brush.
    HBRUSH zCreateShadingBrush(COLORREF color);
    void zSaveGraphics();
    void zRestoreGraphics();

    // Primitives.
    void zMoveTo(int x, int y);
    void zLineTo(int x, int y);
    void zDrawLine(int x1, int y1, int x2, int y2);
    void zDrawRect(const RECT *r);
    void zDrawRect(int left, int top, int right, int bottom);
    // Filled with the brush and outlined with the pen (ALTERNATE rule); the context's own pen
    // and brush are selected again afterwards.
    void zDrawPolygon(const POINT *points, int count, HBRUSH brush, HPEN pen);
    void zDrawFilledRect(int left, int top, int right, int bottom, unsigned char red,
                         unsigned char green, unsigned char blue);
    void zDrawCircle(int x, int y, int r, double aspect);
    void zDrawTextString(int x, int y, const char *text);
    void zSetPixel(int x, int y, COLORREF color);
    void zAlignText(int mode);  // a zTextAlignment
    int zTextWidth(const char *text);
    int zTextHeight(const char *text);
    void zGetDefaultTextSize();
    int zRectWidth(const RECT *r);
    int zRectHeight(const RECT *r);
    POINT zRectCenter(const RECT *r);
    void zSetRect(RECT *r, int left, int top, int right, int bottom);

    // Composite shapes.
    void zDraw_Symbol(unsigned x, unsigned y, int kind,
                      int k);  // kind: a zSymbolKind or a character
    void zDraw3DBar(int left, int top, int right, int bottom, int depth, HBRUSH brush, HPEN pen);
    void zDrawWedge(POINT p1, POINT p2, POINT p3, POINT p4, POINT p5, POINT p6, HBRUSH brush,
                    HPEN pen, int sides);
    void zShowStringInRect(const char *sizingText, const char *text, RECT *r, int useCharHeight,
                           int alwaysNewFont);

protected:
    RECT RWindow;                 // rectangle the graph occupies
    RECT RWork;                   // scratch rectangle of the background fill and the layout
    std::int32_t bPensActive;     // pens have been created
    std::int32_t bBrushesActive;  // brushes have been created
    COLORREF AxisColor;           // axes, frame, grid and text
    COLORREF BkgColor;
    COLORREF GraphColors[10];   // data sets 0..9
    std::int32_t ShadeShift;    // right shift that darkens side faces
    COLORREF CurrentColor;      // the colour last selected for drawing
    std::int32_t AveCharWidth;  // of the device context's font, pixels
    std::int32_t CharHeight;
    std::int32_t PenStyle;    // grid pen: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
    std::int32_t BrushStyle;  // data-set brushes: 1 hatched, 2 patterned, otherwise solid
    HDC hDC;
    HBITMAP hPatternBitmaps[10];  // only while the pattern brushes are made
    HBRUSH hBrushes[10];
    HGDIOBJ hOldPen, hOldBrush, hOldFont;  // selected before the graph started
    HRGN hOldClipRgn;  // clip box of the device context while data are drawn clipped
    HPEN hPens[10];
    HPEN hAxisPen;  // solid, one pixel, AxisColor
    HPEN hGridPen;  // PenStyle, one pixel, AxisColor
    HRGN hClipRgn;  // the axes while data are drawn

private:
    void zDrawShadedFace(const POINT *points, HBRUSH brush, HPEN pen);
};

// The library's error box: no owner, captioned "Error", exclamation icon, OK button.
int zDisplayError(const char *text);
// 1: the wait cursor replaces the current one; 0: the replaced cursor comes back.
void HOURGLASS(int on);
