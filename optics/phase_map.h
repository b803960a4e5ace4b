// A measured wavefront: a map of optical path differences from an interferometer or a
// wavefront sensor, read from a FITS image or a text grid and added to the pupil phase.
//
// The map spans the pupil's bounding square: its first and last columns lie on the pupil's
// outermost samples along x (the first array index), its first and last rows on the same
// offsets along y, the square's centre on the grid's centre. Columns run along x and rows
// along y, both from the lowest coordinate: in a FITS image the first pixel of the file, in a
// text grid the first number of the first line. Each pupil sample takes the bilinear
// interpolation of the four map samples around it; a NaN among them ("no data") darkens the
// sample. The values are optical path in waves at `wavelength`, or in nm, um or m and then
// divided by the wavelength, and are scaled by `phasemapscale` when `HasPhaseMap` is 1.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class PhaseMapUnit { Waves, Nm, Um, M };

// The largest side a map may have, in samples.
constexpr int MOST_PHASE_MAP_SIDE = 8192;

struct PhaseMapGrid {
    int width = 0, height = 0;  // columns (along x), rows (along y)
    std::vector<float> values;  // row by row; NaN where there is no data
    PhaseMapUnit unit = PhaseMapUnit::Waves;
};

// "waves", "nm", "um", "m" (any case; "wave" and "micron" too).
std::optional<PhaseMapUnit> phase_map_unit_named(const std::string &name);

// A text grid: numbers separated by blanks or commas, one row per line, "#" comments, an
// optional "# unit: nm" line; "nan" for no data. Returns "" or "line N: reason".
std::string parse_phase_map_text(const std::string &text, PhaseMapGrid &grid);

// Reads the first image with data from the bytes of a FITS file, its unit from BUNIT. Returns
// "" or "HDU N: reason". The FITS library supplies it; without it FITS files are refused.
using FitsImageReader = std::string (*)(const std::string &bytes, PhaseMapGrid &grid);
void set_fits_image_reader(FitsImageReader reader);

// The checksum kept with the map's path: 16 hex digits of the FNV-1a 64-bit hash of the bytes.
std::string phase_map_checksum(const std::string &bytes);

// Reads the map at path (a FITS file when it starts with a SIMPLE card, else a text grid) and
// makes it the pupil's map, with HasPhaseMap set to 1. Returns "" or "PATH: reason" (with the
// line or HDU); on a refusal nothing changes.
std::string load_phase_map(const std::string &path);
// The setting phasemap=PATH: as load_phase_map, but a file this process has read already is
// taken from that reading, so that every row of a sweep sees the same map.
std::string set_phase_map_setting(const std::string &path);
// The setting phasemapsum=HEX: refuses when no map is set or its file's checksum is another.
std::string check_phase_map_checksum(const std::string &checksum);

// Why the settings cannot be computed as they stand: HasPhaseMap is 1 without a map. "" or the
// one-line refusal.
std::string phase_map_problem();

// The map the pupil uses (its path made absolute): its path and checksum ("" when there is none)
// and its grid.
const std::string &phase_map_path();
const std::string &phase_map_sum();
const PhaseMapGrid *phase_map_grid();
// Forgets the map (the start-up settings have none); a later phasemap=PATH of the same file
// still takes it from the reading.
void clear_phase_map();

// The map's phase in waves at `wavelength` (scale included) at every grid sample, [i][j] with
// i, j from 1 to 128 as the field arrays; NaN where the map has no data. Empty without a map.
std::vector<float> resampled_phase_map();
