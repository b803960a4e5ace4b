#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <cstring>
#include <set>
#include <vector>

#include "platform/gdi_qt.h"
#include "platform/window_internal.h"

namespace {

struct GlobalBlock {
    std::vector<char> bytes;
    int locks = 0;
};
std::set<GlobalBlock *> blocks;  // the live ones

GlobalBlock *live_block(HGLOBAL h)
{
    auto *block = static_cast<GlobalBlock *>(h);
    return blocks.count(block) ? block : nullptr;
}

bool open = false;
HBITMAP held = nullptr;      // the bitmap the clipboard owns
HGLOBAL heldText = nullptr;  // the text block it owns

void release_held()
{
    if (held) DeleteObject(held);
    held = nullptr;
}

void release_held_text()
{
    if (heldText) GlobalFree(heldText);
    heldText = nullptr;
}

// The text of a block up to its first NUL (the whole block when it has none).
QString block_text(const GlobalBlock &block)
{
    const std::size_t size = strnlen(block.bytes.data(), block.bytes.size());
    return QString::fromLatin1(block.bytes.data(), static_cast<qsizetype>(size));
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t size)
{
    auto *block = new GlobalBlock;
    block->bytes.assign(size, '\0');
    blocks.insert(block);
    return block;
}

LPVOID GlobalLock(HGLOBAL h)
{
    GlobalBlock *block = live_block(h);
    if (!block) return nullptr;
    block->locks++;
    return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL h)
{
    GlobalBlock *block = live_block(h);
    if (!block || block->locks == 0) return FALSE;
    return --block->locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL h)
{
    GlobalBlock *block = live_block(h);
    if (!block) return h;
    blocks.erase(block);
    delete block;
    return nullptr;
}

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
    release_held_text();
    if (QGuiApplication::clipboard()) QGuiApplication::clipboard()->clear();
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data)
{
    if (!open) return nullptr;
    if (format == CF_TEXT) {
        const GlobalBlock *block = live_block(data);
        if (!block) return nullptr;
        if (QGuiApplication::clipboard()) QGuiApplication::clipboard()->setText(block_text(*block));
        if (heldText != data) release_held_text();
        heldText = data;
        return data;
    }
    auto bitmap = static_cast<HBITMAP>(data);
    const GdiObject *o = gdi_object(bitmap, OBJ_BITMAP);
    if (format != CF_BITMAP || !o) return nullptr;
    if (QGuiApplication::clipboard())
        QGuiApplication::clipboard()->setImage(o->image.convertToFormat(QImage::Format_RGB32));
    if (held != bitmap) release_held();
    held = bitmap;
    return data;
}

HANDLE GetClipboardData(UINT format)
{
    if (format == CF_TEXT) return live_block(heldText) ? heldText : nullptr;
    return format == CF_BITMAP && gdi_object(held, OBJ_BITMAP) ? held : nullptr;
}

BOOL IsClipboardFormatAvailable(UINT format) { return GetClipboardData(format) ? TRUE : FALSE; }
