#include "optics/settings_rules.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <strings.h>
#include <vector>

#include "optics/number_text.h"
#include "optics/phase_map.h"
#include "optics/settings.h"

namespace {

enum class Kind { Float, Int, Flag, Code };

constexpr double INF = std::numeric_limits<double>::infinity();
constexpr double FLOAT_MAX = std::numeric_limits<float>::max();
constexpr double INT_LOW = std::numeric_limits<int>::min();
constexpr double INT_HIGH = std::numeric_limits<int>::max();

// The largest peak phase, in waves, of one aberration term or pattern. Within the grid a
// normalised radius never exceeds 128 (a one-step pupil radius, stretched by the aspect
// ratio), where the largest Zernike polynomial reaches about 2e28; 37 terms of 1e6 waves
// then stay far below what a float holds, so every phase and its RMS are finite.
constexpr double MOST_WAVES = 1e6;

// Accepted values: a bound below and above, each open or closed, or a list of codes. A
// positive quantity also has a smallest magnitude, the least value that keeps every figure
// derived from it (steps, extents, EFL, the Airy diameter) finite and nonzero.
struct Rule {
    const char *name;
    Kind kind;
    void *target;
    const char *field;
    double low = -INF;
    bool low_open = false;
    double high = INF;
    bool high_open = false;
    double least = -INF;
    std::vector<int> codes = {};
    // A value setting_values() leaves the setting out at: the band and the jitter at their
    // start-up values, so that the files of a still, monochromatic PSF stay as they were.
    double quiet = NAN;
};

std::vector<Rule> make_rules()
{
    // "Zernike coefficient Z01" ... "Z37": the labels of the coefficient fields.
    static char zernike_fields[38][32];
    static std::string flag_names[38], zern_names[38];
    for (int k = 1; k <= 37; k++)
        std::snprintf(zernike_fields[k], sizeof zernike_fields[k], "Zernike coefficient Z%02d", k);

    // Wavelength, F-number and pupil extent bound the sampling figures: with all of them
    // inside their ranges the PSF extent stays between about 1e-17 and 1e22 in any unit.
    std::vector<Rule> rules = {
        {"wavelength", Kind::Float, &wavelength, "Wavelength (nm)", 0, true, 1e9, false, 1e-3},
        {"fnumber", Kind::Float, &fnumber, "F-number", 0, true, 1e6, false, 1e-3},
        {"nCurrentFOV",
         Kind::Code,
         &nCurrentFOV,
         "Field direction",
         0,
         false,
         0,
         false,
         -INF,
         {FOV_X, FOV_Y}},
        {"pupilradius", Kind::Int, &pupilradius, "Pupil radius (steps)", 1, false, INT_HIGH},
        {"nCurrentPupilShape",
         Kind::Code,
         &nCurrentPupilShape,
         "Pupil shape",
         0,
         false,
         0,
         false,
         -INF,
         {SHAPE_ROUND, SHAPE_RECTANGLE}},
        {"PupilAspectRatio", Kind::Float, &PupilAspectRatio, "Aspect ratio (y/x)", 0, true, 1e6,
         false, 1e-6},
        {"pupildia", Kind::Float, &pupildia, "Pupil X-extent", 0, true, 1e9, false, 1e-6},
        {"nCurrentPupUnits",
         Kind::Code,
         &nCurrentPupUnits,
         "Pupil units",
         0,
         false,
         0,
         false,
         -INF,
         {UNITS_INCHES, UNITS_CENTIMETERS, UNITS_MILLIMETERS}},
        {"nCurrentObscuration", Kind::Flag, &nCurrentObscuration, "nCurrentObscuration"},
        {"LinearObscuration", Kind::Float, &LinearObscuration, "Linear obscuration ratio", 0, false,
         FLOAT_MAX},
        {"HasStruts", Kind::Flag, &HasStruts, "HasStruts"},
        {"nCurrentApod",
         Kind::Code,
         &nCurrentApod,
         "Apodization",
         0,
         false,
         0,
         false,
         -INF,
         {APOD_NONE, APOD_TRIANGULAR, APOD_CIRCULAR_SG, APOD_RECTANGULAR_SG}},
        {"rbreak", Kind::Float, &rbreak, "Triangular break (pupil fraction)", 0, false, 1, true},
        {"cir_sgxp", Kind::Float, &cir_sgxp, "Circular supergaussian exponent", -FLOAT_MAX, false,
         FLOAT_MAX},
        {"x_sgxp", Kind::Float, &x_sgxp, "X supergaussian exponent", -FLOAT_MAX, false, FLOAT_MAX},
        {"y_sgxp", Kind::Float, &y_sgxp, "Y supergaussian exponent", -FLOAT_MAX, false, FLOAT_MAX},
        {"HasSpherical", Kind::Flag, &HasSpherical, "HasSpherical"},
        {"HasComa", Kind::Flag, &HasComa, "HasComa"},
        {"HasAstigmatism", Kind::Flag, &HasAstigmatism, "HasAstigmatism"},
        {"HasDefocus", Kind::Flag, &HasDefocus, "HasDefocus"},
        {"spherical", Kind::Float, &spherical, "Spherical", -MOST_WAVES, false, MOST_WAVES},
        {"coma", Kind::Float, &coma, "Coma", -MOST_WAVES, false, MOST_WAVES},
        {"astigmatism", Kind::Float, &astigmatism, "Astigmatism", -MOST_WAVES, false, MOST_WAVES},
        {"defocus", Kind::Float, &defocus, "Defocus", -MOST_WAVES, false, MOST_WAVES},
        {"nCurrentPhasePattern",
         Kind::Code,
         &nCurrentPhasePattern,
         "Phase pattern",
         0,
         false,
         0,
         false,
         -INF,
         {PATTERN_NONE, PATTERN_CHECKER, PATTERN_WAFFLE, PATTERN_RANDOM}},
        {"PhasePatternPeriod", Kind::Int, &PhasePatternPeriod, "Pattern period (steps)", 1, false,
         INT_HIGH},
        {"PhasePatternWFE", Kind::Float, &PhasePatternWFE, "Pattern WFE (waves)", -MOST_WAVES,
         false, MOST_WAVES},
        {"nHasPhasePlate", Kind::Flag, &nHasPhasePlate, "nHasPhasePlate"},
        {"PhasePlateSteps", Kind::Int, &PhasePlateSteps, "Phase plate edge (steps)", INT_LOW, false,
         INT_HIGH},
        {"PhasePlateWaves", Kind::Float, &PhasePlateWaves, "Phase plate waves", -MOST_WAVES, false,
         MOST_WAVES},
        {"nCurrentPSFUnits",
         Kind::Code,
         &nCurrentPSFUnits,
         "PSF units",
         0,
         false,
         0,
         false,
         -INF,
         {PSF_MICRONS, PSF_MILLIRADIANS, PSF_ARCSECONDS}},
        {"PSFPlotType",
         Kind::Code,
         &PSFPlotType,
         "PSF plot type",
         0,
         false,
         0,
         false,
         -INF,
         {PSF_LINEAR, PSF_LOGARITHMIC}},
        // The clip value 1/10^(decades - 1) must be a normal float, whose logarithm is finite:
        // 1e-37 is one, 1e-38 lies below the smallest, 1.18e-38.
        {"nPSFdecades", Kind::Int, &nPSFdecades, "Decades", 1, false, 38},
        {"nZoomPlot", Kind::Flag, &nZoomPlot, "nZoomPlot"},
        {"nDoCentroidError", Kind::Flag, &nDoCentroidError, "nDoCentroidError"},
        {"CentroidErrorType",
         Kind::Code,
         &CentroidErrorType,
         "Pixel array",
         0,
         false,
         0,
         false,
         -INF,
         {CENTROID_3BY3, CENTROID_4BY4}},
        {"nCurrentDataSave",
         Kind::Code,
         &nCurrentDataSave,
         "Array to save",
         0,
         false,
         0,
         false,
         -INF,
         {SAVE_TRANSMISSION, SAVE_PHASE, SAVE_PSF}},
        {"sig", Kind::Int, &sig, "Significant digits", 1, false, 17},
    };
    for (int k = 1; k <= 37; k++) {
        flag_names[k] = "HasZern" + std::to_string(k);
        zern_names[k] = "Zern" + std::to_string(k);
        rules.push_back({flag_names[k].c_str(), Kind::Flag, &HasZern[k], flag_names[k].c_str()});
        rules.push_back({zern_names[k].c_str(), Kind::Float, &Zern[k], zernike_fields[k],
                         -MOST_WAVES, false, MOST_WAVES});
    }
    const std::vector<Rule> spectral = {
        {"bandwidth", Kind::Float, &bandwidth, "Bandwidth (%)", 0, false, 200, false, -INF, {}, 0},
        {"nwavelengths", Kind::Int, &nwavelengths, "Wavelengths", 1, false, 64, false, -INF, {}, 1},
        {"jitter_x", Kind::Float, &jitter_x, "Jitter x (RMS)", 0, false, 1e6, false, -INF, {}, 0},
        {"jitter_y", Kind::Float, &jitter_y, "Jitter y (RMS)", 0, false, 1e6, false, -INF, {}, 0},
        {"HasPhaseMap", Kind::Flag, &HasPhaseMap, "HasPhaseMap", 0, false, INF, false, -INF, {}, 0},
        {"phasemapscale",
         Kind::Float,
         &phasemapscale,
         "Phase map scale",
         -MOST_WAVES,
         false,
         MOST_WAVES,
         false,
         -INF,
         {},
         1},
    };
    rules.insert(rules.end(), spectral.begin(), spectral.end());
    return rules;
}

const std::vector<Rule> &rules()
{
    static const std::vector<Rule> table = make_rules();
    return table;
}

// The side of the centroid pixel array: set, it chooses the matching CentroidErrorType.
const Rule &num_pixels_rule()
{
    static const Rule rule{"NumPixels", Kind::Code, &NumPixels, "Pixel array", 0,
                           false,       0,          false,      -INF,          {3, 4}};
    return rule;
}

bool same_name(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

const Rule *find_rule(const std::string &name)
{
    for (const Rule &rule : rules())
        if (same_name(rule.name, name)) return &rule;
    if (same_name(num_pixels_rule().name, name)) return &num_pixels_rule();
    return nullptr;
}

std::string format_number(double v) { return gN(v, 10); }

// The value a float setting holds for v: rounded to the nearest float.
double held(const Rule &rule, double v)
{
    return rule.kind == Kind::Float ? static_cast<double>(static_cast<float>(v)) : v;
}

bool above_low(const Rule &rule, double v) { return rule.low_open ? v > rule.low : v >= rule.low; }
bool below_high(const Rule &rule, double v)
{
    return rule.high_open ? v < rule.high : v <= rule.high;
}

// The bound a value breaks, worded for "must be ...": the side it falls out on, or the
// whole range for a value that is not even ordered (a text that is no number at all). A
// bound is broken also by the float the value rounds to (0.99999999 is held as 1).
std::string broken_bound(const Rule &rule, double v)
{
    if (rule.kind == Kind::Flag) return "0 or 1";
    if (rule.kind == Kind::Code) {
        std::string list;
        for (int code : rule.codes) list += (list.empty() ? "" : ", ") + std::to_string(code);
        return "one of " + list;
    }
    const std::string low = (rule.low_open ? "above " : "at least ") + format_number(rule.low);
    const std::string high = (rule.high_open ? "below " : "at most ") + format_number(rule.high);
    if (!above_low(rule, v)) return low;
    if (v < rule.least) return "at least " + format_number(rule.least);
    if (!above_low(rule, held(rule, v))) return low;
    if (!below_high(rule, v) || !below_high(rule, held(rule, v))) return high;
    return low + " and " + high;
}

// The value the setting would hold, or false when it cannot hold v.
bool accepts(const Rule &rule, double v, double &stored)
{
    switch (rule.kind) {
    case Kind::Flag: stored = v; return v == 0 || v == 1;
    case Kind::Code:
        stored = v;
        for (int code : rule.codes)
            if (v == code) return true;
        return false;
    case Kind::Int:
    case Kind::Float: break;
    }
    // The bounds keep a float setting inside the float range and away from its underflow;
    // the least value is checked as given, the bounds also on the float held.
    stored = held(rule, v);
    return above_low(rule, v) && above_low(rule, stored) && v >= rule.least &&
           below_high(rule, v) && below_high(rule, stored);
}

void store(const Rule &rule, double value)
{
    if (rule.kind == Kind::Float)
        *static_cast<float *>(rule.target) = static_cast<float>(value);
    else
        *static_cast<int *>(rule.target) = static_cast<int>(value);
    if (&rule == &num_pixels_rule()) CentroidErrorType = value == 4 ? CENTROID_4BY4 : CENTROID_3BY3;
}

std::string field_of(const Rule &rule, MessageStyle style)
{
    std::string field = rule.field;
    if (style == MessageStyle::Batch && field != rule.name)
        field += std::string(" (") + rule.name + ")";
    return field;
}

std::string trimmed(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Names the dialogs compute rather than read from a field.
const char *const DERIVED[][2] = {
    {"EFL", "EFL follows from fnumber and the pupil diameter"},
    {"pupildiamm", "pupildiamm follows from pupildia and nCurrentPupUnits"},
    {"ncenter", "ncenter follows from pupilradius"},
    {"izoom", "izoom follows from nZoomPlot"},
};

}  // namespace

float pupil_mm(float diameter, int units)
{
    switch (units) {
    case UNITS_INCHES: return static_cast<float>(diameter * 25.4);
    case UNITS_CENTIMETERS: return static_cast<float>(diameter * 10.0);
    default: return static_cast<float>(diameter * 1.0);
    }
}

void derive_settings()
{
    pupildiamm = pupil_mm(pupildia, nCurrentPupUnits);
    EFL = pupildiamm * fnumber;
    ncenter = static_cast<float>(pupilradius - 0.5);
    NumPixels = CentroidErrorType == CENTROID_4BY4 ? 4 : 3;
    izoom = nZoomPlot == 1 ? 2 : 1;
}

std::string read_setting(const std::string &name, const std::string &text, NumberReading how,
                         double &value, MessageStyle style)
{
    const Rule *rule = find_rule(name);
    if (!rule) return "unknown setting '" + name + "'";
    const std::string field = field_of(*rule, style);
    const NumberText number = leading_number(text);
    // The message quotes the number as it was read from the text, without what follows it.
    const std::string shown = trimmed(text.substr(0, number.used));

    // Blanks around the number are no part of it, at either end.
    const bool whole_text =
        number.found && text.find_first_not_of(" \t", number.used) == std::string::npos;
    double v = number.value;
    if (how == NumberReading::Integer && number.found) {
        // atol stops at the point or the exponent: only the leading digits count.
        const std::size_t start = text.find_first_not_of(" \t");
        std::size_t k = start + ((text[start] == '+' || text[start] == '-') ? 1 : 0);
        double digits = 0;
        while (k < text.size() && text[k] >= '0' && text[k] <= '9' && digits < 1e12)
            digits = digits * 10 + (text[k++] - '0');
        v = text[start] == '-' ? -digits : digits;
    }
    if (!number.found || (how == NumberReading::Whole && !whole_text))
        return field + " must be a number.";
    if (how == NumberReading::Truncated) v = std::trunc(v);
    if (how == NumberReading::Whole && rule->kind != Kind::Float && v != std::trunc(v))
        return field + " must be a whole number, not " + shown + ".";

    double stored = 0;
    if (!accepts(*rule, v, stored))
        return field + " must be " + broken_bound(*rule, v) + ", not " + shown + ".";
    value = stored;
    return "";
}

std::string check_setting(const std::string &name, double value, MessageStyle style)
{
    const Rule *rule = find_rule(name);
    if (!rule) return "unknown setting '" + name + "'";
    double stored = 0;
    if (accepts(*rule, value, stored)) return "";
    return field_of(*rule, style) + " must be " + broken_bound(*rule, value) + ", not " +
           format_number(value) + ".";
}

std::string find_setting(const std::string &name, std::string &spelling)
{
    for (const auto &derived : DERIVED)
        if (same_name(name, derived[0]))
            return std::string("cannot set ") + derived[0] + ": " + derived[1];
    const Rule *rule = find_rule(name);
    if (!rule) return "unknown setting '" + name + "'";
    spelling = rule->name;
    return "";
}

std::string apply_setting(const std::string &name, const std::string &text)
{
    // The measured wavefront is named by its file, and kept with the checksum of its bytes.
    if (same_name(name, "phasemap")) return set_phase_map_setting(text);
    if (same_name(name, "phasemapsum")) return check_phase_map_checksum(text);
    std::string spelling;
    std::string problem = find_setting(name, spelling);
    if (!problem.empty()) return problem;
    double value = 0;
    problem = read_setting(spelling, text, NumberReading::Whole, value, MessageStyle::Batch);
    if (problem.empty()) store(*find_rule(spelling), value);
    return problem;
}

std::string set_setting(const std::string &name, double value)
{
    std::string spelling;
    std::string problem = find_setting(name, spelling);
    if (problem.empty()) problem = check_setting(spelling, value, MessageStyle::Batch);
    if (problem.empty()) store(*find_rule(spelling), value);
    return problem;
}

std::vector<std::pair<std::string, double>> setting_values()
{
    std::vector<std::pair<std::string, double>> values;
    for (const Rule &rule : rules()) {
        const double value = rule.kind == Kind::Float ? *static_cast<const float *>(rule.target)
                                                      : *static_cast<const int *>(rule.target);
        if (value == rule.quiet) continue;
        values.emplace_back(rule.name, value);
    }
    return values;
}

bool setting_is_integer(const std::string &name)
{
    const Rule *rule = find_rule(name);
    return rule && rule->kind != Kind::Float;
}
