// Device contexts: a window's paint context around its painter, a measuring context, an image,
// an SVG file and the recording context; and the per-context drawing state.
#include <QApplication>
#include <QBuffer>

#include "platform/app.h"
#include "platform/gdi_qt.h"

namespace {

// Fonts and painters need an application object. The program makes one at start-up; a test
// or a tool that only draws into images gets one here, headless when there is no display.
void ensure_application()
{
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvinta";
    static char *argv[] = {name, nullptr};
    route_toolkit_messages();
    new QApplication(argc,
                     argv);  // lives for the rest of the run; QCoreApplication::instance() finds it
    keep_c_number_format();
}

void start_painter(HDC__ *dc, QPaintDevice *device)
{
    dc->ownPainter = std::make_unique<QPainter>(device);
    dc->painter = dc->ownPainter.get();
    dc->painter->setRenderHint(QPainter::Antialiasing, false);
    dc->painter->setRenderHint(QPainter::TextAntialiasing, false);
}

HDC__ *image_context(int width, int height)
{
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return nullptr;
    ensure_application();
    auto *dc = new HDC__;
    dc->kind = HDC__::Kind::Image;
    dc->image = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
    if (dc->image->isNull()) {
        delete dc;
        return nullptr;
    }
    dc->image->fill(Qt::white);
    dc->width = width;
    dc->height = height;
    dc->paintRect = QRect(0, 0, width, height);
    start_painter(dc, dc->image.get());
    return dc;
}

HDC__ *state(HDC hdc) { return dc_valid(hdc) ? reinterpret_cast<HDC__ *>(hdc) : nullptr; }

// An image is read with its painter ended (pending drawing finished); drawing then goes on.
void resume_painting(HDC__ *dc)
{
    dc->painter->begin(dc->image.get());
    dc->painter->setRenderHint(QPainter::Antialiasing, false);
    dc->painter->setRenderHint(QPainter::TextAntialiasing, false);
    if (dc->hasClip) dc->painter->setClipRect(dc->clip);
}

}  // namespace

HDC CreateImageDC(int width, int height)
{
    HDC__ *dc = image_context(width, height);
    return dc ? dc_register(dc) : nullptr;
}

HDC CreateRecordingDC(int width, int height)
{
    HDC__ *dc = image_context(width, height);
    if (!dc) return nullptr;
    dc->kind = HDC__::Kind::Recording;
    dc->record = new std::vector<RecordedOp>;
    return dc_register(dc);
}

HDC CreateSvgDC(int width, int height, const char *svg_path)
{
    if (width <= 0 || height <= 0) return nullptr;
    ensure_application();  // fonts measure text
    auto *dc = new HDC__;
    dc->kind = HDC__::Kind::Svg;
    dc->width = width;
    dc->height = height;
    dc->paintRect = QRect(0, 0, width, height);
    svg_start(dc, width, height, svg_path);
    return dc_register(dc);
}

BOOL GetSvgDocument(HDC hdc, std::string *svg)
{
    HDC__ *dc = state(hdc);
    if (!dc || !dc->svg || !svg) return FALSE;
    *svg = svg_document(dc);
    return TRUE;
}

BOOL GetImagePng(HDC hdc, std::string *png)
{
    HDC__ *dc = state(hdc);
    if (!dc || !dc->image || !png) return FALSE;
    dc->painter->end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool ok = dc->image->save(&buffer, "PNG");
    resume_painting(dc);
    if (ok) png->assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return ok ? TRUE : FALSE;
}

HBITMAP GetImageBitmap(HDC hdc)
{
    HDC__ *dc = state(hdc);
    if (!dc || !dc->image) return nullptr;
    dc->painter->end();
    HBITMAP bitmap = bitmap_from_qimage(*dc->image);
    resume_painting(dc);
    return bitmap;
}

