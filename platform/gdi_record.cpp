// The recording context: every primitive with its coordinates and the drawing state in force,
// so that tests can check geometry, colours and fonts exactly instead of by pixels.
#include <cstring>

#include "platform/gdi_qt.h"

namespace {

RecordedPen pen_state(const HDC__ *dc)
{
    RecordedPen pen;
    const GdiObject *o = gdi_object(dc->pen, OBJ_PEN);
    if (!o) {
        pen.style = -1;
        return pen;
    }
    pen.style = o->penStyle;
    pen.width = o->penWidth;
    pen.color = o->color;
    return pen;
}

RecordedBrush brush_state(HGDIOBJ h)
{
    RecordedBrush brush;
    const GdiObject *o = gdi_object(h, OBJ_BRUSH);
    if (!o) {
        brush.kind = BS_NULL;
        return brush;
    }
    brush.kind = o->brushStyle;
    brush.color = o->brushStyle == BS_PATTERN ? 0 : o->color;
    brush.hatch = o->brushStyle == BS_HATCHED ? o->hatch : -1;
    brush.monochrome = o->brushStyle == BS_PATTERN && o->monochrome;
    if (brush.monochrome) std::memcpy(brush.pattern, o->monoRows, sizeof brush.pattern);
    return brush;
}

RecordedFont font_state(const HDC__ *dc)
{
    RecordedFont font;
    const GdiObject *o = gdi_object(dc->font, OBJ_FONT);
    if (!o) return font;
    font.height = o->logfont.lfHeight;
    font.width = o->logfont.lfWidth;
    font.weight = o->logfont.lfWeight;
    font.face.assign(o->logfont.lfFaceName, strnlen(o->logfont.lfFaceName, LF_FACESIZE));
    font.stock = o->stock;
    return font;
}

HDC__ *state(HDC hdc) { return dc_valid(hdc) ? reinterpret_cast<HDC__ *>(hdc) : nullptr; }

}  // namespace

namespace {

RecordedOp state_op(HDC__ *dc, RecordedKind kind, std::vector<POINT> points,
                    const std::string &text, COLORREF pixel, HGDIOBJ brushOverride)
{
    RecordedOp op;
    op.kind = kind;
    op.points = std::move(points);
    op.pen = pen_state(dc);
    op.brush = brush_state(brushOverride ? brushOverride : dc->brush);
    op.font = font_state(dc);
    op.textColor = dc->textColor;
    op.bkColor = dc->bkColor;
    op.bkMode = dc->bkMode;
    op.textAlign = dc->textAlign;
    op.polyFillMode = dc->polyFillMode;
    op.text = text;
    op.pixelColor = pixel;
    op.clipped = dc->hasClip;
    if (dc->hasClip)
        op.clip =
            RECT{dc->clip.left(), dc->clip.top(), dc->clip.right() + 1, dc->clip.bottom() + 1};
    return op;
}

}  // namespace

void gdi_record(HDC__ *dc, RecordedKind kind, std::vector<POINT> points, const std::string &text,
                COLORREF pixel, HGDIOBJ brushOverride)
{
    if (!dc->record && !dc->svg) return;
    RecordedOp op = state_op(dc, kind, std::move(points), text, pixel, brushOverride);
    if (dc->svg && kind != RecordedKind::Text) svg_add(dc, op);
    if (dc->record) dc->record->push_back(std::move(op));
}

void gdi_record_bitmap(HDC__ *dc, const RECT &dest, const QImage &source)
{
    if (!dc->record && !dc->svg) return;
    RecordedOp op =
        state_op(dc, RecordedKind::Bitmap,
                 {POINT{dest.left, dest.top}, POINT{dest.right, dest.bottom}}, {}, 0, nullptr);
    op.bitmapWidth = source.width();
    op.bitmapHeight = source.height();
    op.bitmap.reserve(static_cast<std::size_t>(source.width()) * source.height());
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const QRgb c = source.pixel(x, y);
            op.bitmap.push_back(RGB(qRed(c), qGreen(c), qBlue(c)));
        }
    if (dc->svg) svg_image(dc, op, source);
    if (dc->record) dc->record->push_back(std::move(op));
}

std::vector<RecordedOp> RecordedOps(HDC hdc)
{
    const HDC__ *dc = state(hdc);
    return dc && dc->record ? *dc->record : std::vector<RecordedOp>{};
}

void ClearRecordedOps(HDC hdc)
{
    HDC__ *dc = state(hdc);
    if (dc && dc->record) dc->record->clear();
}
