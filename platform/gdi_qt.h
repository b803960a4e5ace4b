// Device contexts and GDI objects as seen from inside platform/: how a window's paint event
// wraps its QPainter into a device context, and how the window side turns brushes and bitmaps
// into Qt values. Only platform/ includes this header.
#pragma once

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/gdi.h"

// ---- The contract the window side uses -------------------------------------------------

// Wraps a painter opened on a window in its paint event. The painter stays owned by the
// caller and must outlive the context; dc_destroy releases the context before the painter
// ends. width x height is the client area.
HDC dc_create_for_painter(QPainter *painter, int width, int height);
// The part of the client area that needs painting (GetClipBox reports it); by default the
// whole client area.
void dc_set_paint_rect(HDC hdc, const QRect &update);
void dc_destroy(HDC hdc);
// A context that draws nothing and only measures text in its font (GetDC of a window that
// wants text metrics).
HDC dc_create_for_measuring();
// The font every new device context starts with: sans-serif, variable pitch, about 10 pt.
QFont platform_default_font();
// A colour bitmap holding a copy of the image (e.g. a loaded bitmap resource).
HBITMAP bitmap_from_qimage(const QImage &image);
// The brush as Qt paints it: solid colour, texture of a pattern (one-bit patterns in black on
// white unless colours are given), hatch lines on a transparent ground. Qt::NoBrush for the
// null brush or an invalid handle.
QBrush brush_to_qbrush(HBRUSH brush, COLORREF text = 0x000000, COLORREF background = 0xFFFFFF);

// ---- Internals shared by the gdi_*.cpp files ----------------------------------------------

struct GdiObject {
    UINT type = 0;  // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_REGION, OBJ_BITMAP, OBJ_PAL
    bool stock = false;
    int selections = 0;  // device contexts that have it selected
    // Pen and solid/hatched brush colour (kept as given, flags included).
    COLORREF color = 0;
    // Pen.
    int penStyle = PS_SOLID;
    int penWidth = 0;
    // Brush.
    UINT brushStyle = BS_SOLID;
    int hatch = -1;
    // Bitmap, or the copy of one inside a pattern brush.
    QImage image;
    bool monochrome = false;
    unsigned char monoRows[8] = {};  // first 8 rows of a one-bit pattern, for the recording
    // Font.
    LOGFONTA logfont{};
    QFont font;
    double xScale = 1.0;  // horizontal stretch that gives the requested character width
    std::shared_ptr<QFontMetrics> metrics;
    std::shared_ptr<struct GlyphTable> glyphs;  // made on first use by the text calls
    // Region.
    QRect rect;
    // Palette.
    std::vector<PALETTEENTRY> entries;
};

struct HDC__ {
    enum class Kind { Paint, Image, Svg, Recording, Measuring };
    Kind kind = Kind::Image;
    QPainter *painter = nullptr;
    std::unique_ptr<QPainter> ownPainter;
    std::unique_ptr<QImage> image;
    std::unique_ptr<QPaintDevice> device;  // the SVG generator
    int width = 0, height = 0;
    QRect paintRect;  // GetClipBox without a clip region

    HGDIOBJ pen = nullptr, brush = nullptr, font = nullptr, palette = nullptr;
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    UINT textAlign = 0;
    int polyFillMode = ALTERNATE;
    POINT current{0, 0};
    bool hasClip = false;
    QRect clip;
    std::vector<RecordedOp> *record = nullptr;  // owned; only for recording contexts
    std::shared_ptr<struct SvgWriter> svg;      // only for SVG contexts
};

// Object registry (gdi_objects.cpp).
HGDIOBJ gdi_register(GdiObject *object);      // takes ownership; counts it live
GdiObject *gdi_object(HGDIOBJ h, UINT type);  // null unless h is a live object of that type
GdiObject *gdi_any_object(HGDIOBJ h);         // null unless h is live
// The handle of one kind that stands for a registered object (CreatePen makes an HPEN, etc.).
template <class Handle> Handle gdi_handle(HGDIOBJ h) { return static_cast<Handle>(h); }
bool dc_valid(HDC hdc);
HDC dc_register(HDC__ *dc);  // takes ownership; selects the stock objects
void dc_release(HDC hdc);    // deselects everything and frees the context

// Colours (gdi_objects.cpp): a COLORREF as drawn in this context (palette flags resolved).
QColor gdi_color(const HDC__ *dc, COLORREF c);

// Fonts (gdi_text.cpp).
const QFontMetrics &gdi_font_metrics(GdiObject *font);
GdiObject *gdi_stock_font(int which);

// Painting (gdi_draw.cpp): the painter of a context prepared with its pen or brush, or null
// for contexts that do not draw.
QPainter *gdi_painter(HDC__ *dc);
QBrush gdi_brush_for(const HDC__ *dc, const GdiObject *brush);

// SVG contexts (gdi_svg.cpp): the elements are written as the primitives arrive; text comes
// with its reference x, its baseline, its left edge and its cell size in pixels.
void svg_start(HDC__ *dc, int width, int height, const char *path);
void svg_add(HDC__ *dc, const RecordedOp &op);
void svg_text(HDC__ *dc, int x, int baseline, int left, int width, int height, GdiObject *font,
              const QString &text);
// A bitmap drawn into dest, as an embedded PNG of the source pixels.
void svg_image(HDC__ *dc, const RecordedOp &op, const QImage &source);
std::string svg_document(HDC__ *dc);
bool svg_write_file(HDC__ *dc);  // to the path given at creation, if any

// Recording (gdi_record.cpp).
void gdi_record(HDC__ *dc, RecordedKind kind, std::vector<POINT> points,
                const std::string &text = {}, COLORREF pixel = 0, HGDIOBJ brushOverride = nullptr);
// A bitmap blit: its destination rectangle and source pixels (StretchDIBits).
void gdi_record_bitmap(HDC__ *dc, const RECT &dest, const QImage &source);
