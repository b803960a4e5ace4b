// The Win32 base types, structures and constants the program is written against. Handles are
// pointers to opaque structures defined inside platform/; nothing here depends on Qt.
#pragma once

#include <cstdint>

typedef int BOOL;
typedef unsigned int UINT;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef std::uint32_t DWORD;
typedef long LONG;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::intptr_t INT_PTR;
typedef std::uint32_t COLORREF;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef void *LPVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define CALLBACK
#define WINAPI

struct HWND__;
struct HDC__;
struct HMENU__;
struct HCURSOR__;
struct HINSTANCE__;
typedef HWND__ *HWND;
typedef HDC__ *HDC;
// Pens, brushes, fonts, regions, bitmaps and palettes are all GDI objects. Each kind has its
// own handle type, so a pen handed where a brush belongs does not compile; every one of them
// converts to the common HGDIOBJ that SelectObject, GetObjectA and DeleteObject take. The
// structures are empty tags: the objects behind the handles live inside platform/.
struct HGDIOBJ__ {};
struct HPEN__ : HGDIOBJ__ {};
struct HBRUSH__ : HGDIOBJ__ {};
struct HFONT__ : HGDIOBJ__ {};
struct HRGN__ : HGDIOBJ__ {};
struct HBITMAP__ : HGDIOBJ__ {};
struct HPALETTE__ : HGDIOBJ__ {};
typedef HGDIOBJ__ *HGDIOBJ;
typedef HPEN__ *HPEN;
typedef HBRUSH__ *HBRUSH;
typedef HFONT__ *HFONT;
typedef HRGN__ *HRGN;
typedef HBITMAP__ *HBITMAP;
typedef HPALETTE__ *HPALETTE;
typedef HMENU__ *HMENU;
typedef HCURSOR__ *HCURSOR;
typedef HCURSOR HICON;  // icons and cursors are both small images loaded by name
typedef HINSTANCE__ *HINSTANCE;

typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK *DLGPROC)(HWND, UINT, WPARAM, LPARAM);

struct POINT {
    LONG x, y;
};
struct SIZE {
    LONG cx, cy;
};
struct RECT {
    LONG left, top, right, bottom;
};

#define LOWORD(l) (static_cast<WORD>(static_cast<std::uintptr_t>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<std::uintptr_t>(l) >> 16) & 0xffff))
#define MAKELONG(a, b)                                                                             \
    (static_cast<LONG>(static_cast<WORD>(a) | (static_cast<DWORD>(static_cast<WORD>(b)) << 16)))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define RGB(r, g, b)                                                                               \
    (static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | \
                           (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define PALETTERGB(r, g, b) (0x02000000 | RGB(r, g, b))
#define GetRValue(c) (static_cast<BYTE>(c))
#define GetGValue(c) (static_cast<BYTE>((c) >> 8))
#define GetBValue(c) (static_cast<BYTE>((c) >> 16))
#define MAKEINTRESOURCEA(i)                                                                        \
    (reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i))))

// Window messages.
enum : UINT {
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_SIZE = 0x0005,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_LBUTTONDOWN = 0x0201,
};

// Scroll requests (low word of wParam of WM_VSCROLL / WM_HSCROLL) and bars.
enum : int {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};
enum : int { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2 };

// Virtual keys.
enum : int {
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
};

// Window styles.
enum : DWORD {
    WS_OVERLAPPED = 0x00000000,
    WS_MAXIMIZEBOX = 0x00010000,
    WS_MINIMIZEBOX = 0x00020000,
    WS_THICKFRAME = 0x00040000,
    WS_SYSMENU = 0x00080000,
    WS_HSCROLL = 0x00100000,
    WS_VSCROLL = 0x00200000,
    WS_BORDER = 0x00800000,
    WS_CAPTION = 0x00C00000,
    WS_MAXIMIZE = 0x01000000,
    WS_CLIPSIBLINGS = 0x04000000,
    WS_VISIBLE = 0x10000000,
    WS_CHILD = 0x40000000,
    WS_POPUP = 0x80000000,
    WS_OVERLAPPEDWINDOW =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
};
enum : DWORD { CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002 };
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);
enum : int { SW_SHOWNORMAL = 1, SW_SHOWMAXIMIZED = 3, SW_SHOW = 5 };

// Message boxes.
enum : UINT {
    MB_OK = 0x00000000,
    MB_ICONHAND = 0x00000010,
    MB_ICONERROR = 0x00000010,
    MB_ICONQUESTION = 0x00000020,
    MB_ICONEXCLAMATION = 0x00000030,
    MB_ICONWARNING = 0x00000030,
    MB_ICONASTERISK = 0x00000040,
    MB_ICONINFORMATION = 0x00000040,
};
enum : int { IDOK = 1, IDCANCEL = 2 };

// Menus.
enum : UINT {
    MF_BYCOMMAND = 0x0000,
    MF_ENABLED = 0x0000,
    MF_STRING = 0x0000,
    MF_GRAYED = 0x0001,
    MF_DISABLED = 0x0002,
    MF_BYPOSITION = 0x0400,
    MF_SEPARATOR = 0x0800,
};

// Dialog buttons.
enum : UINT { BST_UNCHECKED = 0, BST_CHECKED = 1 };

// System metrics.
enum : int { SM_CXSCREEN = 0, SM_CYSCREEN = 1 };

// Text alignment.
enum : UINT {
    TA_LEFT = 0,
    TA_TOP = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};
// Pitch bits of TEXTMETRICA::tmPitchAndFamily: set for a variable-pitch font.
enum : BYTE { TMPF_FIXED_PITCH = 0x01 };

struct TEXTMETRICA {
    LONG tmHeight, tmAscent, tmDescent, tmInternalLeading, tmExternalLeading;
    LONG tmAveCharWidth, tmMaxCharWidth, tmWeight, tmOverhang;
    LONG tmDigitizedAspectX, tmDigitizedAspectY;
    BYTE tmFirstChar, tmLastChar, tmDefaultChar, tmBreakChar;
    BYTE tmItalic, tmUnderlined, tmStruckOut, tmPitchAndFamily, tmCharSet;
};

constexpr int LF_FACESIZE = 32;
struct LOGFONTA {
    LONG lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
    BYTE lfItalic, lfUnderline, lfStrikeOut, lfCharSet, lfOutPrecision, lfClipPrecision, lfQuality,
        lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
};
