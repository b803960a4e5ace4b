// Cursors and icons: the program's own (loaded from the resources by name) and the stock
// ones (loaded with a null instance and an IDC_ / IDI_ id). Qt-free.
#pragma once

#include "platform/win32types.h"

#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)

// Null when the resource does not exist. Stock cursors and icons are shared: destroying one
// does nothing.
HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);
BOOL DestroyCursor(HCURSOR hCursor);
BOOL DestroyIcon(HICON hIcon);

// Shows the cursor over the whole program until the next SetCursor (the arrow gives the
// pointer back to the windows); returns the previous one.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
// Display counter: the cursor shows while it is 0 or more. Returns the new count.
int ShowCursor(BOOL bShow);
BOOL SetCursorPos(int X, int Y);
BOOL GetCursorPos(POINT *lpPoint);
