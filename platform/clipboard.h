// The clipboard, for pictures: a bitmap put there is offered to other programs as an image.
// Qt-free.
#pragma once

#include "platform/win32types.h"

typedef void *HANDLE;
enum : UINT { CF_BITMAP = 2 };

// The clipboard is opened for one window at a time; FALSE while another window has it open.
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
// Empties the clipboard (it must be open); the bitmap it held is deleted.
BOOL EmptyClipboard();
// Puts a bitmap on the open clipboard, which then owns it: the caller must not delete it.
// Returns the handle, or null for another format or a clipboard that is not open.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// The bitmap on the clipboard (still owned by it), or null.
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
