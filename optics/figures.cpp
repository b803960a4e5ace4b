#include "optics/figures.h"

#include <deque>
#include <vector>

#include "optics/domains.h"
#include "optics/number_text.h"
#include "optics/transfer_function.h"

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
    {"mtf50_x", "MTF 50 % frequency along x", FigureUnit::Frequency, true, "MTF50X",
     "[FREQUNIT] where the MTF along x falls to 0.5",
     [](const ImageQuality &q) { return q.mtf50_x; }},
    {"mtf50_y", "MTF 50 % frequency along y", FigureUnit::Frequency, true, "MTF50Y",
     "[FREQUNIT] where the MTF along y falls to 0.5",
     [](const ImageQuality &q) { return q.mtf50_y; }},
    {"cutoff", "Cut-off frequency", FigureUnit::Frequency, true, "CUTOFF",
     "[FREQUNIT] cut-off frequency D / (lambda EFL)",
     [](const ImageQuality &q) { return std::optional<double>(q.cutoff); }},
};

// The table's own rows, then two for each report frequency; the texts the rows point to live
// as long as the list they were made for.
struct Table {
    std::vector<double> frequencies;
    std::deque<std::string> texts;
    std::vector<Figure> rows;
};

const char *keep(Table &table, std::string text)
{
    table.texts.push_back(std::move(text));
    return table.texts.back().c_str();
}

void add_frequency_rows(Table &table, std::size_t k)
{
    const std::string at = gN(table.frequencies[k], 9);
    for (const bool along_x : {true, false}) {
        const char *axis = along_x ? "x" : "y";
        Figure row{keep(table, std::string("mtf_") + axis + "@" + at),
                   keep(table, std::string("MTF along ") + axis + " at " + at),
                   FigureUnit::None,
                   true,
                   nullptr,
                   nullptr,
                   [k, along_x](const ImageQuality &q) {
                       const auto &values = along_x ? q.mtf_x_at : q.mtf_y_at;
                       return k < values.size() ? values[k] : std::nullopt;
                   }};
        table.rows.push_back(std::move(row));
    }
}

}  // namespace

std::span<const Figure> figure_table()
{
    static Table table;
    if (table.rows.empty() || table.frequencies != mtf_report_frequencies()) {
        table = Table{mtf_report_frequencies(), {}, {std::begin(kFigures), std::end(kFigures)}};
        for (std::size_t k = 0; k < table.frequencies.size(); k++) add_frequency_rows(table, k);
    }
    return table.rows;
}

std::string figure_csv_suffix(const Figure &figure)
{
    if (figure.unit == FigureUnit::Frequency) return std::string("_") + frequency_unit_csv();
    if (figure.unit != FigureUnit::PsfUnit) return "";
    return std::string("_") + psf_unit_name();
}

std::string figure_unit_text(const Figure &figure)
{
    switch (figure.unit) {
    case FigureUnit::PsfUnit: return psf_unit_words();
    case FigureUnit::Waves: return " waves";
    case FigureUnit::SamplesPerLambdaF: return " samples per lambda F";
    case FigureUnit::Frequency: return std::string(" ") + frequency_unit_name();
    case FigureUnit::None: break;
    }
    return "";
}
