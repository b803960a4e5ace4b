// Named resources of the program: bitmaps here; menus in menu.h, cursors and icons in
// cursor.h. How they are stored is described in resources/README.md. Qt-free.
#pragma once

#include "platform/win32types.h"

// A colour bitmap made from the named image resource; null when there is none.
HBITMAP LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName);
