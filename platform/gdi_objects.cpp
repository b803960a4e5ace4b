// GDI objects: creation, the stock set, the registry that makes leaks and stale handles
// visible, selection into device contexts and deletion.
#include <cstring>
#include <unordered_set>

#include "platform/gdi_qt.h"
#include "platform/qt_convert.h"

namespace {

std::unordered_set<GdiObject *> &live_objects()
{
    static std::unordered_set<GdiObject *> objects;
    return objects;
}

std::unordered_set<GdiObject *> &stock_objects()
{
    static std::unordered_set<GdiObject *> objects;
    return objects;
}

std::unordered_set<HDC__ *> &live_dcs()
{
    static std::unordered_set<HDC__ *> dcs;
    return dcs;
}

GdiObject *make_stock(UINT type)
{
    auto *o = new GdiObject;
    o->type = type;
    o->stock = true;
    return o;
}

GdiObject *stock_pen(int style, COLORREF color)
{
    GdiObject *o = make_stock(OBJ_PEN);
    o->penStyle = style;
    o->color = color;
    return o;
}

GdiObject *stock_brush(UINT style, COLORREF color)
{
    GdiObject *o = make_stock(OBJ_BRUSH);
    o->brushStyle = style;
    o->color = color;
    return o;
}

// The stock objects live for the whole run; index = the GetStockObject number.
GdiObject *stock_object(int i)
{
    static GdiObject *table[17] = {};
    if (i < 0 || i > 16 || i == 9) return nullptr;
    if (!table[i]) {
        switch (i) {
        case WHITE_BRUSH: table[i] = stock_brush(BS_SOLID, RGB(255, 255, 255)); break;
        case LTGRAY_BRUSH: table[i] = stock_brush(BS_SOLID, RGB(192, 192, 192)); break;
        case GRAY_BRUSH: table[i] = stock_brush(BS_SOLID, RGB(128, 128, 128)); break;
        case DKGRAY_BRUSH: table[i] = stock_brush(BS_SOLID, RGB(64, 64, 64)); break;
        case BLACK_BRUSH: table[i] = stock_brush(BS_SOLID, RGB(0, 0, 0)); break;
        case NULL_BRUSH: table[i] = stock_brush(BS_NULL, 0); break;
        case WHITE_PEN: table[i] = stock_pen(PS_SOLID, RGB(255, 255, 255)); break;
        case BLACK_PEN: table[i] = stock_pen(PS_SOLID, RGB(0, 0, 0)); break;
        case NULL_PEN: table[i] = stock_pen(PS_NULL, 0); break;
        case DEFAULT_PALETTE: {
            // The 16 classic display colours.
            static const BYTE rgb[16][3] = {
                {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
            };
            table[i] = make_stock(OBJ_PAL);
            for (const auto &c : rgb)
                table[i]->entries.push_back(PALETTEENTRY{c[0], c[1], c[2], 0});
            break;
        }
        default: table[i] = gdi_stock_font(i); break;
        }
        stock_objects().insert(table[i]);
    }
    return table[i];
}

}  // namespace

HGDIOBJ gdi_register(GdiObject *object)
{
    live_objects().insert(object);
    return reinterpret_cast<HGDIOBJ>(object);
}

GdiObject *gdi_any_object(HGDIOBJ h)
{
    auto *o = reinterpret_cast<GdiObject *>(h);
    if (!o) return nullptr;
    if (live_objects().count(o)) return o;
    return stock_objects().count(o) ? o : nullptr;
}

GdiObject *gdi_object(HGDIOBJ h, UINT type)
{
    GdiObject *o = gdi_any_object(h);
    return o && o->type == type ? o : nullptr;
}

int GdiLiveObjectCount() { return static_cast<int>(live_objects().size()); }
int GdiLiveDCCount() { return static_cast<int>(live_dcs().size()); }

bool dc_valid(HDC hdc) { return hdc && live_dcs().count(reinterpret_cast<HDC__ *>(hdc)); }

HDC dc_register(HDC__ *dc)
{
    live_dcs().insert(dc);
    HDC h = reinterpret_cast<HDC>(dc);
    SelectObject(h, GetStockObject(BLACK_PEN));
    SelectObject(h, GetStockObject(WHITE_BRUSH));
    SelectObject(h, GetStockObject(SYSTEM_FONT));
    SelectPalette(h, gdi_handle<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    return h;
}

void dc_release(HDC hdc)
{
    if (!dc_valid(hdc)) return;
    auto *dc = reinterpret_cast<HDC__ *>(hdc);
    for (HGDIOBJ h : {dc->pen, dc->brush, dc->font, dc->palette})
        if (GdiObject *o = gdi_any_object(h)) --o->selections;
    live_dcs().erase(dc);
    delete dc->record;
    delete dc;
}

QColor gdi_color(const HDC__ *dc, COLORREF c)
{
    if ((c >> 24) == 0x01) {  // palette index
        const GdiObject *pal = dc ? gdi_object(dc->palette, OBJ_PAL) : nullptr;
        const unsigned index = c & 0xFFFF;
        if (pal && index < pal->entries.size()) {
            const PALETTEENTRY &e = pal->entries[index];
            return QColor(e.peRed, e.peGreen, e.peBlue);
        }
        return QColor(0, 0, 0);
    }
    return toQColor(c & 0x00FFFFFF);
}

// ---- Creation -------------------------------------------------------------------------------

HPEN CreatePen(int iStyle, int cWidth, COLORREF color)
{
    if (iStyle < PS_SOLID || iStyle > PS_NULL || cWidth < 0) return nullptr;
    auto *o = new GdiObject;
    o->type = OBJ_PEN;
    o->penStyle = iStyle;
    o->penWidth = cWidth;
    o->color = color;
    return gdi_handle<HPEN>(gdi_register(o));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    auto *o = new GdiObject;
    o->type = OBJ_BRUSH;
    o->brushStyle = BS_SOLID;
    o->color = color;
    return gdi_handle<HBRUSH>(gdi_register(o));
}

HBRUSH CreateHatchBrush(int iHatch, COLORREF color)
{
    if (iHatch < HS_HORIZONTAL || iHatch > HS_DIAGCROSS) return nullptr;
    HBRUSH h = CreateSolidBrush(color);
    GdiObject *o = gdi_any_object(h);
    o->brushStyle = BS_HATCHED;
    o->hatch = iHatch;
    return h;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH *plbrush)
{
    if (!plbrush) return nullptr;
    switch (plbrush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(plbrush->lbColor);
    case BS_HATCHED: return CreateHatchBrush(static_cast<int>(plbrush->lbHatch), plbrush->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(plbrush->lbHatch));
    case BS_NULL: {
        auto *o = new GdiObject;
        o->type = OBJ_BRUSH;
        o->brushStyle = BS_NULL;
        return gdi_handle<HBRUSH>(gdi_register(o));
    }
    default: return nullptr;
    }
}

HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void *lpBits)
{
    if (nWidth <= 0 || nHeight <= 0 || nWidth > 32767 || nHeight > 32767 || nPlanes != 1)
        return nullptr;
    if (nBitCount != 1 && nBitCount != 24 && nBitCount != 32) return nullptr;
    auto *o = new GdiObject;
    o->type = OBJ_BITMAP;
    o->monochrome = nBitCount == 1;
    o->image = QImage(nWidth, nHeight, o->monochrome ? QImage::Format_Mono : QImage::Format_RGB32);
    if (o->image.isNull()) {
        delete o;
        return nullptr;
    }
    o->image.fill(0);
    const auto *bytes = static_cast<const unsigned char *>(lpBits);
    // Rows are padded to a multiple of 16 bits.
    const int stride = ((nWidth * static_cast<int>(nBitCount) + 15) / 16) * 2;
    for (int y = 0; bytes && y < nHeight; ++y) {
        const unsigned char *row = bytes + static_cast<std::size_t>(y) * stride;
        if (o->monochrome) {
            std::memcpy(o->image.scanLine(y), row, static_cast<std::size_t>((nWidth + 7) / 8));
        } else {
            const int step = static_cast<int>(nBitCount) / 8;
            for (int x = 0; x < nWidth; ++x) {
                const unsigned char *p = row + x * step;
                o->image.setPixel(x, y, qRgb(p[2], p[1], p[0]));
            }
        }
    }
    if (o->monochrome) {
        // Format_Mono: bit 1 is colour index 1. Index 0 = "text", 1 = "background".
        o->image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        for (int y = 0; y < 8 && y < nHeight; ++y) o->monoRows[y] = o->image.scanLine(y)[0];
    }
    return gdi_handle<HBITMAP>(gdi_register(o));
}

HBITMAP bitmap_from_qimage(const QImage &image)
{
    if (image.isNull()) return nullptr;
    auto *o = new GdiObject;
    o->type = OBJ_BITMAP;
    o->image = image.convertToFormat(QImage::Format_ARGB32);
    return gdi_handle<HBITMAP>(gdi_register(o));
}

HBRUSH CreatePatternBrush(HBITMAP hbm)
{
    const GdiObject *bitmap = gdi_object(hbm, OBJ_BITMAP);
    if (!bitmap) return nullptr;
    auto *o = new GdiObject;
    o->type = OBJ_BRUSH;
    o->brushStyle = BS_PATTERN;
    o->image = bitmap->image.copy();
    o->monochrome = bitmap->monochrome;
    std::memcpy(o->monoRows, bitmap->monoRows, sizeof o->monoRows);
    return gdi_handle<HBRUSH>(gdi_register(o));
}

HGDIOBJ GetStockObject(int i) { return reinterpret_cast<HGDIOBJ>(stock_object(i)); }

DWORD GetObjectType(HGDIOBJ h)
{
    const GdiObject *o = gdi_any_object(h);
    return o ? o->type : 0;
}

int GetObjectA(HGDIOBJ h, int c, LPVOID pv)
{
    const GdiObject *o = gdi_any_object(h);
    if (!o) return 0;
    auto fill = [&](const auto &value) -> int {
        const int size = static_cast<int>(sizeof value);
        if (!pv) return size;
        if (c < size) return 0;
        std::memcpy(pv, &value, sizeof value);
        return size;
    };
    switch (o->type) {
    case OBJ_BRUSH: {
        LOGBRUSH lb{o->brushStyle, o->brushStyle == BS_PATTERN ? 0 : o->color, 0};
        if (o->brushStyle == BS_HATCHED) lb.lbHatch = static_cast<ULONG_PTR>(o->hatch);
        return fill(lb);
    }
    case OBJ_PEN:
        return fill(LOGPEN{static_cast<UINT>(o->penStyle), POINT{o->penWidth, 0}, o->color});
    case OBJ_FONT: return fill(o->logfont);
    case OBJ_BITMAP: {
        const int bpp = o->monochrome ? 1 : 32;
        BITMAP bm{0,
                  o->image.width(),
                  o->image.height(),
                  ((o->image.width() * bpp + 15) / 16) * 2,
                  1,
                  static_cast<WORD>(bpp),
                  nullptr};
        return fill(bm);
    }
    case OBJ_PAL: return fill(static_cast<WORD>(o->entries.size()));
    default: return 0;
    }
}

BOOL DeleteObject(HGDIOBJ ho)
{
    GdiObject *o = gdi_any_object(ho);
    if (!o) return FALSE;
    if (o->stock) return TRUE;
    if (o->selections > 0) return FALSE;
    live_objects().erase(o);
    delete o;
    return TRUE;
}

// ---- Selection ------------------------------------------------------------------------------

namespace {

HGDIOBJ swap_selected(HGDIOBJ &slot, GdiObject *incoming)
{
    HGDIOBJ previous = slot;
    if (GdiObject *old = gdi_any_object(previous)) --old->selections;
    ++incoming->selections;
    slot = reinterpret_cast<HGDIOBJ>(incoming);
    return previous;
}

}  // namespace

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h)
{
    if (!dc_valid(hdc)) return nullptr;
    GdiObject *o = gdi_any_object(h);
    if (!o) return nullptr;
    auto *dc = reinterpret_cast<HDC__ *>(hdc);
    switch (o->type) {
    case OBJ_PEN: return swap_selected(dc->pen, o);
    case OBJ_BRUSH: return swap_selected(dc->brush, o);
    case OBJ_FONT: return swap_selected(dc->font, o);
    case OBJ_REGION:
        return reinterpret_cast<HGDIOBJ>(
            static_cast<std::intptr_t>(SelectClipRgn(hdc, gdi_handle<HRGN>(h))));
    default: return nullptr;  // bitmaps go into memory contexts only; palettes via SelectPalette
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    if (!dc_valid(hdc)) return nullptr;
    const auto *dc = reinterpret_cast<const HDC__ *>(hdc);
    switch (type) {
    case OBJ_PEN: return dc->pen;
    case OBJ_BRUSH: return dc->brush;
    case OBJ_FONT: return dc->font;
    case OBJ_PAL: return dc->palette;
    default: return nullptr;
    }
}

HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL)
{
    if (!dc_valid(hdc)) return nullptr;
    GdiObject *o = gdi_object(hPal, OBJ_PAL);
    if (!o) return nullptr;
    return gdi_handle<HPALETTE>(swap_selected(reinterpret_cast<HDC__ *>(hdc)->palette, o));
}
