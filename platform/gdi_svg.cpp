// The SVG context: every primitive becomes one vector element in device pixels (the view box
// is the surface), so that a picture opens in a drawing program with its lines, polygons and
// texts as separate objects. Consecutive line segments that join up become one polyline;
// each text-out call becomes one text element with its reference point and alignment.
#include <QBuffer>
#include <QFile>
#include <cstdio>

#include "platform/gdi_qt.h"
#include "platform/qt_convert.h"

struct SvgWriter {
    int width = 0, height = 0;
    std::string path;  // written when the context is deleted; empty: kept in memory only
    std::string defs, body;
    std::vector<QRect> clips;  // clip path i is "c<i>"
    int openClip = -1;         // clip group the body is inside, -1 none
    // Line segments waiting to be joined into one polyline.
    std::string lineStroke;
    std::vector<POINT> linePoints;
    int lineClip = -1;
    // The drawing began by filling the whole page itself: no white page is put under it.
    bool pageFilled = false;
};

namespace {

std::string hex(const QColor &c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red(), c.green(), c.blue());
    return text;
}

std::string escaped(const QString &text)
{
    std::string out;
    for (char ch : text.toUtf8().toStdString()) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string num(int v) { return std::to_string(v); }

// A font as a CSS family list: the installed family first, then the classic faces it stands
// in for and the generic family, for a viewer that lacks it.
std::string family_list(const QString &family)
{
    static const struct {
        const char *family, *fallbacks;
    } kFallbacks[] = {
        {"Liberation Sans", "Arial, Helvetica, sans-serif"},
        {"Liberation Serif", "'Times New Roman', Times, serif"},
        {"Liberation Mono", "'Courier New', Courier, monospace"},
    };
    QString quoted = family;
    quoted.replace(QLatin1Char('\''), QLatin1String("\\'"));
    std::string list = "'";
    list += escaped(quoted);
    list += "', ";
    const char *fallbacks = "sans-serif";
    for (const auto &f : kFallbacks)
        if (family == QLatin1String(f.family)) fallbacks = f.fallbacks;
    return list + fallbacks;
}

std::string stroke_of(const HDC__ *dc, const RecordedPen &pen)
{
    if (pen.style < 0 || pen.style == PS_NULL) return " stroke=\"none\"";
    std::string s = " stroke=\"" + hex(gdi_color(dc, pen.color)) + "\"";
    s += " stroke-width=\"" + num(std::max(1, pen.width)) + "\"";
    if (pen.width <= 1) {
        switch (pen.style) {
        case PS_DASH: s += " stroke-dasharray=\"18 6\""; break;
        case PS_DOT: s += " stroke-dasharray=\"3 3\""; break;
        case PS_DASHDOT: s += " stroke-dasharray=\"9 6 3 6\""; break;
        case PS_DASHDOTDOT: s += " stroke-dasharray=\"9 3 3 3 3 3\""; break;
        default: break;
        }
    } else {
        s += " stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    }
    return s;
}

// Hatches and patterns are given as their line (or foreground) colour.
std::string fill_of(const HDC__ *dc, const RecordedBrush &brush)
{
    if (brush.kind == BS_NULL) return " fill=\"none\"";
    if (brush.kind == BS_PATTERN)
        return " fill=\"" + hex(gdi_color(dc, brush.monochrome ? dc->textColor : brush.color)) +
               "\"";
    return " fill=\"" + hex(gdi_color(dc, brush.color)) + "\"";
}

std::string points_of(const std::vector<POINT> &points)
{
    std::string s;
    for (const POINT &p : points) {
        if (!s.empty()) s += ' ';
        s += num(p.x) + ',' + num(p.y);
    }
    return s;
}

int clip_index(SvgWriter &w, bool clipped, const QRect &clip)
{
    if (!clipped) return -1;
    for (std::size_t k = 0; k < w.clips.size(); k++)
        if (w.clips[k] == clip) return static_cast<int>(k);
    w.clips.push_back(clip);
    const int k = static_cast<int>(w.clips.size()) - 1;
    w.defs += "<clipPath id=\"c" + num(k) + "\"><rect x=\"" + num(clip.left()) + "\" y=\"" +
              num(clip.top()) + "\" width=\"" + num(clip.width()) + "\" height=\"" +
              num(clip.height()) + "\"/></clipPath>\n";
    return k;
}

void flush_lines(SvgWriter &w)
{
    if (w.linePoints.empty()) return;
    const std::vector<POINT> &p = w.linePoints;
    if (p.size() == 2)
        w.body += "<line x1=\"" + num(p[0].x) + "\" y1=\"" + num(p[0].y) + "\" x2=\"" +
                  num(p[1].x) + "\" y2=\"" + num(p[1].y) + "\"" + w.lineStroke + "/>\n";
    else
        w.body += "<polyline points=\"" + points_of(p) + "\" fill=\"none\"" + w.lineStroke + "/>\n";
    w.linePoints.clear();
}

// Puts the body inside the clip group of the element about to be written.
void enter_clip(SvgWriter &w, int clip)
{
    if (clip == w.openClip) return;
    if (w.openClip >= 0) w.body += "</g>\n";
    if (clip >= 0) w.body += "<g clip-path=\"url(#c" + num(clip) + ")\">\n";
    w.openClip = clip;
}

void element(SvgWriter &w, int clip, const std::string &text)
{
    flush_lines(w);
    enter_clip(w, clip);
    w.body += text;
}

std::string rect_element(int left, int top, int right, int bottom, const std::string &paint)
{
    return "<rect x=\"" + num(std::min(left, right)) + "\" y=\"" + num(std::min(top, bottom)) +
           "\" width=\"" + num(std::abs(right - left)) + "\" height=\"" +
           num(std::abs(bottom - top)) + "\"" + paint + "/>\n";
}

void add_line(SvgWriter &w, const HDC__ *dc, const RecordedOp &op, int clip)
{
    const std::string stroke = stroke_of(dc, op.pen);
    if (op.pen.style < 0 || op.pen.style == PS_NULL) return;
    const POINT a = op.points[0], b = op.points[1];
    const bool joins = !w.linePoints.empty() && w.lineStroke == stroke && w.lineClip == clip &&
                       w.linePoints.back().x == a.x && w.linePoints.back().y == a.y;
    if (!joins) {
        flush_lines(w);
        enter_clip(w, clip);
        w.lineStroke = stroke;
        w.lineClip = clip;
        w.linePoints.push_back(a);
    }
    w.linePoints.push_back(b);
}

// The point on the ellipse in the direction of a radial point, for an arc's ends.
POINT on_ellipse(double cx, double cy, double a, double b, POINT radial)
{
    const double dx = radial.x - cx, dy = radial.y - cy;
    const double t = std::atan2(dy / b, dx / a);
    return POINT{static_cast<LONG>(std::lround(cx + a * std::cos(t))),
                 static_cast<LONG>(std::lround(cy + b * std::sin(t)))};
}

std::string arc_element(const HDC__ *dc, const RecordedOp &op)
{
    const POINT tl = op.points[0], br = op.points[1];
    const double cx = (tl.x + br.x) / 2.0, cy = (tl.y + br.y) / 2.0;
    const double a = (br.x - tl.x) / 2.0, b = (br.y - tl.y) / 2.0;
    const std::string stroke = stroke_of(dc, op.pen);
    if (a <= 0 || b <= 0) return {};
    if (op.points[2].x == op.points[3].x && op.points[2].y == op.points[3].y)
        return "<ellipse cx=\"" + std::to_string(cx) + "\" cy=\"" + std::to_string(cy) +
               "\" rx=\"" + std::to_string(a) + "\" ry=\"" + std::to_string(b) +
               "\" fill=\"none\"" + stroke + "/>\n";
    const POINT s = on_ellipse(cx, cy, a, b, op.points[2]),
                e = on_ellipse(cx, cy, a, b, op.points[3]);
    // Counter-clockwise on the screen (y down) is the negative sweep of the path.
    const double start = std::atan2(-(op.points[2].y - cy) / b, (op.points[2].x - cx) / a);
    double span = std::atan2(-(op.points[3].y - cy) / b, (op.points[3].x - cx) / a) - start;
    while (span <= 0) span += 2 * std::acos(-1.0);
    const bool large = span > std::acos(-1.0);
    return "<path d=\"M " + num(s.x) + ' ' + num(s.y) + " A " + std::to_string(a) + ' ' +
           std::to_string(b) + " 0 " + (large ? "1" : "0") + " 0 " + num(e.x) + ' ' + num(e.y) +
           "\" fill=\"none\"" + stroke + "/>\n";
}

}  // namespace

void svg_start(HDC__ *dc, int width, int height, const char *path)
{
    dc->svg = std::make_shared<SvgWriter>();
    dc->svg->width = width;
    dc->svg->height = height;
    if (path) dc->svg->path = path;
}

void svg_add(HDC__ *dc, const RecordedOp &op)
{
    SvgWriter &w = *dc->svg;
    const int clip = clip_index(w, op.clipped,
                                QRect(op.clip.left, op.clip.top, op.clip.right - op.clip.left,
                                      op.clip.bottom - op.clip.top));
    const std::vector<POINT> &p = op.points;
    switch (op.kind) {
    case RecordedKind::Line: add_line(w, dc, op, clip); break;
    case RecordedKind::Polyline:
        if (p.size() >= 2)
            element(w, clip,
                    "<polyline points=\"" + points_of(p) + "\" fill=\"none\"" +
                        stroke_of(dc, op.pen) + "/>\n");
        break;
    case RecordedKind::Polygon:
        if (p.size() >= 2)
            element(w, clip,
                    "<polygon points=\"" + points_of(p) + "\"" + fill_of(dc, op.brush) +
                        (op.polyFillMode == ALTERNATE ? " fill-rule=\"evenodd\"" : "") +
                        stroke_of(dc, op.pen) + "/>\n");
        break;
    case RecordedKind::Rectangle:
        element(w, clip,
                rect_element(p[0].x, p[0].y, p[1].x, p[1].y,
                             fill_of(dc, op.brush) + stroke_of(dc, op.pen)));
        break;
    case RecordedKind::FillRect:
        if (p[1].x > p[0].x && p[1].y > p[0].y) {
            // A first fill over the whole page is the page's own background.
            if (w.body.empty() && w.linePoints.empty() && clip < 0 && op.brush.kind != BS_NULL) {
                w.pageFilled =
                    p[0].x <= 0 && p[0].y <= 0 && p[1].x >= w.width && p[1].y >= w.height;
            }
            element(w, clip, rect_element(p[0].x, p[0].y, p[1].x, p[1].y, fill_of(dc, op.brush)));
        }
        break;
    case RecordedKind::Ellipse:
        element(w, clip,
                "<ellipse cx=\"" + std::to_string((p[0].x + p[1].x) / 2.0) + "\" cy=\"" +
                    std::to_string((p[0].y + p[1].y) / 2.0) + "\" rx=\"" +
                    std::to_string((p[1].x - p[0].x) / 2.0) + "\" ry=\"" +
                    std::to_string((p[1].y - p[0].y) / 2.0) + "\"" + fill_of(dc, op.brush) +
                    stroke_of(dc, op.pen) + "/>\n");
        break;
    case RecordedKind::Arc: element(w, clip, arc_element(dc, op)); break;
    case RecordedKind::Pixel:
        element(w, clip,
                rect_element(p[0].x, p[0].y, p[0].x + 1, p[0].y + 1,
                             " fill=\"" + hex(gdi_color(dc, op.pixelColor)) + "\""));
        break;
    case RecordedKind::Text: break;    // svg_text, which knows the font's measures
    case RecordedKind::Bitmap: break;  // svg_image, which has the pixels
    }
}

void svg_image(HDC__ *dc, const RecordedOp &op, const QImage &source)
{
    SvgWriter &w = *dc->svg;
    const int clip = clip_index(w, op.clipped,
                                QRect(op.clip.left, op.clip.top, op.clip.right - op.clip.left,
                                      op.clip.bottom - op.clip.top));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    source.save(&buffer, "PNG");
    const POINT tl = op.points[0], br = op.points[1];
    // Each source pixel stays a block of one colour: no smoothing when a viewer scales it.
    element(w, clip,
            "<image x=\"" + num(tl.x) + "\" y=\"" + num(tl.y) + "\" width=\"" + num(br.x - tl.x) +
                "\" height=\"" + num(br.y - tl.y) +
                "\" preserveAspectRatio=\"none\" image-rendering=\"optimizeSpeed\" "
                "style=\"image-rendering:pixelated\" "
                "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                "xlink:href=\"data:image/png;base64," +
                png.toBase64().toStdString() + "\"/>\n");
}

void svg_text(HDC__ *dc, int x, int baseline, int left, int width, int height, GdiObject *font,
              const QString &text)
{
    SvgWriter &w = *dc->svg;
    const int clip = clip_index(w, dc->hasClip, dc->clip);
    std::string out;
    if (dc->bkMode == OPAQUE)
        out += rect_element(left, baseline - gdi_font_metrics(font).ascent(), left + width,
                            baseline - gdi_font_metrics(font).ascent() + height,
                            " fill=\"" + hex(gdi_color(dc, dc->bkColor)) + "\"");
    const char *anchor = (dc->textAlign & TA_CENTER) == TA_CENTER ? "middle"
                         : (dc->textAlign & TA_RIGHT)             ? "end"
                                                                  : "start";
    const QFont &f = font->font;
    out += "<text x=\"" + num(x) + "\" y=\"" + num(baseline) + "\" font-family=\"" +
           family_list(f.family()) + "\" font-size=\"" + num(f.pixelSize()) + "px\"";
    if (f.weight() >= QFont::DemiBold) out += " font-weight=\"bold\"";
    if (f.italic()) out += " font-style=\"italic\"";
    if (font->xScale != 1.0)
        out += " textLength=\"" + num(width) + "\" lengthAdjust=\"spacingAndGlyphs\"";
    out += " text-anchor=\"" + std::string(anchor) + "\" fill=\"" +
           hex(gdi_color(dc, dc->textColor)) + "\" xml:space=\"preserve\">" + escaped(text) +
           "</text>\n";
    element(w, clip, out);
}

std::string svg_document(HDC__ *dc)
{
    SvgWriter &w = *dc->svg;
    flush_lines(w);
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "
                      "xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      num(w.width) + "\" height=\"" + num(w.height) + "\" viewBox=\"0 0 " +
                      num(w.width) + ' ' + num(w.height) + "\" shape-rendering=\"crispEdges\">\n";
    if (!w.defs.empty()) doc += "<defs>\n" + w.defs + "</defs>\n";
    // The page starts white, unless the drawing filled it first.
    if (!w.pageFilled) doc += rect_element(0, 0, w.width, w.height, " fill=\"#ffffff\"");
    doc += w.body;
    if (w.openClip >= 0) doc += "</g>\n";
    doc += "</svg>\n";
    return doc;
}

bool svg_write_file(HDC__ *dc)
{
    if (!dc->svg || dc->svg->path.empty()) return true;
    const std::string doc = svg_document(dc);
    QFile file(QString::fromLocal8Bit(dc->svg->path.c_str()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(doc.data(), static_cast<qint64>(doc.size())) ==
           static_cast<qint64>(doc.size());
}
