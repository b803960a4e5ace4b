// The status window: one line of text along the bottom of a top-level window, Qt-free.
#pragma once

#include "platform/win32types.h"
#include "platform/window.h"

enum : UINT {
    SB_SETTEXTA = WM_USER + 1,  // lParam: the text (part 0 only); returns TRUE
    SB_GETTEXTA = WM_USER + 2,  // lParam: a buffer long enough; returns the text's length
    SB_GETTEXTLENGTHA = WM_USER + 12,
};
#define SB_SETTEXT SB_SETTEXTA
#define SB_GETTEXT SB_GETTEXTA
#define STATUSCLASSNAME "msctls_statusbar32"

// A status window at the bottom of parent (a top-level window), showing text, or null when
// parent is no top-level window or has one already. It is destroyed with its parent.
HWND CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id);
