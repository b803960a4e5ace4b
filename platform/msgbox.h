// Message boxes and beeps. Qt-free.
#pragma once

#include "platform/win32types.h"

enum : UINT {
    MB_OKCANCEL = 0x00000001,
    MB_YESNOCANCEL = 0x00000003,
    MB_YESNO = 0x00000004,
    MB_TYPEMASK = 0x0000000F,
    MB_ICONMASK = 0x000000F0
};
enum : int { IDYES = 6, IDNO = 7 };

// A modal box owned by hWnd (or by nobody) with the text, caption (null: "Error"), icon and
// buttons of uType. Returns the id of the button pressed (IDOK, IDCANCEL, IDYES, IDNO).
int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
// While a sink is set, message boxes are not shown: each goes to sink(caption, text) and is
// answered IDOK, so that a job without a user (the batch job) reports them and goes on.
void SetMessageBoxSink(void (*sink)(LPCSTR caption, LPCSTR text));
// The default beep (or the sound for an icon type).
BOOL MessageBeep(UINT uType);
