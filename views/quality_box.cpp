#include "views/quality_box.h"

#include "optics/image_quality.h"
#include "views/registry.h"

bool ShowsImageQuality(int kind)
{
    for (const ViewEntry &view : kViewRegistry)
        if (view.kind == kind) return view.needsPSF;
    return false;
}

std::string ImageQualityText()
{
    const ImageQuality q = image_quality();
    const std::string unit = std::string(" ") + psf_unit_name();
    const auto line = [](const char *name, const std::string &value, const std::string &suffix) {
        return std::string(name) + ": " + value + (value == "n/a" ? "" : suffix) + "\n";
    };
    std::string text = line("strehl", figure_text(q.strehl), "");
    text += line("fwhm_x", figure_text(q.fwhm_x), unit);
    text += line("fwhm_y", figure_text(q.fwhm_y), unit);
    text += line("ee50_radius", figure_text(q.ee50_radius), unit);
    text += line("ee80_radius", figure_text(q.ee80_radius), unit);
    text += line("sampling_q", figure_text(q.sampling_q), " samples per lambda F");
    text += line("max_phase_step", figure_text(q.max_phase_step), " wave");
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
    if (!ShowsImageQuality(kind)) return 0;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_IMAGE_QUALITY, kImageQualityItem);
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window, nullptr));
    DestroyMenu(menu);
    if (chosen == IDM_IMAGE_QUALITY) ShowImageQualityBox(window);
    return 0;
}
