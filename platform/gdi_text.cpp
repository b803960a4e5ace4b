// Fonts and text. A font is asked for by its cell height (ascent + descent) in pixels, or by
// its character height when the height is negative, and optionally by its average character
// width; a requested width is met by stretching the glyphs horizontally.
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QVarLengthArray>
#include <cmath>
#include <cstring>

#include "platform/gdi_qt.h"
#include "platform/qt_convert.h"

namespace {

constexpr int kDefaultPixelSize = 13;  // about 10 pt on a 96 dpi screen

HDC__ *state(HDC hdc) { return dc_valid(hdc) ? reinterpret_cast<HDC__ *>(hdc) : nullptr; }

// The installed metric-compatible families stand in for the classic face names.
QString family_for(const char *face)
{
    const QString name =
        QString::fromLatin1(face, static_cast<int>(strnlen(face, LF_FACESIZE))).trimmed();
    const QString lower = name.toLower();
    if (lower.isEmpty() || lower == "arial" || lower == "helvetica" || lower == "ms sans serif" ||
        lower == "system" || lower == "ms shell dlg")
        return QStringLiteral("Liberation Sans");
    if (lower == "times new roman" || lower == "times" || lower == "ms serif")
        return QStringLiteral("Liberation Serif");
    if (lower == "courier new" || lower == "courier") return QStringLiteral("Liberation Mono");
    return name;
}

int cell_height(const QFont &font)
{
    const QFontMetrics fm(font);
    return fm.ascent() + fm.descent();
}

// The largest pixel size whose cell is no taller than the requested height.
int pixel_size_for_cell(QFont font, int height)
{
    font.setPixelSize(1000);
    const double ratio = cell_height(font) / 1000.0;
    int px = std::max(1, static_cast<int>(std::lround(height / ratio)));
    font.setPixelSize(px);
    while (px > 1 && cell_height(font) > height) font.setPixelSize(--px);
    while (true) {
        font.setPixelSize(px + 1);
        if (cell_height(font) > height) break;
        ++px;
    }
    return px;
}

GdiObject *font_object(const QFont &font, const LOGFONTA &lf, double xScale)
{
    auto *o = new GdiObject;
    o->type = OBJ_FONT;
    o->font = font;
    o->logfont = lf;
    o->xScale = xScale;
    o->metrics = std::make_shared<QFontMetrics>(font);
    return o;
}

LOGFONTA logfont_of(const QFont &font)
{
    LOGFONTA lf{};
    const QFontMetrics fm(font);
    lf.lfHeight = fm.ascent() + fm.descent();
    lf.lfWidth = fm.averageCharWidth();
    lf.lfWeight = FW_NORMAL;
    lf.lfPitchAndFamily =
        static_cast<BYTE>(QFontInfo(font).fixedPitch() ? (int{FIXED_PITCH} | int{FF_MODERN})
                                                       : (int{VARIABLE_PITCH} | int{FF_SWISS}));
    const QByteArray family = QFontInfo(font).family().toLatin1();
    std::strncpy(lf.lfFaceName, family.constData(), LF_FACESIZE - 1);
    return lf;
}

GdiObject *dc_font(const HDC__ *dc)
{
    GdiObject *font = gdi_object(dc->font, OBJ_FONT);
    return font ? font : gdi_object(GetStockObject(SYSTEM_FONT), OBJ_FONT);
}

int text_width(GdiObject *font, const QString &text);

}  // namespace

// Glyph and advance of every single-byte character of a font. Text output places glyphs
// side by side with these advances, as a plain text-out call does: no shaping and no kerning,
// which also spares the toolkit a text layout per call (a table paints a few thousand).
struct GlyphTable {
    QRawFont raw;
    quint32 glyph[256] = {};
    qreal advance[256] = {};
    bool usable[256] = {};
};

