// Small helpers of the main window shared with the dialogs.
#pragma once

#include "platform/win32.h"

// Caption "Orvinta - <title>", or "Orvinta - Orvinta: Diffraction ..." without a title.
void DoCaption(HWND window, const char *szTitleName);
// A box captioned "Orvinta" with the exclamation icon; format takes the file title (or the
// default title when it is empty) as its one text argument.
void OkMessage(HWND window, const char *szMessage, const char *szTitleName);
// Moves the window, keeping its size, so that it sits in the middle of the screen.
void CenterWindow(HWND window);
