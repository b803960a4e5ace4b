// Modal dialogs run from named dialog templates. Qt-free.
#pragma once

#include "platform/window.h"

// Runs the dialog template lpTemplateName modally over hWndParent with lpDialogFunc as its
// procedure (WM_INITDIALOG receives dwInitParam) and returns the value given to EndDialog,
// or -1 when the template does not exist.
INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam);
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
