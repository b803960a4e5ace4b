#include "platform/paint.h"

#include <cstring>

#include "platform/gdi_qt.h"
#include "platform/qt_convert.h"
#include "platform/router.h"

HDC BeginPaint(HWND hwnd, PAINTSTRUCT *ps)
{
    if (!window_live(hwnd) || !ps) return nullptr;
    std::memset(ps, 0, sizeof *ps);
    PaintTarget *target = paint_target_for(hwnd);
    HDC dc = nullptr;
    if (target) {
        dc = dc_create_for_painter(target->painter, target->size.width(), target->size.height());
        if (dc) dc_set_paint_rect(dc, target->dirty);
        ps->rcPaint = toRECT(target->dirty);
    } else {
        dc = dc_create_for_measuring();
    }
    ps->hdc = dc;
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT *ps)
{
    if (!ps || !ps->hdc) return FALSE;
    dc_destroy(ps->hdc);
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (hwnd && !window_live(hwnd)) return nullptr;
    return dc_create_for_measuring();
}

int ReleaseDC(HWND, HDC dc)
{
    if (!dc) return 0;
    dc_destroy(dc);
    return 1;
}
