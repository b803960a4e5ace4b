#include "optics/figures.h"

#include "optics/domains.h"

namespace {

const Figure kFigures[] = {
    {"strehl", "Strehl ratio", FigureUnit::None, true, "STREHL",
     "Strehl: PSF peak / diffraction-limited peak", [](const ImageQuality &q) { return q.strehl; }},
    {"fwhm_x", "FWHM along x", FigureUnit::PsfUnit, true, nullptr, nullptr,
     [](const ImageQuality &q) { return q.fwhm_x; }},
    {"fwhm_y", "FWHM along y", FigureUnit::PsfUnit, true, nullptr, nullptr,
     [](const ImageQuality &q) { return q.fwhm_y; }},
    {"ee50_radius", "Encircled energy 50 % radius", FigureUnit::PsfUnit, true, nullptr, nullptr,
     [](const ImageQuality &q) { return q.ee50_radius; }},
    {"ee80_radius", "Encircled energy 80 % radius", FigureUnit::PsfUnit, true, nullptr, nullptr,
     [](const ImageQuality &q) { return q.ee80_radius; }},
    {"sampling_q", "Sampling Q", FigureUnit::SamplesPerLambdaF, false, "SAMPLING",
     "PSF samples per lambda F",
     [](const ImageQuality &q) { return std::optional<double>(q.sampling_q); }},
    {"max_phase_step", "Largest phase step between samples", FigureUnit::Waves, false, nullptr,
     nullptr, [](const ImageQuality &q) { return std::optional<double>(q.max_phase_step); }},
};

}  // namespace

std::span<const Figure> figure_table() { return kFigures; }

std::string figure_csv_suffix(const Figure &figure)
{
    if (figure.unit != FigureUnit::PsfUnit) return "";
    return std::string("_") + psf_unit_name();
}

std::string figure_unit_text(const Figure &figure)
{
    switch (figure.unit) {
    case FigureUnit::PsfUnit: return psf_unit_words();
    case FigureUnit::Waves: return " waves";
    case FigureUnit::SamplesPerLambdaF: return " samples per lambda F";
    case FigureUnit::None: break;
    }
    return "";
}
