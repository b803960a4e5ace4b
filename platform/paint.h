// Device contexts of windows: the paint context of WM_PAINT and the context for measuring
// text outside a paint. Drawing calls are in gdi.h. Qt-free.
#pragma once

#include "platform/gdi.h"
#include "platform/window.h"

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;  // the part of the client area to repaint
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

// Inside WM_PAINT: a context that draws on the client area, clipped to the part that needs
// repainting. Outside a paint (a message sent by hand) the context draws nothing.
HDC BeginPaint(HWND hWnd, PAINTSTRUCT *lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT *lpPaint);
// A context in the window's default font for measuring text. Drawing through it shows
// nothing: windows draw in WM_PAINT (InvalidateRect asks for one).
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);
