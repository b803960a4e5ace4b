// The primitives. Everything is drawn aliased, so the raster rules are those of the classic
// display driver: a line covers its start pixel but not its end pixel, a filled shape covers
// the pixels whose centres lie inside [left, right) x [top, bottom), and an outline of a
// rectangle (left, top, right, bottom) runs along columns left and right - 1 and rows top and
// bottom - 1.
#include <cmath>

#include "platform/gdi_qt.h"
#include "platform/qt_convert.h"

namespace {

HDC__ *state(HDC hdc) { return dc_valid(hdc) ? reinterpret_cast<HDC__ *>(hdc) : nullptr; }

// Dash patterns of the one-pixel styled pens, in pixels, starting with a dash.
QList<qreal> dash_pattern(int style)
{
    switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

// The selected pen, or null when it draws nothing (null pen, stale handle).
const GdiObject *drawing_pen(const HDC__ *dc)
{
    const GdiObject *pen = gdi_object(dc->pen, OBJ_PEN);
    return pen && pen->penStyle != PS_NULL ? pen : nullptr;
}

bool styled(const GdiObject *pen) { return pen->penStyle != PS_SOLID && pen->penWidth <= 1; }

QPen qpen(const GdiObject *pen, const QColor &color, bool dashed)
{
    QPen p(color);
    if (pen->penWidth <= 1) {
        p.setWidth(0);  // cosmetic: exactly one pixel
        p.setCapStyle(Qt::FlatCap);
        p.setJoinStyle(Qt::MiterJoin);
        if (dashed) p.setDashPattern(dash_pattern(pen->penStyle));
    } else {
        // Wide pens are solid whatever their style, with round ends.
        p.setWidth(pen->penWidth);
        p.setCapStyle(Qt::RoundCap);
        p.setJoinStyle(Qt::RoundJoin);
    }
    return p;
}

// Strokes with the selected pen. A styled pen on an opaque background paints its gaps in the
// background colour, so the stroke goes twice: solid background first, then the dashes.
template <typename Draw> void stroke(HDC__ *dc, QPainter *p, Draw draw)
{
    const GdiObject *pen = drawing_pen(dc);
    if (!pen) return;
    p->setBrush(Qt::NoBrush);
    if (styled(pen)) {
        if (dc->bkMode == OPAQUE) {
            p->setPen(qpen(pen, gdi_color(dc, dc->bkColor), false));
            draw();
        }
        p->setPen(qpen(pen, gdi_color(dc, pen->color), true));
    } else {
        p->setPen(qpen(pen, gdi_color(dc, pen->color), false));
    }
    draw();
}

// Fills with a brush and no outline. Returns false when the brush paints nothing.
template <typename Draw> bool fill(HDC__ *dc, QPainter *p, HGDIOBJ brushHandle, Draw draw)
{
    const GdiObject *brush = gdi_object(brushHandle, OBJ_BRUSH);
    if (!brush || brush->brushStyle == BS_NULL) return false;
    p->setPen(Qt::NoPen);
    p->setBrushOrigin(0, 0);
    p->setBrush(gdi_brush_for(dc, brush));
    draw();
    return true;
}

// The last pixel a line from a to b paints: one step back from b along the major axis. Qt
// orders a line's ends before it leaves one out, so the line is drawn with both ends included
// from a to this pixel instead.
QPoint last_pixel(POINT a, POINT b)
{
    const long dx = b.x - a.x, dy = b.y - a.y;
    if (std::labs(dx) >= std::labs(dy)) {
        const long px = b.x - (dx > 0 ? 1 : -1);
        return QPoint(px, a.y + std::lround(static_cast<double>(px - a.x) * dy / dx));
    }
    const long py = b.y - (dy > 0 ? 1 : -1);
    return QPoint(a.x + std::lround(static_cast<double>(py - a.y) * dx / dy), py);
}

void draw_segment(HDC__ *dc, QPainter *p, POINT from, POINT to)
{
    if (from.x == to.x && from.y == to.y) return;  // no pixel: the end point is excluded
    const QPoint start(from.x, from.y), end = last_pixel(from, to);
    stroke(dc, p, [&] {
        QPen pen = p->pen();
        if (pen.isCosmetic()) {
            pen.setCapStyle(Qt::SquareCap);
            p->setPen(pen);
        }
        if (end == start)
            p->drawPoint(start);
        else
            p->drawLine(start, end);
    });
}

QRect outline_rect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left - 1, bottom - top - 1);
}

