// Raster blits of device-independent bitmaps: the source rectangle is scaled to the
// destination by repeating whole pixels, never by blending, so a picture of samples keeps one
// flat colour per sample whatever the size of the window.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gdi_qt.h"

namespace {

HDC__ *state(HDC hdc) { return dc_valid(hdc) ? reinterpret_cast<HDC__ *>(hdc) : nullptr; }

// Source index of each destination index along one side: k * source / destination.
std::vector<int> nearest(int destination, int source)
{
    std::vector<int> map(static_cast<std::size_t>(destination));
    for (int k = 0; k < destination; ++k)
        map[static_cast<std::size_t>(k)] =
            static_cast<int>(static_cast<long long>(k) * source / destination);
    return map;
}

// The source rectangle as an opaque image, rows top-down.
QImage source_image(const BITMAPINFOHEADER &h, const void *bits, int x0, int y0, int w, int hgt)
{
    const int rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const auto *pixels = static_cast<const std::uint32_t *>(bits);
    QImage image(w, hgt, QImage::Format_RGB32);
    for (int y = 0; y < hgt; ++y) {
        const int row = y0 + y;  // counted from the top of the picture
        const int stored = h.biHeight < 0 ? row : rows - 1 - row;
        const std::uint32_t *from = pixels + static_cast<std::size_t>(stored) * h.biWidth + x0;
        auto *to = reinterpret_cast<std::uint32_t *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) to[x] = 0xFF000000u | (from[x] & 0x00FFFFFFu);
    }
    return image;
}

// Writes the source scaled to dest into the part `visible` of the target image, line by line:
// a line that repeats the source row of the line above is copied from it.
void stretch_into(QImage &target, const QRect &dest, const QRect &visible, const QImage &source)
{
    const std::vector<int> columns = nearest(dest.width(), source.width());
    const std::vector<int> rows = nearest(dest.height(), source.height());
    const int x0 = visible.left() - dest.left(), width = visible.width();
    int lastRow = -1;
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        auto *to = reinterpret_cast<std::uint32_t *>(target.scanLine(y)) + visible.left();
        const int row = rows[static_cast<std::size_t>(y - dest.top())];
        if (row == lastRow) {
            std::memcpy(to, target.constScanLine(y - 1) + 4 * visible.left(),
                        static_cast<std::size_t>(width) * 4);
            continue;
        }
        const auto *from = reinterpret_cast<const std::uint32_t *>(source.constScanLine(row));
        for (int x = 0; x < width; ++x) to[x] = from[columns[static_cast<std::size_t>(x0 + x)]];
        lastRow = row;
    }
}

// Draws the scaled source. An image context without a transformation takes the pixels
// straight into its picture; a window's paint goes through the painter.
void draw(HDC__ *dc, QPainter *p, const QRect &dest, const QImage &source)
{
    QImage *image = dc->image.get();
    const bool direct =
        image && image->format() == QImage::Format_RGB32 && p->transform().isIdentity();
    if (!direct) {
        QImage out(dest.size(), QImage::Format_RGB32);
        stretch_into(out, QRect(QPoint(0, 0), dest.size()), out.rect(), source);
        p->drawImage(dest.topLeft(), out);
        return;
    }
    QRect visible = dest.intersected(image->rect());
    if (dc->hasClip) visible = visible.intersected(dc->clip);
    if (!visible.isEmpty()) stretch_into(*image, dest, visible, source);
}

}  // namespace

int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                  int SrcWidth, int SrcHeight, const void *lpBits, const BITMAPINFO *lpbmi,
                  UINT iUsage, DWORD rop)
{
    HDC__ *dc = state(hdc);
    if (!dc || !lpBits || !lpbmi || iUsage != DIB_RGB_COLORS || rop != SRCCOPY) return 0;
    const BITMAPINFOHEADER &h = lpbmi->bmiHeader;
    const long rows = h.biHeight < 0 ? -static_cast<long>(h.biHeight) : h.biHeight;
    if (h.biBitCount != 32 || h.biCompression != BI_RGB || h.biWidth <= 0 || rows <= 0) return 0;
    if (DestWidth <= 0 || DestHeight <= 0 || SrcWidth <= 0 || SrcHeight <= 0 || xSrc < 0 ||
        ySrc < 0 || xSrc + SrcWidth > h.biWidth || ySrc + SrcHeight > rows)
        return 0;
    const QImage source = source_image(h, lpBits, xSrc, ySrc, SrcWidth, SrcHeight);
    gdi_record_bitmap(dc, RECT{xDest, yDest, xDest + DestWidth, yDest + DestHeight}, source);
    if (QPainter *p = gdi_painter(dc))
        draw(dc, p, QRect(xDest, yDest, DestWidth, DestHeight), source);
    return SrcHeight;
}
