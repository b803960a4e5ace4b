// Device contexts that are not tied to a window: an image in memory (for tests and PNG
// export), an SVG file, and a recording context that keeps every primitive drawn into it
// with the exact integer coordinates and the pen, brush, font and text state in force.
// Qt-free.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi.h"

// A white 32-bit image of width x height pixels; drawing lands in it pixel for pixel.
HDC CreateImageDC(int width, int height);
BOOL SaveImageDC(HDC hdc, const char *png_path);
// Vector drawing in device pixels: each line, polygon and shape one element, each text one
// text element. The document goes to svg_path when the context is deleted (DeleteDC then
// fails if the file cannot be written); with a null path it is only kept in memory.
HDC CreateSvgDC(int width, int height, const char *svg_path);
// The SVG document drawn so far, or the picture of an image context as PNG bytes.
BOOL GetSvgDocument(HDC hdc, std::string *svg);
BOOL GetImagePng(HDC hdc, std::string *png);
// A colour bitmap holding a copy of an image context's picture, or null.
HBITMAP GetImageBitmap(HDC hdc);
// An image context that also records every primitive (see RecordedOp).
HDC CreateRecordingDC(int width, int height);
// Deletes a context made by the functions above (or a window's measuring context); the
// objects selected into it are released from it but not deleted.
BOOL DeleteDC(HDC hdc);

// GDI objects created and not yet deleted (stock objects never count), and live contexts.
int GdiLiveObjectCount();
int GdiLiveDCCount();

enum class RecordedKind {
    Line,
    Polyline,
    Polygon,
    Rectangle,
    Ellipse,
    FillRect,
    Arc,
    Pixel,
    Text,
    Bitmap,
};

struct RecordedPen {
    int style = PS_SOLID;  // PS_NULL for the null pen; -1 when no valid pen was selected
    int width = 0;
    COLORREF color = 0;
};
struct RecordedBrush {
    UINT kind = BS_SOLID;           // BS_SOLID, BS_NULL, BS_HATCHED or BS_PATTERN
    COLORREF color = 0;             // solid and hatched brushes, as given when created
    int hatch = -1;                 // HS_* for hatched brushes
    bool monochrome = false;        // pattern brush from a one-bit bitmap
    unsigned char pattern[8] = {};  // its 8 rows, most significant bit leftmost
};
struct RecordedFont {
    int height = 0;  // the LOGFONTA fields the font was created from
    int width = 0;
    int weight = 0;
    std::string face;
    bool stock = false;
};

// One primitive. points holds:
//   Line: start and end (the end pixel is not painted); Polyline, Polygon: the vertices;
//   Rectangle, Ellipse, FillRect: (left, top), (right, bottom);
//   Arc: (left, top), (right, bottom), start radial point, end radial point;
//   Pixel, Text: the reference point;
//   Bitmap: the destination's (left, top), (right, bottom).
struct RecordedOp {
    RecordedKind kind = RecordedKind::Line;
    std::vector<POINT> points;
    RecordedPen pen;
    RecordedBrush brush;  // for FillRect, the brush passed to it
    RecordedFont font;
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    int bkMode = OPAQUE;
    UINT textAlign = 0;
    int polyFillMode = ALTERNATE;
    std::string text;
    COLORREF pixelColor = 0;  // SetPixel
    // Bitmap: the source pixels drawn, rows top-down, and the source size.
    std::vector<COLORREF> bitmap;
    int bitmapWidth = 0, bitmapHeight = 0;
    bool clipped = false;  // a clip region was selected
    RECT clip{};
};

// The primitives recorded so far (empty for a context that does not record).
std::vector<RecordedOp> RecordedOps(HDC hdc);
void ClearRecordedOps(HDC hdc);
