// The message loop on top of the toolkit's event loop. Toolkit events (paint, input, size)
// reach the window procedures while GetMessageA waits; posted messages and WM_QUIT come out
// of GetMessageA in order. Qt-free.
#pragma once

#include "platform/window.h"

enum : UINT { PM_NOREMOVE = 0x0000, PM_REMOVE = 0x0001 };

// Waits for the next posted message; FALSE (0) when it is WM_QUIT.
BOOL GetMessageA(MSG *lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
// Handles waiting toolkit events, then looks for a posted message without waiting.
BOOL PeekMessageA(MSG *lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// Keys arrive already translated: nothing to do.
BOOL TranslateMessage(const MSG *lpMsg);
LRESULT DispatchMessageA(const MSG *lpMsg);
BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int nExitCode);