void normalise(int &left, int &top, int &right, int &bottom)
{
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

// An 8 x 8 cell of a hatch: true where the hatch line passes.
bool hatch_bit(int hatch, int x, int y)
{
    const bool horizontal = y == 4, vertical = x == 4, falling = x == y, rising = x + y == 7;
    switch (hatch) {
    case HS_HORIZONTAL: return horizontal;
    case HS_VERTICAL: return vertical;
    case HS_FDIAGONAL: return falling;
    case HS_BDIAGONAL: return rising;
    case HS_CROSS: return horizontal || vertical;
    case HS_DIAGCROSS: return falling || rising;
    default: return false;
    }
}

QImage hatch_cell(int hatch, const QColor &line, const QColor &ground)
{
    QImage cell(8, 8, QImage::Format_ARGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            cell.setPixel(x, y, (hatch_bit(hatch, x, y) ? line : ground).rgba());
    return cell;
}

QBrush brush_with_colours(const GdiObject *brush, const QColor &solid, const QColor &text,
                          const QColor &background, bool opaque)
{
    switch (brush->brushStyle) {
    case BS_SOLID: return QBrush(solid);
    case BS_HATCHED:
        return QBrush(hatch_cell(brush->hatch, solid, opaque ? background : QColor(0, 0, 0, 0)));
    case BS_PATTERN:
        if (brush->monochrome) {
            QImage cell = brush->image.convertToFormat(QImage::Format_Mono);
            cell.setColorTable({text.rgb(), background.rgb()});
            return QBrush(cell.convertToFormat(QImage::Format_RGB32));
        }
        return QBrush(brush->image);
    default: return QBrush(Qt::NoBrush);
    }
}

}  // namespace

QPainter *gdi_painter(HDC__ *dc)
{
    return dc && dc->painter && dc->painter->isActive() ? dc->painter : nullptr;
}

QBrush gdi_brush_for(const HDC__ *dc, const GdiObject *brush)
{
    return brush_with_colours(brush, gdi_color(dc, brush->color), gdi_color(dc, dc->textColor),
                              gdi_color(dc, dc->bkColor), dc->bkMode == OPAQUE);
}

QBrush brush_to_qbrush(HBRUSH brush, COLORREF text, COLORREF background)
{
    const GdiObject *o = gdi_object(brush, OBJ_BRUSH);
    if (!o) return QBrush(Qt::NoBrush);
    return brush_with_colours(o, gdi_color(nullptr, o->color), gdi_color(nullptr, text),
                              gdi_color(nullptr, background), false);
}

BOOL LineTo(HDC hdc, int x, int y)
{
    HDC__ *dc = state(hdc);
    if (!dc) return FALSE;
    const POINT from = dc->current;
    dc->current = POINT{x, y};
    gdi_record(dc, RecordedKind::Line, {from, POINT{x, y}});
    if (QPainter *p = gdi_painter(dc)) draw_segment(dc, p, from, POINT{x, y});
    return TRUE;
}

BOOL Polyline(HDC hdc, const POINT *apt, int cpt)
{
    HDC__ *dc = state(hdc);
    if (!dc || !apt || cpt < 2) return FALSE;
    gdi_record(dc, RecordedKind::Polyline, std::vector<POINT>(apt, apt + cpt));
    if (QPainter *p = gdi_painter(dc))
        for (int i = 1; i < cpt; ++i) draw_segment(dc, p, apt[i - 1], apt[i]);
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT *apt, int cpt)
{
    HDC__ *dc = state(hdc);
    if (!dc || !apt || cpt < 2) return FALSE;
    gdi_record(dc, RecordedKind::Polygon, std::vector<POINT>(apt, apt + cpt));
    if (QPainter *p = gdi_painter(dc)) {
        QPolygon poly;
        for (int i = 0; i < cpt; ++i) poly << QPoint(apt[i].x, apt[i].y);
        const Qt::FillRule rule = dc->polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        fill(dc, p, dc->brush, [&] { p->drawPolygon(poly, rule); });
        stroke(dc, p, [&] { p->drawPolygon(poly, rule); });
    }
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    HDC__ *dc = state(hdc);
    if (!dc) return FALSE;
    normalise(left, top, right, bottom);
    gdi_record(dc, RecordedKind::Rectangle, {POINT{left, top}, POINT{right, bottom}});
    QPainter *p = gdi_painter(dc);
    if (!p || right - left < 1 || bottom - top < 1) return TRUE;
    if (drawing_pen(dc)) {
        fill(dc, p, dc->brush, [&] { p->drawRect(QRect(left, top, right - left, bottom - top)); });
        stroke(dc, p, [&] { p->drawRect(outline_rect(left, top, right, bottom)); });
    } else {
        // Without an outline the rectangle is one pixel smaller each way.
        fill(dc, p, dc->brush,
             [&] { p->drawRect(QRect(left, top, right - left - 1, bottom - top - 1)); });
    }
    return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    HDC__ *dc = state(hdc);
    if (!dc) return FALSE;
    normalise(left, top, right, bottom);
    gdi_record(dc, RecordedKind::Ellipse, {POINT{left, top}, POINT{right, bottom}});
    QPainter *p = gdi_painter(dc);
    if (!p || right - left < 1 || bottom - top < 1) return TRUE;
    const QRect box = outline_rect(left, top, right, bottom);
    fill(dc, p, dc->brush, [&] { p->drawEllipse(box); });
    stroke(dc, p, [&] { p->drawEllipse(box); });
    return TRUE;
}

int FillRect(HDC hdc, const RECT *lprc, HBRUSH hbr)
{
    HDC__ *dc = state(hdc);
    if (!dc || !lprc || !gdi_object(hbr, OBJ_BRUSH)) return 0;
    int left = lprc->left, top = lprc->top, right = lprc->right, bottom = lprc->bottom;
    gdi_record(dc, RecordedKind::FillRect, {POINT{left, top}, POINT{right, bottom}}, {}, 0, hbr);
    if (QPainter *p = gdi_painter(dc); p && right > left && bottom > top)
        fill(dc, p, hbr, [&] { p->drawRect(QRect(left, top, right - left, bottom - top)); });
    return 1;
}

BOOL Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    HDC__ *dc = state(hdc);
    if (!dc) return FALSE;
    normalise(x1, y1, x2, y2);
    gdi_record(dc, RecordedKind::Arc, {POINT{x1, y1}, POINT{x2, y2}, POINT{x3, y3}, POINT{x4, y4}});
    QPainter *p = gdi_painter(dc);
    if (!p || x2 - x1 < 1 || y2 - y1 < 1) return TRUE;
    const QRect box = outline_rect(x1, y1, x2, y2);
    if (x3 == x4 && y3 == y4) {
        stroke(dc, p, [&] { p->drawEllipse(box); });
        return TRUE;
    }
    // The radials from the centre through the two points cut the ellipse where its parametric
    // angle t satisfies tan t = (dy / b) / (dx / a); y grows downward, angles counter-clockwise.
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double a = (x2 - x1) / 2.0, b = (y2 - y1) / 2.0;
    const double pi = std::acos(-1.0);
    const double start = std::atan2(-(y3 - cy) / b, (x3 - cx) / a) * 180.0 / pi;
    const double end = std::atan2(-(y4 - cy) / b, (x4 - cx) / a) * 180.0 / pi;
    double span = end - start;
    while (span <= 0) span += 360.0;
    const int start16 = static_cast<int>(std::lround(start * 16)),
              span16 = static_cast<int>(std::lround(span * 16));
    stroke(dc, p, [&] { p->drawArc(box, start16, span16); });
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    HDC__ *dc = state(hdc);
    if (!dc) return CLR_INVALID;
    gdi_record(dc, RecordedKind::Pixel, {POINT{x, y}}, {}, color);
    const QColor c = gdi_color(dc, color);
    if (QPainter *p = gdi_painter(dc)) {
        if (x < 0 || y < 0 || x >= dc->width || y >= dc->height) return CLR_INVALID;
        p->setPen(QPen(c, 0));
        p->drawPoint(x, y);
    }
    return toCOLORREF(c);
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    const HDC__ *dc = state(hdc);
    if (!dc || !dc->image || x < 0 || y < 0 || x >= dc->image->width() || y >= dc->image->height())
        return CLR_INVALID;
    if (dc->hasClip && !dc->clip.contains(x, y)) return CLR_INVALID;
    return toCOLORREF(QColor(dc->image->pixel(x, y)));
}