BOOL SaveImageDC(HDC hdc, const char *png_path)
{
    HDC__ *dc = state(hdc);
    if (!dc || !dc->image || !png_path) return FALSE;
    // Finish pending drawing before reading the image; drawing may go on afterwards.
    dc->painter->end();
    const bool ok = dc->image->save(QString::fromLocal8Bit(png_path), "PNG");
    resume_painting(dc);
    return ok ? TRUE : FALSE;
}

BOOL DeleteDC(HDC hdc)
{
    HDC__ *dc = state(hdc);
    if (!dc || dc->kind == HDC__::Kind::Paint) return FALSE;
    if (dc->ownPainter) dc->ownPainter->end();
    const bool written = svg_write_file(dc);
    dc_release(hdc);
    return written ? TRUE : FALSE;
}

HDC dc_create_for_painter(QPainter *painter, int width, int height)
{
    if (!painter) return nullptr;
    auto *dc = new HDC__;
    dc->kind = HDC__::Kind::Paint;
    dc->painter = painter;
    dc->width = width;
    dc->height = height;
    dc->paintRect = QRect(0, 0, width, height);
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setRenderHint(QPainter::TextAntialiasing, false);
    return dc_register(dc);
}

void dc_set_paint_rect(HDC hdc, const QRect &update)
{
    if (HDC__ *dc = state(hdc))
        dc->paintRect = update.intersected(QRect(0, 0, dc->width, dc->height));
}

HDC dc_create_for_measuring()
{
    ensure_application();
    auto *dc = new HDC__;
    dc->kind = HDC__::Kind::Measuring;
    return dc_register(dc);
}

void dc_destroy(HDC hdc)
{
    HDC__ *dc = state(hdc);
    if (!dc) return;
    if (dc->kind == HDC__::Kind::Paint && dc->painter) dc->painter->setClipping(false);
    if (dc->ownPainter) dc->ownPainter->end();
    dc_release(hdc);
}

// ---- Drawing state --------------------------------------------------------------------------

COLORREF SetTextColor(HDC hdc, COLORREF color)
{
    HDC__ *dc = state(hdc);
    if (!dc) return CLR_INVALID;
    std::swap(dc->textColor, color);
    return color;
}

COLORREF GetTextColor(HDC hdc)
{
    const HDC__ *dc = state(hdc);
    return dc ? dc->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF color)
{
    HDC__ *dc = state(hdc);
    if (!dc) return CLR_INVALID;
    std::swap(dc->bkColor, color);
    return color;
}

COLORREF GetBkColor(HDC hdc)
{
    const HDC__ *dc = state(hdc);
    return dc ? dc->bkColor : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode)
{
    HDC__ *dc = state(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    std::swap(dc->bkMode, mode);
    return mode;
}

int GetBkMode(HDC hdc)
{
    const HDC__ *dc = state(hdc);
    return dc ? dc->bkMode : 0;
}

UINT SetTextAlign(HDC hdc, UINT align)
{
    HDC__ *dc = state(hdc);
    if (!dc) return static_cast<UINT>(GDI_ERROR);
    std::swap(dc->textAlign, align);
    return align;
}

UINT GetTextAlign(HDC hdc)
{
    const HDC__ *dc = state(hdc);
    return dc ? dc->textAlign : static_cast<UINT>(GDI_ERROR);
}

int SetPolyFillMode(HDC hdc, int mode)
{
    HDC__ *dc = state(hdc);
    if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
    std::swap(dc->polyFillMode, mode);
    return mode;
}

int GetPolyFillMode(HDC hdc)
{
    const HDC__ *dc = state(hdc);
    return dc ? dc->polyFillMode : 0;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT *lppt)
{
    HDC__ *dc = state(hdc);
    if (!dc) return FALSE;
    if (lppt) *lppt = dc->current;
    dc->current = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, POINT *lppt)
{
    const HDC__ *dc = state(hdc);
    if (!dc || !lppt) return FALSE;
    *lppt = dc->current;
    return TRUE;
}
