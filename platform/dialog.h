// Modal dialogs run from named dialog templates, and their controls addressed by id. Qt-free.
#pragma once

#include "platform/window.h"

// Button notification (high word of WM_COMMAND's wParam) and dialog styles.
enum : WORD { BN_CLICKED = 0 };
// Every control takes WM_SETFONT: wParam is the HFONT its text is shown in (null for the
// dialog's own), lParam whether to redraw now.
enum : UINT { WM_SETFONT = 0x0030 };
// A list box's messages. LB_ADDSTRING appends lParam (a text) and returns its index;
// LB_GETTEXT copies row wParam into lParam, a buffer of at least LB_GETTEXTLEN + 1 characters,
// and returns its length; each returns LB_ERR for a row that does not exist.
enum : UINT {
    LB_ADDSTRING = 0x0180,
    LB_RESETCONTENT = 0x0184,
    LB_GETTEXT = 0x0189,
    LB_GETTEXTLEN = 0x018A,
    LB_GETCOUNT = 0x018B,
};
enum : int { LB_ERR = -1 };
enum : DWORD { WS_TABSTOP = 0x00010000, WS_GROUP = 0x00020000 };

// Runs the dialog template lpTemplateName modally over hWndParent with lpDialogFunc as its
// procedure and returns the value given to EndDialog, or -1 when the template does not exist.
// WM_INITDIALOG carries the first control that takes the focus (wParam) and dwInitParam
// (lParam); when the procedure returns TRUE that control gets the focus. Buttons, Enter (the
// default button, id 1 in every template, or the focused push button) and Escape (IDCANCEL)
// arrive as WM_COMMAND with the control id in the low word of wParam.
INT_PTR DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                        DLGPROC lpDialogFunc, LPARAM dwInitParam);
// Marks the dialog to close with nResult once its procedure returns.
BOOL EndDialog(HWND hDlg, INT_PTR nResult);

// Text of any control: what an edit field holds, the label of a button or a static. The
// copy is cut to nMaxCount - 1 characters; returns its length.
UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int nMaxCount);
BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString);
// The whole text as a decimal integer (leading and trailing spaces allowed, a minus sign
// only when bSigned); *lpTranslated is FALSE and the result 0 for anything else.
UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL *lpTranslated, BOOL bSigned);
BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned);
// SendMessageA to the control nIDDlgItem (0 when there is none).
LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
// Check boxes and radio buttons.
BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
// Checks nIDCheckButton and clears every other button with an id from nIDFirstButton to
// nIDLastButton.
BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
