// The drawing calls: pens, brushes, bitmaps, fonts, regions, palettes and the primitives,
// with their Win32 names, argument orders and constants. Qt-free; the implementation lives in
// platform/gdi_*.cpp and draws through QPainter without antialiasing, so every pixel lands
// where the classic raster rules put it (a line leaves out its end point, a filled shape
// covers [left, right) x [top, bottom)).
#pragma once

#include <cstdint>

#include "platform/win32types.h"

typedef std::uintptr_t ULONG_PTR;
typedef short SHORT;

// Pen styles. Width 0 (or 1) is a one-pixel cosmetic pen; the styled patterns are in pixels.
enum : int {
    PS_SOLID = 0,
    PS_DASH = 1,        // 18 on, 6 off
    PS_DOT = 2,         // 3 on, 3 off
    PS_DASHDOT = 3,     // 9 on, 6 off, 3 on, 6 off
    PS_DASHDOTDOT = 4,  // 9 on, 3 off, 3 on, 3 off, 3 on, 3 off
    PS_NULL = 5,
};

// Hatch styles: one-pixel lines repeating every 8 pixels in both directions.
enum : int {
    HS_HORIZONTAL = 0,  // -----
    HS_VERTICAL = 1,    // |||||
    HS_FDIAGONAL = 2,   // \\\\\ (falling left to right)
    HS_BDIAGONAL = 3,   // ///// (rising left to right)
    HS_CROSS = 4,       // +++++
    HS_DIAGCROSS = 5,   // xxxxx
};

// Brush kinds, as reported in LOGBRUSH::lbStyle.
enum : UINT { BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2, BS_PATTERN = 3 };

// Stock objects.
enum : int {
    WHITE_BRUSH = 0,
    LTGRAY_BRUSH = 1,
    GRAY_BRUSH = 2,
    DKGRAY_BRUSH = 3,
    BLACK_BRUSH = 4,
    NULL_BRUSH = 5,
    HOLLOW_BRUSH = 5,
    WHITE_PEN = 6,
    BLACK_PEN = 7,
    NULL_PEN = 8,
    OEM_FIXED_FONT = 10,
    ANSI_FIXED_FONT = 11,
    ANSI_VAR_FONT = 12,
    SYSTEM_FONT = 13,
    DEVICE_DEFAULT_FONT = 14,
    DEFAULT_PALETTE = 15,
    SYSTEM_FIXED_FONT = 16,
};

// Object types (GetObjectType, GetCurrentObject).
enum : UINT {
    OBJ_PEN = 1,
    OBJ_BRUSH = 2,
    OBJ_DC = 3,
    OBJ_PAL = 5,
    OBJ_FONT = 6,
    OBJ_BITMAP = 7,
    OBJ_REGION = 8,
};

// Background modes and polygon fill modes.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int { ALTERNATE = 1, WINDING = 2 };

// Region kinds returned by GetClipBox and SelectClipRgn (RGN_ERROR is the classic ERROR, 0).
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

// Font fields.
enum : int { FW_DONTCARE = 0, FW_THIN = 100, FW_LIGHT = 300, FW_NORMAL = 400, FW_BOLD = 700 };
enum : BYTE { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1 };
enum : BYTE { OUT_DEFAULT_PRECIS = 0, OUT_TT_PRECIS = 4 };
enum : BYTE { CLIP_DEFAULT_PRECIS = 0 };
enum : BYTE { DEFAULT_QUALITY = 0, DRAFT_QUALITY = 1, PROOF_QUALITY = 2 };
enum : BYTE { DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2 };
enum : BYTE { FF_DONTCARE = 0x00, FF_ROMAN = 0x10, FF_SWISS = 0x20, FF_MODERN = 0x30 };

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr int GDI_ERROR = -1;
// The 0x01 flag in the top byte: the low word is an index into the selected palette.
#define PALETTEINDEX(i) (static_cast<COLORREF>(0x01000000 | static_cast<WORD>(i)))

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};
struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};
struct BITMAP {
    LONG bmType, bmWidth, bmHeight, bmWidthBytes;
    WORD bmPlanes, bmBitsPixel;
    LPVOID bmBits;
};
struct PALETTEENTRY {
    BYTE peRed, peGreen, peBlue, peFlags;
};
struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];  // palNumEntries entries follow in the same block
};

