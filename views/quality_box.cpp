#include "views/quality_box.h"

#include <cstring>
#include <optional>

#include "optics/image_quality.h"
#include "views/registry.h"

bool ShowsImageQuality(int kind)
{
    for (const ViewEntry &view : kViewRegistry)
        if (view.kind == kind) return view.needsPSF;
    return false;
}

namespace {

// What a figure is measured in, as the windows name it.
enum class FigureUnit { None, Psf, SamplesPerLambdaF, Waves };

// The figures in the box's order: the name the batch job and the CSV print, and the label
// people read in the box.
struct FigureLabel {
    const char *name;
    const char *label;
    FigureUnit unit;
};
constexpr FigureLabel kFigureLabels[] = {
    {"strehl", "Strehl ratio", FigureUnit::None},
    {"fwhm_x", "FWHM along x", FigureUnit::Psf},
    {"fwhm_y", "FWHM along y", FigureUnit::Psf},
    {"ee50_radius", "Encircled energy 50 % radius", FigureUnit::Psf},
    {"ee80_radius", "Encircled energy 80 % radius", FigureUnit::Psf},
    {"sampling_q", "Sampling Q", FigureUnit::SamplesPerLambdaF},
    {"max_phase_step", "Largest phase step between samples", FigureUnit::Waves},
};

// The PSF unit as the batch job writes it, and as the windows say it.
constexpr struct { const char *name, *label; } kPsfUnitLabels[] = {
    {"um", " microns"}, {"mrad", " milliradians"}, {"arcsec", " arc seconds"},
};

const char *unit_text(FigureUnit unit)
{
    switch (unit) {
    case FigureUnit::Psf:
        for (const auto &psf : kPsfUnitLabels)
            if (!std::strcmp(psf.name, psf_unit_name())) return psf.label;
        return "";
    case FigureUnit::SamplesPerLambdaF: return " samples per lambda F";
    case FigureUnit::Waves: return " waves";
    case FigureUnit::None: break;
    }
    return "";
}

std::optional<double> figure_value(const ImageQuality &q, const std::string &name)
{
    if (name == "strehl") return q.strehl;
    if (name == "fwhm_x") return q.fwhm_x;
    if (name == "fwhm_y") return q.fwhm_y;
    if (name == "ee50_radius") return q.ee50_radius;
    if (name == "ee80_radius") return q.ee80_radius;
    if (name == "sampling_q") return q.sampling_q;
    if (name == "max_phase_step") return q.max_phase_step;
    return std::nullopt;
}

}  // namespace

std::string ImageQualityText()
{
    const ImageQuality q = image_quality();
    std::string text;
    for (const FigureLabel &figure : kFigureLabels) {
        const std::string value = figure_text(figure_value(q, figure.name));
        const char *unit = value == "n/a" ? "" : unit_text(figure.unit);
        text += std::string(figure.label) + ": " + value + unit + "\n";
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
    if (!ShowsImageQuality(kind)) return 0;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, IDM_IMAGE_QUALITY, kImageQualityItem);
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, window, nullptr));
    DestroyMenu(menu);
    if (chosen == IDM_IMAGE_QUALITY) ShowImageQualityBox(window);
    return 0;
}
