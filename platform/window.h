// Window classes, windows and messages: the USER half of the platform, with Win32 names,
// types and argument orders. Qt-free.
#pragma once

#include "platform/win32types.h"

typedef WORD ATOM;
typedef std::intptr_t LONG_PTR;

// Messages beyond the common set of win32types.h.
enum : UINT {
    WM_NULL = 0x0000,
    WM_MOVE = 0x0003,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018,
    WM_SETCURSOR = 0x0020,
    WM_CONTEXTMENU = 0x007B,  // wParam: the window; lParam: screen x, y
    WM_NCDESTROY = 0x0082,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_MOUSELEAVE = 0x02A3,  // the pointer left the client area
    WM_USER = 0x0400,
};

// WM_SIZE kinds (wParam).
enum : int { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };
// Mouse key flags (wParam of mouse messages).
enum : WPARAM { MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008 };

// GetWindowLongA indices.
enum : int {
    GWL_WNDPROC = -4,
    GWL_HINSTANCE = -6,
    GWL_HWNDPARENT = -8,
    GWL_ID = -12,
    GWL_STYLE = -16,
    GWL_EXSTYLE = -20,
    GWL_USERDATA = -21
};

// SetWindowPos flags and z-order handles.
enum : UINT {
    SWP_NOSIZE = 0x0001,
    SWP_NOMOVE = 0x0002,
    SWP_NOZORDER = 0x0004,
    SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010,
    SWP_SHOWWINDOW = 0x0040,
    SWP_HIDEWINDOW = 0x0080,
};
#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_BOTTOM (reinterpret_cast<HWND>(1))

enum : int { SW_HIDE = 0, SW_MINIMIZE = 6, SW_RESTORE = 9, SW_SHOWDEFAULT = 10 };

// System metrics beyond the screen size.
enum : int { SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4, SM_CYMENU = 15 };

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

// lParam of WM_CREATE points to one of these.
struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy, cx, y, x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

// The one program instance (argument of WinMain, owner of every class and resource).
HINSTANCE GetModuleHandleA(LPCSTR lpModuleName);

// Classes. A class name is unique; registering it twice fails (returns 0).
ATOM RegisterClassA(const WNDCLASSA *lpWndClass);
BOOL UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance);

// Windows. A window without WS_CHILD is a top-level frame with an optional menu bar; its
// client area hosts child windows. A child with WS_CAPTION is a framed child window (caption,
// system menu, the boxes its style asks for) movable inside the parent's client area; other
// children are plain rectangles (controls). WS_VSCROLL / WS_HSCROLL add standard scroll bars.
// WM_CREATE is sent before the window is shown; a result of -1 fails the creation (null).
HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                     int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                     HINSTANCE hInstance, LPVOID lpParam);
inline HWND CreateWindowA(LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                          int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                          HINSTANCE hInstance, LPVOID lpParam)
{
    return CreateWindowExA(0, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight, hWndParent,
                           hMenu, hInstance, lpParam);
}
// Default processing: WM_CLOSE destroys the window, WM_SETTEXT/WM_GETTEXT set and read the
// caption, input messages fall back to the toolkit's own handling; the rest returns 0.
LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Calls the window procedure at once and returns its result (0 for a dead window).
LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Sends WM_DESTROY to the window, then to its children (deepest last), and removes them all.
BOOL DestroyWindow(HWND hWnd);
BOOL IsWindow(HWND hWnd);
HWND GetParent(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL IsWindowVisible(HWND hWnd);
BOOL UpdateWindow(HWND hWnd);
BOOL InvalidateRect(HWND hWnd, const RECT *lpRect, BOOL bErase);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);
HWND SetFocus(HWND hWnd);
HWND GetFocus();

// Geometry. Client rectangles start at (0, 0); window rectangles are in screen coordinates.
// MoveWindow and SetWindowPos place a child relative to its parent's client area.
BOOL GetClientRect(HWND hWnd, RECT *lpRect);
// Client coordinates of a window to screen coordinates.
BOOL ClientToScreen(HWND hWnd, POINT *lpPoint);
BOOL GetWindowRect(HWND hWnd, RECT *lpRect);
BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
BOOL BringWindowToTop(HWND hWnd);
// The visible child of a window that lies on top of the others (null when it has none).
HWND GetTopWindow(HWND hWnd);

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString);
int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
int GetWindowTextLengthA(HWND hWnd);

LONG_PTR GetWindowLongA(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongA(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
#define GetWindowLongPtrA GetWindowLongA
#define SetWindowLongPtrA SetWindowLongA

// The child with the given id (the hMenu argument of a child's creation).
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
int GetDlgCtrlID(HWND hWnd);

int GetSystemMetrics(int nIndex);

// Formats into a buffer of at least 1024 characters (the classic bound), returns the length.
int wsprintfA(LPSTR buffer, LPCSTR format, ...);

// The name of a file without its directory, copied to lpszTitle. Returns 0 on success, the
// size needed (terminator included) when cchSize is too small, -1 for an empty or bad path.
short GetFileTitleA(LPCSTR lpszFile, LPSTR lpszTitle, WORD cchSize);
