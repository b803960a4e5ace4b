#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/gdi_qt.h"
#include "platform/window_internal.h"

namespace {

bool open = false;
HBITMAP held = nullptr;  // the bitmap the clipboard owns

void release_held()
{
    if (held) DeleteObject(held);
    held = nullptr;
}

}  // namespace

BOOL OpenClipboard(HWND)
{
    if (open) return FALSE;
    open = true;
    return TRUE;
}

BOOL CloseClipboard()
{
    if (!open) return FALSE;
    open = false;
    return TRUE;
}

BOOL EmptyClipboard()
{
    if (!open) return FALSE;
    release_held();
    if (QGuiApplication::clipboard()) QGuiApplication::clipboard()->clear();
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data)
{
    auto bitmap = static_cast<HBITMAP>(data);
    const GdiObject *o = gdi_object(bitmap, OBJ_BITMAP);
    if (!open || format != CF_BITMAP || !o) return nullptr;
    if (QGuiApplication::clipboard())
        QGuiApplication::clipboard()->setImage(o->image.convertToFormat(QImage::Format_RGB32));
    if (held != bitmap) release_held();
    held = bitmap;
    return data;
}

HANDLE GetClipboardData(UINT format)
{
    return format == CF_BITMAP && gdi_object(held, OBJ_BITMAP) ? held : nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) { return GetClipboardData(format) ? TRUE : FALSE; }
