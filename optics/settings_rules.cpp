#include "optics/settings_rules.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <initializer_list>
#include <limits>
#include <string>
#include <vector>

#include "optics/settings.h"

namespace {

enum class Kind { Float, Int, Flag, Code };

// Accepted values: [low, high] with optional open ends, or one of a list of codes.
struct Rule {
    std::string name;
    Kind kind;
    void *target;
    double low = -std::numeric_limits<double>::infinity();
    bool low_open = false;
    double high = std::numeric_limits<double>::infinity();
    bool high_open = false;
    std::vector<int> codes = {};
    const char *meaning = "";
};

constexpr double INF = std::numeric_limits<double>::infinity();

std::vector<Rule> make_rules()
{
    // "Zernike coefficient Z01" ... "Z37": the labels of the coefficient fields.
    static char zernike_meanings[38][32];
    for (int k = 1; k <= 37; k++) std::snprintf(zernike_meanings[k], sizeof zernike_meanings[k], "Zernike coefficient Z%02d", k);

    std::vector<Rule> rules = {
        {"wavelength", Kind::Float, &wavelength, 0, true, INF, false, {}, "wavelength (nm)"},
        {"fnumber", Kind::Float, &fnumber, 0, true, INF, false, {}, "F-number"},
        {"nCurrentFOV", Kind::Code, &nCurrentFOV, 0, false, 0, false, {FOV_X, FOV_Y}, "field direction"},
        {"pupilradius", Kind::Int, &pupilradius, 1, false, INF, false, {}, "pupil radius (steps)"},
        {"nCurrentPupilShape", Kind::Code, &nCurrentPupilShape, 0, false, 0, false, {SHAPE_ROUND, SHAPE_RECTANGLE}, "pupil shape"},
        {"PupilAspectRatio", Kind::Float, &PupilAspectRatio, 0, true, INF, false, {}, "aspect ratio (y/x)"},
        {"pupildia", Kind::Float, &pupildia, 0, true, INF, false, {}, "pupil X-extent"},
        {"nCurrentPupUnits", Kind::Code, &nCurrentPupUnits, 0, false, 0, false,
         {UNITS_INCHES, UNITS_CENTIMETERS, UNITS_MILLIMETERS}, "pupil units"},
        {"nCurrentObscuration", Kind::Flag, &nCurrentObscuration},
        {"LinearObscuration", Kind::Float, &LinearObscuration, 0, false, INF, false, {}, "linear obscuration ratio"},
        {"HasStruts", Kind::Flag, &HasStruts},
        {"nCurrentApod", Kind::Code, &nCurrentApod, 0, false, 0, false,
         {APOD_NONE, APOD_TRIANGULAR, APOD_CIRCULAR_SG, APOD_RECTANGULAR_SG}, "apodization"},
        {"rbreak", Kind::Float, &rbreak, 0, false, 1, true, {}, "triangular break (pupil fraction)"},
        {"cir_sgxp", Kind::Float, &cir_sgxp, -INF, false, INF, false, {}, "circular supergaussian exponent"},
        {"x_sgxp", Kind::Float, &x_sgxp, -INF, false, INF, false, {}, "X supergaussian exponent"},
        {"y_sgxp", Kind::Float, &y_sgxp, -INF, false, INF, false, {}, "Y supergaussian exponent"},
        {"HasSpherical", Kind::Flag, &HasSpherical},
        {"HasComa", Kind::Flag, &HasComa},
        {"HasAstigmatism", Kind::Flag, &HasAstigmatism},
        {"HasDefocus", Kind::Flag, &HasDefocus},
        {"spherical", Kind::Float, &spherical},
        {"coma", Kind::Float, &coma},
        {"astigmatism", Kind::Float, &astigmatism},
        {"defocus", Kind::Float, &defocus},
        {"nCurrentPhasePattern", Kind::Code, &nCurrentPhasePattern, 0, false, 0, false,
         {PATTERN_NONE, PATTERN_CHECKER, PATTERN_WAFFLE, PATTERN_RANDOM}, "phase pattern"},
        {"PhasePatternPeriod", Kind::Int, &PhasePatternPeriod, 1, false, INF, false, {}, "pattern period (steps)"},
        {"PhasePatternWFE", Kind::Float, &PhasePatternWFE, -INF, false, INF, false, {}, "pattern WFE (waves)"},
        {"nHasPhasePlate", Kind::Flag, &nHasPhasePlate},
        {"PhasePlateSteps", Kind::Int, &PhasePlateSteps, -INF, false, INF, false, {}, "phase plate edge (steps)"},
        {"PhasePlateWaves", Kind::Float, &PhasePlateWaves, -INF, false, INF, false, {}, "phase plate waves"},
        {"nCurrentPSFUnits", Kind::Code, &nCurrentPSFUnits, 0, false, 0, false,
         {PSF_MICRONS, PSF_MILLIRADIANS, PSF_ARCSECONDS}, "PSF units"},
        {"PSFPlotType", Kind::Code, &PSFPlotType, 0, false, 0, false, {PSF_LINEAR, PSF_LOGARITHMIC}, "PSF plot type"},
        {"nPSFdecades", Kind::Int, &nPSFdecades, 1, false, INF, false, {}, "decades"},
        {"nZoomPlot", Kind::Flag, &nZoomPlot},
        {"nDoCentroidError", Kind::Flag, &nDoCentroidError},
        {"CentroidErrorType", Kind::Code, &CentroidErrorType, 0, false, 0, false, {CENTROID_3BY3, CENTROID_4BY4},
         "pixel array"},
        {"nCurrentDataSave", Kind::Code, &nCurrentDataSave, 0, false, 0, false,
         {SAVE_TRANSMISSION, SAVE_PHASE, SAVE_PSF}, "array to save"},
        {"sig", Kind::Int, &sig, 1, false, 17, false, {}, "significant digits"},
    };
    for (int k = 1; k <= 37; k++) {
        rules.push_back({"HasZern" + std::to_string(k), Kind::Flag, &HasZern[k]});
        rules.push_back({"Zern" + std::to_string(k), Kind::Float, &Zern[k], -INF, false, INF, false, {},
                         zernike_meanings[k]});
    }
    return rules;
}

const std::vector<Rule> &rules()
{
    static const std::vector<Rule> table = make_rules();
    return table;
}

bool same_name(const std::string &a, const std::string &b)
{
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

const Rule *find_rule(const std::string &name)
{
    for (const Rule &rule : rules())
        if (same_name(rule.name, name)) return &rule;
    return nullptr;
}

std::string format_number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

std::string range_text(const Rule &rule)
{
    if (rule.kind == Kind::Flag) return "0 or 1";
    if (rule.kind == Kind::Code) {
        std::string list;
        for (int code : rule.codes) list += (list.empty() ? "" : ", ") + std::to_string(code);
        return "one of " + list;
    }
    const bool has_low = std::isfinite(rule.low), has_high = std::isfinite(rule.high);
    if (has_low && has_high)
        return "at least " + format_number(rule.low) + " and " + (rule.high_open ? "below " : "at most ") +
               format_number(rule.high);
    if (has_low) return (rule.low_open ? "above " : "at least ") + format_number(rule.low);
    if (has_high) return (rule.high_open ? "below " : "at most ") + format_number(rule.high);
    return "a finite number";
}

std::string refusal(const Rule &rule)
{
    const char *what = *rule.meaning ? rule.meaning : rule.name.c_str();
    return std::string(what) + " must be " + range_text(rule);
}

bool accepts(const Rule &rule, double v)
{
    if (!std::isfinite(v)) return false;
    switch (rule.kind) {
    case Kind::Flag: return v == 0 || v == 1;
    case Kind::Code:
        for (int code : rule.codes)
            if (v == code) return true;
        return false;
    case Kind::Int:
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
        break;
    case Kind::Float:
        if (std::fabs(v) > std::numeric_limits<float>::max()) return false;
        break;
    }
    if (rule.low_open ? !(v > rule.low) : !(v >= rule.low)) return false;
    if (rule.high_open ? !(v < rule.high) : !(v <= rule.high)) return false;
    return true;
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

std::string check_setting(const std::string &name, double value)
{
    const Rule *rule = find_rule(name);
    if (!rule) return "unknown setting " + name;
    return accepts(*rule, value) ? "" : refusal(*rule);
}

std::string apply_setting(const std::string &name, const std::string &text)
{
    for (const auto &derived : DERIVED)
        if (same_name(name, derived[0])) return std::string("cannot set ") + derived[0] + ": " + derived[1];

    // NumPixels is the side of the pixel array: it chooses the matching CentroidErrorType.
    if (same_name(name, "NumPixels")) {
        if (text == "3") return apply_setting("CentroidErrorType", std::to_string(CENTROID_3BY3));
        if (text == "4") return apply_setting("CentroidErrorType", std::to_string(CENTROID_4BY4));
        return "NumPixels must be 3 or 4, not '" + text + "'";
    }

    const Rule *rule = find_rule(name);
    if (!rule) return "unknown setting '" + name + "'";

    const char *start = text.c_str();
    char *end = nullptr;
    errno = 0;
    double value;
    if (rule->kind == Kind::Float) {
        value = std::strtod(start, &end);
    } else {
        const long n = std::strtol(start, &end, 10);
        value = static_cast<double>(n);
    }
    if (text.empty() || end == start || *end != '\0' || errno == ERANGE)
        return rule->name + ": '" + text + "' is not " + (rule->kind == Kind::Float ? "a number" : "a whole number");
    if (!accepts(*rule, value)) return rule->name + ": " + refusal(*rule) + ", not " + text;

    if (rule->kind == Kind::Float)
        *static_cast<float *>(rule->target) = static_cast<float>(value);
    else
        *static_cast<int *>(rule->target) = static_cast<int>(value);
    return "";
}
