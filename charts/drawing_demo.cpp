#include "charts/drawing_demo.h"

#include <cstring>
#include <string>

#include "charts/zlowlevel_open.h"

namespace {

// Ten clearly different data-set colours from the program's table.
const int kSetColours[10] = {12, 9, 28, 13, 51, 29, 4, 30, 26, 31};

void set_up(zOpenGraphics &g, HDC hdc, int brushStyle, int penStyle)
{
    g.hDC = hdc;
    g.RWindow = RECT{0, 0, kDrawingDemoWidth, kDrawingDemoHeight};
    g.AxisColor = RGB_color(0);
    g.BkgColor = RGB_color(15);
    for (int k = 0; k < 10; ++k) g.GraphColors[k] = RGB_color(kSetColours[k]);
    g.BrushStyle = brushStyle;
    g.PenStyle = penStyle;
    g.ShadeShift = 1;
    g.zGetDefaultTextSize();
}

void release(zOpenGraphics &g)
{
    g.zDeletePens();
    g.zDeleteBrushes();
}

// A caption in the context's current font, black, its top-left corner at (x, y).
void caption(HDC hdc, int x, int y, const std::string &text)
{
    const UINT oldAlign = SetTextAlign(hdc, TA_LEFT | TA_TOP);
    const COLORREF oldColour = SetTextColor(hdc, RGB_color(0));
    TextOutA(hdc, x, y, text.c_str(), static_cast<int>(text.size()));
    SetTextColor(hdc, oldColour);
    SetTextAlign(hdc, oldAlign);
}

void draw_symbols(zOpenGraphics &g)
{
    static const int kinds[9] = {zSymbolPlus,       zSymbolOctagon,       zSymbolDiamond,
                                 zSymbolTriangleUp, zSymbolTriangleDown,  zSymbolSquare,
                                 zSymbolAsterisk,   zSymbolPlusCharacter, 'o'};
    caption(g.hDC, 12, 44, "Symbols (kind), character width 16:");
    const int savedWidth = g.AveCharWidth;
    g.AveCharWidth = kDemoSymbolSize;
    for (int i = 0; i < 9; ++i) {
        const int x = kDemoSymbolX0 + kDemoSymbolStep * i;
        g.zSelectGraphColor(i);
        g.zDraw_Symbol(static_cast<unsigned>(x), static_cast<unsigned>(kDemoSymbolY), kinds[i], i);
        g.zSelectAxisColor();
        g.zAlignText(zAlignCentreBaseline);
        g.zDrawTextString(x, kDemoSymbolY + 38, std::to_string(kinds[i]).c_str());
        g.zAlignText(zAlignLeftTop);
    }
    g.AveCharWidth = savedWidth;
}

// One row of swatches, one per data set, filled with the graph's brushes.
void draw_brush_row(zOpenGraphics &g, int y, int count, const char *title)
{
    caption(g.hDC, 12, y + 12, title);
    for (int k = 0; k < count; ++k) {
        const int x = 110 + 62 * k;
        g.zSelectGraphColor(k);
        g.zDraw3DBar(x, y, x + 52, y + 36, 0, g.hBrushes[k], g.hAxisPen);
    }
}

void draw_pen_styles(HDC hdc)
{
    static const char *names[5] = {"0 solid", "1 dash", "2 dot", "3 dash-dot", "4 dash-dot-dot"};
    caption(hdc, 12, 256, "Grid pens:");
    for (int style = 0; style < 5; ++style) {
        zOpenGraphics g;
        set_up(g, hdc, 0, style);
        g.zActivatePens();
        const int y = 264 + 16 * style;
        SelectObject(hdc, g.hGridPen);
        g.zDrawLine(110, y, 410, y);
        g.zSelectAxisColor();
        caption(hdc, 420, y - 7, names[style]);
        release(g);
    }
}

void draw_bars_and_circles(zOpenGraphics &g)
{
    caption(g.hDC, 530, 256, "3-D bars (depth 10, 0):");
    g.zActivateBrushes();
    for (int k = 0; k < 3; ++k) {
        const int x = 530 + 50 * k;
        g.zDraw3DBar(x, 320 - 15 * k, x + 30, 380, 10, g.hBrushes[k], g.hAxisPen);
    }
    g.zDraw3DBar(690, 330, 720, 380, 0, g.hBrushes[3], g.hAxisPen);

    caption(g.hDC, 12, 350, "Circles (aspect 1, 0.5, 1.5):");
    g.zSelectAxisColor();
    g.zDrawCircle(260, 382, 24, 1.0);
    g.zDrawCircle(330, 382, 24, 0.5);
    g.zDrawCircle(400, 382, 16, 1.5);
}

struct TextCase {
    RECT rect;
    const char *sizing;
    const char *text;
    int useCharHeight, alwaysNewFont;
    const char *title;
};

void draw_text_cases(zOpenGraphics &g)
{
    const TextCase cases[] = {
        {{20, 440, 220, 480}, "Fits", "Fits", 0, 0, "fits: current font"},
        {{240, 440, 440, 480}, "ABCDE", "ABCDE", 0, 1, "new font 40 high, 24 wide"},
        {{460, 440, 740, 480},
         "Pupil Phase Contour Map, RMS 0.123 wv.",
         "Pupil Phase Contour Map, RMS 0.123 wv.",
         0,
         1,
         "38 characters: 40 high, 7 wide"},
        {{20, 530, 120, 550}, "AAAAAAAAAAAA", "Legend entry", 1, 0, "too narrow: character height"},
        {{240, 520, 440, 560}, "", "Empty sizing text", 0, 1, "empty sizing text: width 1"},
        {{460, 520, 740, 560},
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
         "Shared size",
         0,
         1,
         "sized for the longest title"},
    };
    caption(g.hDC, 12, 404, "Text in a rectangle (frame drawn around each):");
    for (const TextCase &c : cases) {
        RECT r = c.rect;
        caption(g.hDC, r.left, r.top - 16, c.title);
        g.zDrawRect(&r);
        g.zShowStringInRect(c.sizing, c.text, &r, c.useCharHeight, c.alwaysNewFont);
    }
}

}  // namespace

void zDrawingLayerDemonstration(HDC hdc)
{
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    const COLORREF oldText = GetTextColor(hdc);
    const UINT oldAlign = GetTextAlign(hdc);

    zOpenGraphics page;
    set_up(page, hdc, 0, 0);
    page.zSaveGraphics();
    const RECT all{0, 0, kDrawingDemoWidth, kDrawingDemoHeight};
    FillRect(hdc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT title{180, 4, 580, 34};
    page.zShowStringInRect("Drawing layer", "Drawing layer", &title, 0, 1);
    page.zAlignText(zAlignLeftTop);

    draw_symbols(page);
    caption(hdc, 12, 106, "Brushes:");
    draw_brush_row(page, 122, 10, "solid");

    zOpenGraphics hatched;
    set_up(hatched, hdc, 1, 0);
    draw_brush_row(hatched, 166, 6, "hatched");
    release(hatched);

    zOpenGraphics patterned;
    set_up(patterned, hdc, 2, 0);
    draw_brush_row(patterned, 210, 10, "patterns");
    release(patterned);

    draw_pen_styles(hdc);
    draw_bars_and_circles(page);
    draw_text_cases(page);

    page.zRestoreGraphics();
    release(page);
    SetTextAlign(hdc, oldAlign);
    SetTextColor(hdc, oldText);
    SetBkMode(hdc, oldMode);
}
