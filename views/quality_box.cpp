#include "views/quality_box.h"

#include "optics/figures.h"
#include "views/registry.h"
#include "views/zernike_fit_box.h"

bool ShowsImageQuality(int kind)
{
    for (const ViewEntry &view : kViewRegistry)
        if (view.kind == kind) return view.needsPSF;
    return false;
}

std::string ImageQualityText()
{
    const ImageQuality q = image_quality();
    std::string text;
    for (const Figure &figure : figure_table()) {
        const std::optional<double> value = figure.value(q);
        text += std::string(figure.label) + ": " + figure_text(value);
        if (value) text += figure_unit_text(figure);
        text += "\n";
    }
    for (const std::string &warning : image_quality_warnings(q)) text += "\n" + warning + "\n";
    text.pop_back();  // no line end after the last line
    return text;
}

void ShowImageQualityBox(HWND window)
{
    MessageBoxA(window, ImageQualityText().c_str(), "Image Quality", MB_OK | MB_ICONINFORMATION);
}

LRESULT OnTableContextMenu(HWND window, int kind, LPARAM lParam)
{
    const bool quality = ShowsImageQuality(kind), fit = ShowsZernikeFit(kind);
    if (!quality && !fit) return 0;
    HMENU menu = CreatePopupMenu();
    if (quality) AppendMenuA(menu, MF_STRING, IDM_IMAGE_QUALITY, kImageQualityItem);
    if (fit) AppendMenuA(menu, MF_STRING, IDM_ZERNIKE_FIT, kZernikeFitItem);
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window, nullptr));
    DestroyMenu(menu);
    if (chosen == IDM_IMAGE_QUALITY) ShowImageQualityBox(window);
    if (chosen == IDM_ZERNIKE_FIT) ShowZernikeFitBox(window);
    return 0;
}
