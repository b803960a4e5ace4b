#include "optics/phase_map.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <strings.h>

#include "optics/input_file.h"
#include "optics/pupil.h"
#include "optics/settings.h"

namespace {

constexpr float NO_DATA = std::numeric_limits<float>::quiet_NaN();
// The largest file read: an 8192 x 8192 map of doubles is 512 MiB, of text cells some 20 bytes
// each, 1.3 GiB.
constexpr std::size_t MOST_BYTES = std::size_t{1} << 31;

struct LoadedMap {
    std::string path, sum;
    PhaseMapGrid grid;
};

// The map the pupil uses (null for none), and the last file read, kept when the settings
// forget the map. Both may share one reading.
std::shared_ptr<const LoadedMap> current;
std::shared_ptr<const LoadedMap> last_read;

FitsImageReader fits_reader = nullptr;

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string trim(const std::string &text)
{
    std::size_t first = 0, last = text.size();
    while (first < last && is_blank(text[first])) first++;
    while (last > first && is_blank(text[last - 1])) last--;
    return text.substr(first, last - first);
}

// "unit: nm" in a comment (the text after '#'); empty when the comment says nothing of units.
bool unit_comment(const std::string &comment, std::string &unit)
{
    const std::string body = trim(comment);
    if (body.size() < 5 || strncasecmp(body.c_str(), "unit", 4) != 0) return false;
    const std::string rest = trim(body.substr(4));
    if (rest.empty() || (rest[0] != ':' && rest[0] != '=')) return false;
    unit = trim(rest.substr(1));
    return true;
}

// A decimal "[-]digits[.digits][e[sign]digits]" with at most 19 significant digits and a
// power of ten within 10^+-22, read quickly: the digits make a whole number (rounded once to a
// double) and the power is exact, so the value is within a double's rounding of the true one,
// far below what the float it becomes can tell. false for other forms, left to from_chars.
bool short_decimal(const char *first, const char *last, double &value)
{
    static constexpr double POWERS[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool negative = first < last && *first == '-';
    const char *p = negative ? first + 1 : first;
    std::uint64_t digits = 0;
    int count = 0, power = 0;
    bool point = false;
    for (; p < last && *p != 'e' && *p != 'E'; p++) {
        if (*p == '.' && !point) {
            point = true;
        } else if (*p < '0' || *p > '9' || count == 19) {
            return false;
        } else {
            digits = digits * 10 + (*p - '0');
            count += digits > 0 ? 1 : 0;  // leading zeros are not significant
            power -= point ? 1 : 0;
        }
    }
    if (p == (negative ? first + 1 : first) || (p - first == 1 + negative && point)) return false;
    if (p < last) {  // the exponent: a sign and one to three digits
        const bool down = ++p < last && *p == '-';
        if (p < last && (*p == '-' || *p == '+')) p++;
        int exponent = 0, exponent_digits = 0;
        for (; p < last && *p >= '0' && *p <= '9' && exponent_digits < 3; p++, exponent_digits++)
            exponent = exponent * 10 + (*p - '0');
        if (p != last || exponent_digits == 0) return false;
        power += down ? -exponent : exponent;
    }
    if (power < -22 || power > 22) return false;
    const double whole = static_cast<double>(digits);
    const double magnitude = power < 0 ? whole / POWERS[-power] : whole * POWERS[power];
    value = negative ? -magnitude : magnitude;
    return true;
}

// One cell: a decimal number, or "nan" for no data. false for anything else, infinities too.
bool read_cell(const char *first, const char *last, float &value)
{
    if (last - first == 3 && strncasecmp(first, "nan", 3) == 0) {
        value = NO_DATA;
        return true;
    }
    if (first < last && *first == '+') first++;
    double number = 0;
    if (!short_decimal(first, last, number)) {
        const auto [end, error] = std::from_chars(first, last, number, std::chars_format::general);
        if (end != last || error != std::errc() || !std::isfinite(number)) return false;
    }
    const float held = static_cast<float>(number);
    if (!std::isfinite(held)) return false;
    value = held;
    return true;
}

std::string line_problem(long line, const std::string &reason)
{
    return "line " + std::to_string(line) + ": " + reason;
}

// The path a map is kept by: absolute, without "." and ".." steps.
std::string absolute_path(const std::string &path)
{
    std::error_code ignored;
    const std::string absolute =
        std::filesystem::absolute(path, ignored).lexically_normal().string();
    return absolute.empty() ? path : absolute;
}

bool is_fits(const std::string &bytes) { return bytes.compare(0, 9, "SIMPLE  =") == 0; }

// Reads and checks a file into a map; "" or "PATH: reason".
std::string read_map(const std::string &path, LoadedMap &map)
{
    std::string bytes;
    std::string problem = read_input_file(path, bytes, MOST_BYTES);
    if (!problem.empty()) return path + ": cannot read: " + problem;
    if (bytes.size() > MOST_BYTES) return path + ": larger than 2 GiB, too large for a phase map";
    PhaseMapGrid grid;
    if (is_fits(bytes))
        problem = fits_reader ? fits_reader(bytes, grid)
                              : "FITS files cannot be read: the FITS library is not loaded";
    else
        problem = parse_phase_map_text(bytes, grid);
    if (!problem.empty()) return path + ": " + problem;
    map.path = absolute_path(path);
    map.sum = phase_map_checksum(bytes);
    map.grid = std::move(grid);
    return "";
}

void use(const std::shared_ptr<const LoadedMap> &map)
{
    current = map;
    HasPhaseMap = 1;
}

// The half side of the pupil's bounding square, in samples from the grid's centre: the largest
// offset along x or y of a sample inside the pupil's outline, found with the outline's own
// test (obscuration and struts darken samples inside it and do not count).
double bounding_half_side()
{
    const PupilOutline outline = pupil_outline();
    double half = 0;
    for (int i = 1; i <= GRID; i++) {
        const float xn = (i - xCent) / ncenter, ax = std::fabs(xn);
        for (int j = 1; j <= GRID; j++) {
            const float yn = (j - yCent) / ncenter, ay = std::fabs(yn);
            const float r = static_cast<float>(std::sqrt(ax * ax + ay * ay));
            if (outline.contains(ax, ay, r))
                half = std::max({half, std::fabs(i - static_cast<double>(xCent)),
                                 std::fabs(j - static_cast<double>(yCent))});
        }
    }
    return half;
}

// The factor from the map's unit to waves at `wavelength` (nm).
double to_waves(PhaseMapUnit unit)
{
    switch (unit) {
    case PhaseMapUnit::Nm: return 1.0 / wavelength;
    case PhaseMapUnit::Um: return 1e3 / wavelength;
    case PhaseMapUnit::M: return 1e9 / wavelength;
    case PhaseMapUnit::Waves: break;
    }
    return 1.0;
}

// The map at a fractional position (u along the columns, v along the rows, both inside the
// map): bilinear in the four samples around it; a NaN that has weight makes the result NaN.
double bilinear(const PhaseMapGrid &grid, double u, double v)
{
    const int c0 = std::min(static_cast<int>(u), grid.width - 2);
    const int r0 = std::min(static_cast<int>(v), grid.height - 2);
    const double fu = u - c0, fv = v - r0;
    const float *row0 = grid.values.data() + static_cast<std::size_t>(r0) * grid.width;
    const float *row1 = row0 + grid.width;
    const double w[4] = {(1 - fu) * (1 - fv), fu * (1 - fv), (1 - fu) * fv, fu * fv};
    const float s[4] = {row0[c0], row0[c0 + 1], row1[c0], row1[c0 + 1]};
    double sum = 0;
    for (int k = 0; k < 4; k++)
        if (w[k] != 0) sum += w[k] * s[k];
    return sum;
}

}  // namespace

std::optional<PhaseMapUnit> phase_map_unit_named(const std::string &name)
{
    const struct {
        const char *name;
        PhaseMapUnit unit;
    } names[] = {{"waves", PhaseMapUnit::Waves}, {"wave", PhaseMapUnit::Waves},
                 {"nm", PhaseMapUnit::Nm},       {"um", PhaseMapUnit::Um},
                 {"micron", PhaseMapUnit::Um},   {"microns", PhaseMapUnit::Um},
                 {"m", PhaseMapUnit::M}};
    for (const auto &entry : names)
        if (strcasecmp(entry.name, name.c_str()) == 0) return entry.unit;
    return std::nullopt;
}

std::string parse_phase_map_text(const std::string &text, PhaseMapGrid &grid)
{
    PhaseMapGrid read;
    bool unit_given = false;
    long line = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        line++;
        std::size_t data_end = end;
        const void *found = std::memchr(text.data() + start, '#', end - start);
        const std::size_t hash = found ? static_cast<const char *>(found) - text.data() : end;
        if (hash < end) {
            data_end = hash;
            std::string unit;
            if (unit_comment(text.substr(hash + 1, end - hash - 1), unit)) {
                if (unit_given) return line_problem(line, "a second unit line");
                const std::optional<PhaseMapUnit> named = phase_map_unit_named(unit);
                if (!named)
                    return line_problem(line, "unknown unit '" + unit + "' (waves, nm, um or m)");
                read.unit = *named;
                unit_given = true;
            }
        }
        // The cells: runs of characters between blanks and commas; a comma with nothing
        // between it and the last one leaves a cell empty.
        int cells = 0;
        std::size_t k = start;
        bool after_comma = false;
        while (true) {
            while (k < data_end && is_blank(text[k])) k++;
            if (k == data_end) {
                if (after_comma) return line_problem(line, "an empty cell after a comma");
                break;
            }
            if (text[k] == ',') {
                if (after_comma || cells == 0)
                    return line_problem(line, "an empty cell before a comma");
                after_comma = true;
                k++;
                continue;
            }
            std::size_t cell_end = k;
            while (cell_end < data_end && !is_blank(text[cell_end]) && text[cell_end] != ',')
                cell_end++;
            float value = 0;
            if (!read_cell(text.data() + k, text.data() + cell_end, value)) {
                std::string cell(1, '\'');
                // Shown as printable text: a binary file's bytes stay out of the message.
                for (std::size_t c = k; c < std::min(cell_end, k + 40); c++)
                    cell += text[c] >= ' ' && text[c] <= '~' ? text[c] : '?';
                return line_problem(line, cell + "' is not a finite number or nan");
            }
            if (++cells > MOST_PHASE_MAP_SIDE)
                return line_problem(line, "more than " + std::to_string(MOST_PHASE_MAP_SIDE) +
                                              " columns");
            read.values.push_back(value);
            after_comma = false;
            k = cell_end;
        }
        if (cells > 0) {
            if (read.height == 0) read.width = cells;
            if (cells != read.width)
                return line_problem(line, std::to_string(cells) + " values, the first row has " +
                                              std::to_string(read.width));
            if (++read.height > MOST_PHASE_MAP_SIDE)
                return line_problem(line,
                                    "more than " + std::to_string(MOST_PHASE_MAP_SIDE) + " rows");
        }
        start = end + 1;
    }
    if (read.width < 2 || read.height < 2) {
        std::string problem = "a phase map needs at least 2 rows of 2 values, this one has ";
        problem += std::to_string(read.height) + (read.height == 1 ? " row" : " rows");
        return problem + " of " + std::to_string(read.width);
    }
    grid = std::move(read);
    return "";
}

