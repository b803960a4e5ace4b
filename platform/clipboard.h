// The clipboard, for pictures and text: a bitmap put there is offered to other programs as an
// image, a text block as plain text. Qt-free.
#pragma once

#include <cstddef>

#include "platform/win32types.h"

typedef void *HANDLE;
typedef void *HGLOBAL;
enum : UINT { CF_TEXT = 1, CF_BITMAP = 2 };

// Movable memory blocks, the way text reaches the clipboard: allocate, lock to fill, unlock,
// then hand the block to SetClipboardData. GMEM_MOVEABLE is the one kind; the bytes start
// zeroed.
enum : UINT { GMEM_MOVEABLE = 0x0002 };
HGLOBAL GlobalAlloc(UINT uFlags, std::size_t dwBytes);
// The block's bytes (null for a handle that is not a live block); each lock needs an unlock.
LPVOID GlobalLock(HGLOBAL hMem);
// FALSE once the block is no longer locked.
BOOL GlobalUnlock(HGLOBAL hMem);
// Null when the block is freed; the handle back for one that is not a live block.
HGLOBAL GlobalFree(HGLOBAL hMem);

// The clipboard is opened for one window at a time; FALSE while another window has it open.
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
// Empties the clipboard (it must be open); the bitmap and text block it held are freed.
BOOL EmptyClipboard();
// Puts a bitmap (CF_BITMAP) or a memory block holding a NUL-ended text (CF_TEXT) on the open
// clipboard, which then owns it: the caller must not delete or free it. Returns the handle,
// or null for another format, a wrong handle or a clipboard that is not open.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// The bitmap or text block on the clipboard (still owned by it), or null.
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