// Objects. A failed creation returns a null handle; drawing with a null or deleted object
// draws nothing.
HPEN CreatePen(int iStyle, int cWidth, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int iHatch, COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH *plbrush);
// A bitmap of 1 bit per pixel (rows padded to 16 bits, most significant bit leftmost) or of
// 24/32 bits per pixel (bytes blue, green, red[, unused], rows padded to 16 bits).
HBITMAP CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const void *lpBits);
// Copies the bitmap: the bitmap may be deleted as soon as the brush exists. A one-bit pattern
// paints 0 bits in the text colour and 1 bits in the background colour of the device context.
HBRUSH CreatePatternBrush(HBITMAP hbm);
HFONT CreateFontIndirectA(const LOGFONTA *lplf);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT *lprect);
HPALETTE CreatePalette(const LOGPALETTE *plpal);
HGDIOBJ GetStockObject(int i);
// Fills LOGBRUSH, LOGPEN, LOGFONTA, BITMAP or (palettes) a WORD entry count; returns the bytes
// written, or the bytes needed when pv is null, or 0 on failure.
int GetObjectA(HGDIOBJ h, int c, LPVOID pv);
DWORD GetObjectType(HGDIOBJ h);
// Deleting a stock object succeeds and does nothing; deleting an object that is still
// selected into a device context fails and leaves it alive.
BOOL DeleteObject(HGDIOBJ ho);

// Device context state.
// Selecting a region sets the clip region and returns its kind (cast to a handle).
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
UINT SetTextAlign(HDC hdc, UINT align);  // returns the previous alignment
UINT GetTextAlign(HDC hdc);
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);

// Primitives.
BOOL MoveToEx(HDC hdc, int x, int y, POINT *lppt);
BOOL GetCurrentPositionEx(HDC hdc, POINT *lppt);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT *apt, int cpt);
BOOL Polygon(HDC hdc, const POINT *apt, int cpt);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
int FillRect(HDC hdc, const RECT *lprc, HBRUSH hbr);
// Counter-clockwise from the start radial to the end radial; equal radials: the whole ellipse.
BOOL Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);  // CLR_INVALID where the surface cannot be read

// Device-independent bitmaps: a header and the pixels in the caller's memory. Only
// uncompressed 32-bit pixels (bytes blue, green, red, unused) are drawn; a positive height
// lists the rows bottom-up, a negative one top-down.
struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
struct RGBQUAD {
    BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
enum : DWORD { BI_RGB = 0 };
enum : UINT { DIB_RGB_COLORS = 0 };
constexpr DWORD SRCCOPY = 0x00CC0020;

// Copies the source rectangle of the bitmap onto the destination rectangle, nearest
// neighbour: destination column k (counted from the destination's left) shows source column
// xSrc + k * SrcWidth / DestWidth, rows likewise, so every source pixel covers a block of
// whole device pixels. Only SRCCOPY with DIB_RGB_COLORS and sizes above zero (no mirroring);
// returns the source rows copied, or 0.
int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                  int SrcWidth, int SrcHeight, const void *lpBits, const BITMAPINFO *lpbmi,
                  UINT iUsage, DWORD rop);

// Text.
BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c);
BOOL GetTextExtentPointA(HDC hdc, LPCSTR lpString, int c, SIZE *lpsz);
BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, SIZE *lpsz);
BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA *lptm);

// Clipping (rectangular regions).
int GetClipBox(HDC hdc, RECT *lprect);
int SelectClipRgn(HDC hdc, HRGN hrgn);  // copies the region; a null region removes the clip

// Palettes. The surfaces are true colour: a palette-relative colour (PALETTERGB) is its own
// nearest colour; PALETTEINDEX colours look up the selected palette.
HPALETTE SelectPalette(HDC hdc, HPALETTE hPal, BOOL bForceBkgd);
UINT RealizePalette(HDC hdc);

// Keyboard: bit 15 set while the key is down, bit 0 set if it was pressed since the last call.
SHORT GetAsyncKeyState(int vKey);

// Selects a pen, brush or font (or a stock object) into a device context for as long as the
// guard lives and then selects back the object it replaced, so a drawing step leaves the
// context as it found it. An object that could not be made (null) selects nothing and nothing
// is put back. Regions (SelectObject copies them into the clip and hands back a region kind),
// bitmaps and palettes (SelectPalette) are not objects this guard can put back, and do not
// compile here.
class SelectedObject {
public:
    SelectedObject(HDC hdc, HGDIOBJ object)
        : hdc_(hdc), previous_(object ? SelectObject(hdc, object) : nullptr)
    {
    }
    SelectedObject(HDC, HRGN) = delete;
    SelectedObject(HDC, HBITMAP) = delete;
    SelectedObject(HDC, HPALETTE) = delete;
    ~SelectedObject()
    {
        if (previous_) SelectObject(hdc_, previous_);
    }
    SelectedObject(const SelectedObject &) = delete;
    SelectedObject &operator=(const SelectedObject &) = delete;

    // The object that was selected before, null if the selection failed.
    HGDIOBJ previous() const { return previous_; }

private:
    HDC hdc_;
    HGDIOBJ previous_;
};
