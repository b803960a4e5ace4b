// The standard scroll bars of a window (WS_VSCROLL / WS_HSCROLL) and scrolling of the client
// area. The bars never move by themselves: each user action sends WM_VSCROLL or WM_HSCROLL
// (request in the low word of wParam, thumb position in the high word) and the thumb moves
// when the procedure calls SetScrollPos. A bar whose range is empty (min == max) is hidden.
// Qt-free.
#pragma once

#include "platform/window.h"

BOOL SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
BOOL GetScrollRange(HWND hWnd, int nBar, int *lpMinPos, int *lpMaxPos);
// Clamps to the range; returns the previous position.
int SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);
int GetScrollPos(HWND hWnd, int nBar);
BOOL ShowScrollBar(HWND hWnd, int wBar, BOOL bShow);
// Moves the client contents by (XAmount, YAmount) pixels and repaints the uncovered strip.
BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT *lpRect, const RECT *lpClipRect);