namespace {

const GlyphTable &glyph_table(GdiObject *font)
{
    if (font->glyphs) return *font->glyphs;
    auto table = std::make_shared<GlyphTable>();
    table->raw = QRawFont::fromFont(font->font);
    if (table->raw.isValid()) {
        for (int c = 32; c < 256; c++) {
            if (c >= 127 && c < 160) continue;
            const QList<quint32> indexes = table->raw.glyphIndexesForString(QString(QChar(c)));
            if (indexes.size() != 1 || indexes[0] == 0) continue;
            table->glyph[c] = indexes[0];
            table->advance[c] = table->raw.advancesForGlyphIndexes(indexes).value(0).x();
            table->usable[c] = true;
        }
    }
    font->glyphs = table;
    return *table;
}

// True when every character of text has a glyph of its own in the table.
bool plain_text(const GlyphTable &table, const QString &text)
{
    for (QChar ch : text)
        if (ch.unicode() > 255 || !table.usable[ch.unicode()]) return false;
    return true;
}

int text_width(GdiObject *font, const QString &text)
{
    const GlyphTable &table = glyph_table(font);
    if (!plain_text(table, text))
        return static_cast<int>(
            std::lround(gdi_font_metrics(font).horizontalAdvance(text) * font->xScale));
    qreal width = 0;
    for (QChar ch : text) width += table.advance[ch.unicode()];
    return static_cast<int>(std::lround(width * font->xScale));
}

// Draws text with its baseline origin at the painter's (0, 0) in the font's own scale.
void draw_text_run(QPainter *p, GdiObject *font, const QString &text)
{
    const GlyphTable &table = glyph_table(font);
    if (!plain_text(table, text) || font->font.underline() || font->font.strikeOut()) {
        p->drawText(QPointF(0, 0), text);
        return;
    }
    QVarLengthArray<quint32, 64> glyphs;
    QVarLengthArray<QPointF, 64> positions;
    qreal x = 0;
    for (QChar ch : text) {
        glyphs.append(table.glyph[ch.unicode()]);
        positions.append(QPointF(x, 0));
        x += table.advance[ch.unicode()];
    }
    QGlyphRun run;
    run.setRawFont(table.raw);
    run.setRawData(glyphs.constData(), positions.constData(), static_cast<int>(glyphs.size()));
    p->drawGlyphRun(QPointF(0, 0), run);
}

}  // namespace

QFont platform_default_font()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kDefaultPixelSize);
    return font;
}

GdiObject *gdi_stock_font(int which)
{
    QFont font = platform_default_font();
    if (which == OEM_FIXED_FONT || which == ANSI_FIXED_FONT || which == SYSTEM_FIXED_FONT) {
        font = QFont(QStringLiteral("Liberation Mono"));
        font.setStyleHint(QFont::Monospace);
        font.setPixelSize(kDefaultPixelSize);
    }
    GdiObject *o = font_object(font, logfont_of(font), 1.0);
    o->stock = true;
    return o;
}

const QFontMetrics &gdi_font_metrics(GdiObject *font)
{
    if (!font->metrics) font->metrics = std::make_shared<QFontMetrics>(font->font);
    return *font->metrics;
}

