// The program-wide windows and the small helpers that the main window, the views and the
// dialogs share: the main window's handles, the device context of the paint under way, the
// caption, the program's message box and centring a window on the screen.
#pragma once

#include <string>

#include "platform/win32.h"

// Room for a file title (the name without its folder), the end zero included.
constexpr int FILE_TITLE_SIZE = 512;

extern const char szAppName[];       // "Orvinta": class of the main window, its menu and icon
extern const char szDefaultTitle[];  // "Orvinta: Diffraction Point Spread Function of Wavefront"

extern HWND hwnd, mainhwnd;  // both the main window
extern HDC hdc;              // the context of the paint under way, in the main window or a view
extern HWND hwndStatus;      // the main window's status bar, or null

// Puts text on the status bar (an empty text clears it); the bar is told only of a change.
void ShowStatusText(const std::string &text);

// Caption "Orvinta - <title>", or "Orvinta - Orvinta: Diffraction ..." without a title.
void DoCaption(HWND window, const char *szTitleName);
// A box captioned "Orvinta" with the exclamation icon; format takes the file title (or the
// default title when it is empty) as its one text argument.
void OkMessage(HWND window, const char *szMessage, const char *szTitleName);
// Moves the window, keeping its size, so that it sits in the middle of the screen.
void CenterWindow(HWND window);
