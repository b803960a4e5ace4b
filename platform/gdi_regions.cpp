// Rectangular clip regions and logical palettes. The surfaces are true colour, so a palette
// only matters for PALETTEINDEX colours; realising it maps every entry to itself.
#include "platform/gdi_qt.h"
#include "platform/qt_convert.h"

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    auto *o = new GdiObject;
    o->type = OBJ_REGION;
    // A region is normalised: the corners may come in any order.
    o->rect = QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                    QPoint(std::max(left, right) - 1, std::max(top, bottom) - 1));
    return gdi_handle<HRGN>(gdi_register(o));
}

HRGN CreateRectRgnIndirect(const RECT *lprect)
{
    return lprect ? CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom)
                  : nullptr;
}

namespace {

QRect clip_box(const HDC__ *dc)
{
    return dc->hasClip ? dc->clip.intersected(dc->paintRect) : dc->paintRect;
}

void apply_clip(HDC__ *dc)
{
    if (!dc->painter) return;
    if (dc->hasClip)
        dc->painter->setClipRect(dc->clip);
    else
        dc->painter->setClipping(false);
}

}  // namespace

int GetClipBox(HDC hdc, RECT *lprect)
{
    if (!dc_valid(hdc) || !lprect) return RGN_ERROR;
    const QRect box = clip_box(reinterpret_cast<const HDC__ *>(hdc));
    if (box.isEmpty()) {
        *lprect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    *lprect = toRECT(box);
    return SIMPLEREGION;
}

int SelectClipRgn(HDC hdc, HRGN hrgn)
{
    if (!dc_valid(hdc)) return RGN_ERROR;
    auto *dc = reinterpret_cast<HDC__ *>(hdc);
    if (!hrgn) {
        dc->hasClip = false;
    } else {
        const GdiObject *region = gdi_object(hrgn, OBJ_REGION);
        if (!region) return RGN_ERROR;
        dc->hasClip = true;
        dc->clip = region->rect;  // a copy: the caller may delete the region at once
    }
    apply_clip(dc);
    return clip_box(dc).isEmpty() ? NULLREGION : SIMPLEREGION;
}

HPALETTE CreatePalette(const LOGPALETTE *plpal)
{
    if (!plpal || plpal->palNumEntries == 0) return nullptr;
    auto *o = new GdiObject;
    o->type = OBJ_PAL;
    o->entries.assign(plpal->palPalEntry, plpal->palPalEntry + plpal->palNumEntries);
    return gdi_handle<HPALETTE>(gdi_register(o));
}

UINT RealizePalette(HDC hdc)
{
    if (!dc_valid(hdc)) return static_cast<UINT>(GDI_ERROR);
    const GdiObject *pal = gdi_object(reinterpret_cast<HDC__ *>(hdc)->palette, OBJ_PAL);
    return pal ? static_cast<UINT>(pal->entries.size()) : 0;
}
