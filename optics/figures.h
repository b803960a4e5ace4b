// The table of figures of merit: one row per figure, read by every writer (the batch job's
// "name: value" lines, the CSV columns of a sweep, the Image Quality box, the FITS header).
// A new figure is a new row here and a field in ImageQuality. The MTF at the frequencies asked
// for (mtf_report_frequencies()) follows as two rows per frequency, mtf_x@F and mtf_y@F.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>

#include "optics/image_quality.h"

enum class FigureUnit {
    None,               // a ratio
    PsfUnit,            // the PSF unit of nCurrentPSFUnits
    Waves,              // waves of optical path
    SamplesPerLambdaF,  // PSF samples per lambda F
    Frequency,          // the frequency unit of the MTF (cycles/mm, cycles/mrad, cycles/arcsec)
};

struct Figure {
    const char *name;   // in the batch lines and the CSV header
    const char *label;  // for people, in the Image Quality box
    FigureUnit unit;
    bool inCsv;               // a column of a sweep's CSV
    const char *fitsKeyword;  // a card of the FITS header, or nullptr
    const char *fitsComment;
    std::function<std::optional<double>(const ImageQuality &)> value;
};

// The figures in the order every writer lists them; valid until the report frequencies change.
std::span<const Figure> figure_table();

// The unit after a figure's name in a CSV column ("_um"), empty for a figure without one.
std::string figure_csv_suffix(const Figure &figure);

// The unit after a figure's value for people (" microns", " waves"), empty for a ratio.
std::string figure_unit_text(const Figure &figure);