HFONT CreateFontIndirectA(const LOGFONTA *lplf)
{
    if (!lplf) return nullptr;
    QFont font(family_for(lplf->lfFaceName));
    font.setStyleHint(QFont::SansSerif);
    if (lplf->lfHeight > 0)
        font.setPixelSize(pixel_size_for_cell(font, static_cast<int>(lplf->lfHeight)));
    else if (lplf->lfHeight < 0)
        font.setPixelSize(static_cast<int>(-lplf->lfHeight));
    else
        font.setPixelSize(kDefaultPixelSize);
    const int weight = lplf->lfWeight <= 0 ? FW_NORMAL : std::min<int>(lplf->lfWeight, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(lplf->lfItalic != 0);
    font.setUnderline(lplf->lfUnderline != 0);
    font.setStrikeOut(lplf->lfStrikeOut != 0);
    double xScale = 1.0;
    if (lplf->lfWidth > 0) {
        const int natural = QFontMetrics(font).averageCharWidth();
        if (natural > 0) xScale = static_cast<double>(lplf->lfWidth) / natural;
    }
    return gdi_handle<HFONT>(gdi_register(font_object(font, *lplf, xScale)));
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    HDC__ *dc = state(hdc);
    if (!dc || !lpString || c < 0) return FALSE;
    const QString text = toQString(lpString, c);
    gdi_record(dc, RecordedKind::Text, {POINT{x, y}},
               std::string(lpString, static_cast<std::size_t>(c)));
    QPainter *p = gdi_painter(dc);
    if ((!p && !dc->svg) || c == 0) return TRUE;
    GdiObject *font = dc_font(dc);
    const QFontMetrics &fm = gdi_font_metrics(font);
    const int width = text_width(font, text);

    int left = x;
    if ((dc->textAlign & TA_CENTER) == TA_CENTER)
        left = x - width / 2;
    else if (dc->textAlign & TA_RIGHT)
        left = x - width;
    int baseline = y + fm.ascent();
    if ((dc->textAlign & TA_BASELINE) == TA_BASELINE)
        baseline = y;
    else if (dc->textAlign & TA_BOTTOM)
        baseline = y - fm.descent();

    if (dc->svg) {
        svg_text(dc, x, baseline, left, width, fm.ascent() + fm.descent(), font, text);
        return TRUE;
    }

    // A table paints every cell of its array; most fall outside the part being painted.
    const QRect cell(left, baseline - fm.ascent(), width, fm.ascent() + fm.descent());
    const QRect visible = dc->hasClip ? dc->clip.intersected(dc->paintRect) : dc->paintRect;
    const int slack = fm.maxWidth();  // overhanging glyphs, italics
    if (!cell.adjusted(-slack, -slack, slack, slack).intersects(visible)) return TRUE;

    if (dc->bkMode == OPAQUE) p->fillRect(cell, gdi_color(dc, dc->bkColor));
    p->setPen(gdi_color(dc, dc->textColor));
    p->setFont(font->font);
    const QTransform saved = p->worldTransform();
    p->translate(left, baseline);
    if (font->xScale != 1.0) p->scale(font->xScale, 1.0);
    draw_text_run(p, font, text);
    p->setWorldTransform(saved);
    return TRUE;
}

BOOL GetTextExtentPointA(HDC hdc, LPCSTR lpString, int c, SIZE *lpsz)
{
    const HDC__ *dc = state(hdc);
    if (!dc || !lpString || c < 0 || !lpsz) return FALSE;
    GdiObject *font = dc_font(dc);
    const QFontMetrics &fm = gdi_font_metrics(font);
    lpsz->cx = c == 0 ? 0 : text_width(font, toQString(lpString, c));
    lpsz->cy = fm.ascent() + fm.descent();
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, SIZE *lpsz)
{
    return GetTextExtentPointA(hdc, lpString, c, lpsz);
}

BOOL GetTextMetricsA(HDC hdc, TEXTMETRICA *lptm)
{
    const HDC__ *dc = state(hdc);
    if (!dc || !lptm) return FALSE;
    GdiObject *font = dc_font(dc);
    const QFontMetrics &fm = gdi_font_metrics(font);
    const bool fixed = QFontInfo(font->font).fixedPitch();
    TEXTMETRICA tm{};
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - font->font.pixelSize());
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = std::lround(fm.averageCharWidth() * font->xScale);
    tm.tmMaxCharWidth = std::lround(fm.maxWidth() * font->xScale);
    tm.tmWeight = font->font.weight();
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 32;
    tm.tmLastChar = 255;
    tm.tmDefaultChar = 31;
    tm.tmBreakChar = 32;
    tm.tmItalic = font->font.italic() ? 1 : 0;
    tm.tmUnderlined = font->font.underline() ? 1 : 0;
    tm.tmStruckOut = font->font.strikeOut() ? 1 : 0;
    // The pitch bit is named backwards: it is set for a variable-pitch font. 0x04: outline font.
    tm.tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : int{TMPF_FIXED_PITCH}) | 0x04 |
                                            (fixed ? int{FF_MODERN} : int{FF_SWISS}));
    tm.tmCharSet = ANSI_CHARSET;
    *lptm = tm;
    return TRUE;
}
