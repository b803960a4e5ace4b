#include "views/plot_menu.h"

#include <cstring>
#include <string>

#include "optics/output_file.h"
#include "platform/clipboard.h"
#include "platform/dc.h"
#include "platform/filedlg.h"
#include "views/plot.h"
#include "views/plot_picture.h"
#include "views/quality_box.h"
#include "views/zernike_fit_box.h"

const char *pszPlotDataFile = nullptr;

namespace {

std::string szLastPicture;  // the picture saved last, for the next dialog's folder

RECT client_of(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

// The maps in menu order, with their items.
struct MapItem {
    UINT id;
    zColourMap map;
    const char *text;
};
constexpr MapItem kMapItems[] = {
    {IDM_MAP_VIRIDIS, zColourMap::Viridis, "&Viridis"},
    {IDM_MAP_GREY, zColourMap::Grey, "&Grey"},
    {IDM_MAP_DIVERGING, zColourMap::Diverging, "&Blue-White-Red"},
};

// "Colour Map" with the view's map checked and, for the PSF, "Logarithmic".
void AppendImageItems(HMENU menu, int kind, const ImageOptions &image)
{
    HMENU maps = CreatePopupMenu();
    for (const MapItem &item : kMapItems)
        AppendMenuA(
            maps, UINT(MF_STRING) | (item.map == image.map ? UINT(MF_CHECKED) : UINT(MF_UNCHECKED)),
            item.id, item.text);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<std::uintptr_t>(maps), "Colour &Map");
    if (ViewForKind(kind)->plot.source == PlotSource::PSF)
        AppendMenuA(menu,
                    UINT(MF_STRING) |
                        (ImageIsLogarithmic(image) ? UINT(MF_CHECKED) : UINT(MF_UNCHECKED)),
                    IDM_LOGARITHMIC, "&Logarithmic");
}

// Applies a chosen item to the view's options; true when it was one of theirs.
bool ChooseImageItem(UINT chosen, ImageOptions &image)
{
    for (const MapItem &item : kMapItems)
        if (chosen == item.id) {
            image.map = item.map;
            return true;
        }
    if (chosen != IDM_LOGARITHMIC) return false;
    image.logarithmic = !ImageIsLogarithmic(image);
    return true;
}

// The caption says "Log PSF vs. ..." for a logarithmic PSF, "PSF vs. ..." for a linear one.
void RetitleScale(HWND window, bool logarithmic)
{
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    const bool hasLog = std::strncmp(title, "Log ", 4) == 0;
    if (hasLog && !logarithmic) SetWindowTextA(window, title + 4);
    if (!hasLog && logarithmic) SetWindowTextA(window, (std::string("Log ") + title).c_str());
}

}  // namespace

LRESULT OnPlotContextMenu(HWND window, int kind, LPARAM lParam)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_SAVE_PICTURE, "&Save Picture As...");
    AppendMenuA(menu, MF_STRING, IDM_COPY_PICTURE, "&Copy Picture");
    if (ShowsImageQuality(kind)) AppendMenuA(menu, MF_STRING, IDM_IMAGE_QUALITY, kImageQualityItem);
    if (ShowsZernikeFit(kind)) AppendMenuA(menu, MF_STRING, IDM_ZERNIKE_FIT, kZernikeFitItem);
    ImageOptions *image = ImageOptionsFor(kind);
    if (image) AppendImageItems(menu, kind, *image);
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window, nullptr));
    DestroyMenu(menu);
    if (chosen == IDM_SAVE_PICTURE) SavePlotPicture(window, kind);
    if (chosen == IDM_COPY_PICTURE) CopyPlotPicture(window, kind);
    if (chosen == IDM_IMAGE_QUALITY) ShowImageQualityBox(window);
    if (chosen == IDM_ZERNIKE_FIT) ShowZernikeFitBox(window);
    if (image && ChooseImageItem(chosen, *image)) InvalidateRect(window, nullptr, TRUE);
    if (image && chosen == IDM_LOGARITHMIC) RetitleScale(window, ImageIsLogarithmic(*image));
    return 0;
}

BOOL SavePlotPicture(HWND window, int kind)
{
    static const char filter[] = "PNG Picture (*.png)\0*.png\0SVG Picture (*.svg)\0*.svg\0\0";
    char file[1024] = "";
    // The dialog opens where the last picture went, else beside the data file.
    const std::string last =
        !szLastPicture.empty() ? szLastPicture : (pszPlotDataFile ? pszPlotDataFile : "");
    const std::string folder = last.empty() ? "" : folder_of(last);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = "Save Picture As";
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    // A name typed without an ending gets that of the type chosen in the dialog, before the
    // dialog asks about replacing a file: the name it returns is the file written.
    ofn.lpstrDefExt = "png";
    if (!GetSaveFileNameA(&ofn)) return FALSE;

    // A known ending decides the format; any other ending leaves it to the chosen type.
    const std::string path = file;
    PictureFormat format = PictureFormatForPath(path);
    if (format == PictureFormat::None)
        format = ofn.nFilterIndex == 2 ? PictureFormat::Svg : PictureFormat::Png;
    const RECT client = client_of(window);
    std::string bytes, error;
    if (!PlotPicture(kind, client.right - client.left, client.bottom - client.top, format, bytes)) {
        MessageBoxA(window, "The picture could not be drawn: the view has no area.",
                    "Save Picture As", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!write_output_file(path, bytes, error, FifoWait::Never)) {
        MessageBoxA(window, ("The picture could not be written:\n" + error).c_str(),
                    "Save Picture As", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    szLastPicture = path;
    return TRUE;
}

BOOL CopyPlotPicture(HWND window, int kind)
{
    const RECT client = client_of(window);
    HDC image = CreateImageDC(client.right - client.left, client.bottom - client.top);
    if (!image) return FALSE;
    DrawPlotPicture(image, client, kind);
    HBITMAP bitmap = GetImageBitmap(image);
    DeleteDC(image);
    if (!bitmap || !OpenClipboard(window)) {
        if (bitmap) DeleteObject(bitmap);
        return FALSE;
    }
    EmptyClipboard();
    const bool put = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
    if (!put) DeleteObject(bitmap);
    CloseClipboard();
    return put ? TRUE : FALSE;
}