void set_fits_image_reader(FitsImageReader reader) { fits_reader = reader; }

std::string phase_map_checksum(const std::string &bytes)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string load_phase_map(const std::string &path)
{
    auto map = std::make_shared<LoadedMap>();
    const std::string problem = read_map(path, *map);
    if (!problem.empty()) return problem;
    last_read = map;
    use(last_read);
    return "";
}

std::string set_phase_map_setting(const std::string &path)
{
    if (path.empty()) return "phasemap needs a file name";
    if (last_read && last_read->path == absolute_path(path)) {
        use(last_read);
        return "";
    }
    return load_phase_map(path);
}

std::string phase_map_problem()
{
    return HasPhaseMap == 1 && !current ? "HasPhaseMap is 1, but no phasemap is given" : "";
}

std::string check_phase_map_checksum(const std::string &checksum)
{
    if (!current) return "phasemapsum needs a phasemap before it";
    if (strcasecmp(trim(checksum).c_str(), current->sum.c_str()) != 0)
        return "the phase map " + current->path + " has changed: its checksum is " + current->sum +
               ", the settings keep " + trim(checksum);
    return "";
}

const std::string &phase_map_path()
{
    static const std::string none;
    return current ? current->path : none;
}

const std::string &phase_map_sum()
{
    static const std::string none;
    return current ? current->sum : none;
}

const PhaseMapGrid *phase_map_grid() { return current ? &current->grid : nullptr; }

void clear_phase_map() { current.reset(); }

std::vector<float> resampled_phase_map()
{
    if (!current) return {};
    const PhaseMapGrid &grid = current->grid;
    std::vector<float> out(static_cast<std::size_t>(GRID + 1) * (GRID + 1), NO_DATA);
    const double half = bounding_half_side();
    if (half == 0) return out;
    const double scale = to_waves(grid.unit) * phasemapscale;
    // Offsets and the half side are whole or half samples: multiplying before dividing puts
    // a pupil sample that falls on a map sample exactly on it.
    for (int i = 1; i <= GRID; i++) {
        const double u = (i - xCent + half) * (grid.width - 1) / (2 * half);
        if (u < 0 || u > grid.width - 1) continue;
        for (int j = 1; j <= GRID; j++) {
            const double v = (j - yCent + half) * (grid.height - 1) / (2 * half);
            if (v < 0 || v > grid.height - 1) continue;
            out[static_cast<std::size_t>(i) * (GRID + 1) + j] =
                static_cast<float>(bilinear(grid, u, v) * scale);
        }
    }
    return out;
}
