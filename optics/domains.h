// Physical scales of the sampled arrays and the plotted index window.
#pragma once

// Pupil and far-field steps and extents (XPupilStep, pupil_graph_extent, XPSFStep,
// psf_graph_extent, ...) in millimetres and in the far-field unit nCurrentPSFUnits.
void set_domains();
// istart/istop/jstart/jstop from izoom: 1 the whole grid, 2 its central quarter.
void SetZoom();

// The far-field unit of nCurrentPSFUnits: the short name written after a figure ("um", "mrad",
// "arcsec") and the words the windows use (" microns", " milliradians", " arc seconds").
const char *psf_unit_name();
const char *psf_unit_words();

// All the names of the unit of nCurrentPSFUnits: the two above, then those of the frequencies
// along it, for people ("cycles/mm", a PSF in microns having its frequencies per millimetre)
// and as a CSV column's ending ("cy_per_mm").
struct PsfUnitNames {
    const char *name, *words, *frequency, *frequency_csv;
};
const PsfUnitNames &psf_unit_names();
