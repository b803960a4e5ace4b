#include "optics/zernike.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <sstream>

#include "optics/number_text.h"
#include "optics/settings.h"

namespace {

// The 37 Fringe terms, in order from index 1.
constexpr ZernikeMode kFringe[37] = {
    {0, 0},  {1, 1},  {1, -1}, {2, 0},  {2, 2},  {2, -2}, {3, 1},  {3, -1}, {4, 0},  {3, 3},
    {3, -3}, {4, 2},  {4, -2}, {5, 1},  {5, -1}, {6, 0},  {4, 4},  {4, -4}, {5, 3},  {5, -3},
    {6, 2},  {6, -2}, {7, 1},  {7, -1}, {8, 0},  {5, 5},  {5, -5}, {6, 4},  {6, -4}, {7, 3},
    {7, -3}, {8, 2},  {8, -2}, {9, 1},  {9, -1}, {10, 0}, {12, 0},
};

// Noll's numbering: the terms of radial order n take the indices after those of lower orders,
// |m| rising; of a cos/sin pair the even index is the cosine.
std::optional<ZernikeMode> noll_mode(int j)
{
    if (j < 1) return std::nullopt;
    int n = 0, rest = j - 1;
    while (rest > n) {
        n++;
        rest -= n;
    }
    if (n > MOST_ZERNIKE_ORDER) return std::nullopt;
    int m = n % 2 + 2 * ((rest + (n + 1) % 2) / 2);
    if (m != 0 && j % 2 == 1) m = -m;
    return ZernikeMode{n, m};
}

// ANSI: j = (n (n + 2) + m) / 2 from 0, m from -n to n in steps of 2.
std::optional<ZernikeMode> ansi_mode(int j)
{
    if (j < 0) return std::nullopt;
    int n = 0;
    while ((n + 1) * (n + 2) / 2 <= j) n++;
    if (n > MOST_ZERNIKE_ORDER) return std::nullopt;
    return ZernikeMode{n, 2 * j - n * (n + 2)};
}

std::uint64_t factorial(int n)
{
    std::uint64_t f = 1;
    for (int k = 2; k <= n; k++) f *= static_cast<std::uint64_t>(k);
    return f;
}

// What a coefficient in a set's normalisation is multiplied by to be peak-normalised: the
// rms-normalised term is zernike_rms_factor times the peak-normalised one.
double to_peak(ZernikeNormalisation normalisation, ZernikeMode mode)
{
    return normalisation == ZernikeNormalisation::Rms ? zernike_rms_factor(mode) : 1.0;
}

std::vector<std::pair<ZernikeMode, double>> extra_terms;

// Solves the symmetric positive definite system a x = b (n x n, row-major) by Cholesky in
// place; false when a is not positive definite.
bool solve_cholesky(std::vector<double> &a, std::vector<double> &b, int n)
{
    for (int j = 0; j < n; j++) {
        double d = a[j * n + j];
        for (int k = 0; k < j; k++) d -= a[j * n + k] * a[j * n + k];
        if (!(d > 0)) return false;
        const double l = std::sqrt(d);
        a[j * n + j] = l;
        for (int i = j + 1; i < n; i++) {
            double s = a[i * n + j];
            for (int k = 0; k < j; k++) s -= a[i * n + k] * a[j * n + k];
            a[i * n + j] = s / l;
        }
    }
    for (int i = 0; i < n; i++) {  // L y = b
        double s = b[i];
        for (int k = 0; k < i; k++) s -= a[i * n + k] * b[k];
        b[i] = s / a[i * n + i];
    }
    for (int i = n - 1; i >= 0; i--) {  // L^T x = y
        double s = b[i];
        for (int k = i + 1; k < n; k++) s -= a[k * n + i] * b[k];
        b[i] = s / a[i * n + i];
    }
    return true;
}

}  // namespace

std::optional<ZernikeMode> zernike_mode(ZernikeOrdering ordering, int index)
{
    switch (ordering) {
    case ZernikeOrdering::Fringe:
        if (index < 1 || index > 37) return std::nullopt;
        return kFringe[index - 1];
    case ZernikeOrdering::Noll: return noll_mode(index);
    case ZernikeOrdering::Ansi: return ansi_mode(index);
    }
    return std::nullopt;
}

std::optional<int> zernike_index(ZernikeOrdering ordering, ZernikeMode mode)
{
    if (ordering == ZernikeOrdering::Ansi) {
        if (mode.n < 0 || mode.n > MOST_ZERNIKE_ORDER || std::abs(mode.m) > mode.n ||
            (mode.n - mode.m) % 2 != 0)
            return std::nullopt;
        return (mode.n * (mode.n + 2) + mode.m) / 2;
    }
    const int last = ordering == ZernikeOrdering::Fringe ? 37 : 231;
    for (int j = 1; j <= last; j++)
        if (zernike_mode(ordering, j) == mode) return j;
    return std::nullopt;
}

int first_zernike_index(ZernikeOrdering ordering)
{
    return ordering == ZernikeOrdering::Ansi ? 0 : 1;
}

double zernike_rms_factor(ZernikeMode mode)
{
    return std::sqrt((mode.m == 0 ? 1.0 : 2.0) * (mode.n + 1));
}

double zernike_value(ZernikeMode mode, double rho, double theta)
{
    const int m = std::abs(mode.m);
    double radial = 0;
    for (int k = 0; k <= (mode.n - m) / 2; k++) {
        const std::uint64_t coefficient =
            factorial(mode.n - k) /
            (factorial(k) * factorial((mode.n + m) / 2 - k) * factorial((mode.n - m) / 2 - k));
        radial += (k % 2 ? -1.0 : 1.0) * double(coefficient) * std::pow(rho, mode.n - 2 * k);
    }
    if (mode.m > 0) return radial * std::cos(m * theta);
    if (mode.m < 0) return radial * std::sin(m * theta);
    return radial;
}

ZernikeSet convert_zernikes(const ZernikeSet &set, ZernikeOrdering ordering,
                            ZernikeNormalisation normalisation)
{
    ZernikeSet out{ordering, normalisation, {}};
    for (const auto &[index, value] : set.terms) {
        const std::optional<ZernikeMode> mode = zernike_mode(set.ordering, index);
        if (!mode) continue;
        const std::optional<int> to = zernike_index(ordering, *mode);
        if (!to) continue;
        const double peak = value * to_peak(set.normalisation, *mode);
        out.terms.emplace_back(*to, peak / to_peak(normalisation, *mode));
    }
    std::sort(out.terms.begin(), out.terms.end());
    return out;
}

const char *zernike_ordering_name(ZernikeOrdering ordering)
{
    switch (ordering) {
    case ZernikeOrdering::Noll: return "noll";
    case ZernikeOrdering::Ansi: return "ansi";
    case ZernikeOrdering::Fringe: break;
    }
    return "fringe";
}

const char *zernike_normalisation_name(ZernikeNormalisation normalisation)
{
    return normalisation == ZernikeNormalisation::Rms ? "rms" : "peak";
}

std::optional<ZernikeOrdering> zernike_ordering_named(const std::string &name)
{
    for (ZernikeOrdering o :
         {ZernikeOrdering::Fringe, ZernikeOrdering::Noll, ZernikeOrdering::Ansi})
        if (name == zernike_ordering_name(o)) return o;
    return std::nullopt;
}

std::optional<ZernikeNormalisation> zernike_normalisation_named(const std::string &name)
{
    for (ZernikeNormalisation n : {ZernikeNormalisation::Peak, ZernikeNormalisation::Rms})
        if (name == zernike_normalisation_name(n)) return n;
    return std::nullopt;
}

std::string parse_zernike_file(const std::string &text, double wavelength_nm, ZernikeSet &set)
{
    set = ZernikeSet{};
    std::istringstream lines(text);
    std::string row;
    double per_wave = 0;  // the unit's amount in one wave
    for (int line = 1; std::getline(lines, row); line++) {
        if (!row.empty() && row.back() == '\r') row.pop_back();
        const std::string where = "line " + std::to_string(line) + ": ";
        if (line == 1) {
            // "# ordering=noll normalisation=rms unit=waves", the three in any order.
            if (row.empty() || row[0] != '#')
                return where + "needs # ordering=... normalisation=... unit=...";
            std::istringstream words(row.substr(1));
            std::string word, ordering, normalisation, unit;
            while (words >> word) {
                const std::size_t eq = word.find('=');
                const std::string key = word.substr(0, eq == std::string::npos ? 0 : eq);
                const std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
                if (key == "ordering") ordering = value;
                if (key == "normalisation") normalisation = value;
                if (key == "unit") unit = value;
            }
            const auto o = zernike_ordering_named(ordering);
            const auto n = zernike_normalisation_named(normalisation);
            if (!o) return where + "ordering must be fringe, noll or ansi, not '" + ordering + "'";
            if (!n) return where + "normalisation must be peak or rms, not '" + normalisation + "'";
            per_wave = unit == "waves" ? 1
                       : unit == "nm"  ? wavelength_nm
                       : unit == "um"  ? wavelength_nm / 1000
                                       : 0;
            if (per_wave == 0) return where + "unit must be waves, nm or um, not '" + unit + "'";
            set.ordering = *o;
            set.normalisation = *n;
            continue;
        }
        const std::size_t first = row.find_first_not_of(" \t");
        if (first == std::string::npos || row[first] == '#') continue;
        const std::size_t comma = row.find(',');
        const NumberText index = leading_number(row.substr(0, comma));
        const NumberText value =
            comma == std::string::npos ? NumberText{} : leading_number(row.substr(comma + 1));
        if (!index.found || !value.found || !std::isfinite(value.value))
            return where + "needs index,value, not '" + row + "'";
        const int j = static_cast<int>(index.value);
        if (j != index.value || !zernike_mode(set.ordering, j))
            return where + "the " + zernike_ordering_name(set.ordering) +
                   " ordering has no index " + gN(index.value, 10);
        for (const auto &[given, ignored] : set.terms)
            if (given == j) return where + "index " + std::to_string(j) + " is given twice";
        set.terms.emplace_back(j, value.value / per_wave);
    }
    if (per_wave == 0) return "line 1: needs # ordering=... normalisation=... unit=...";
    return "";
}

std::string format_zernike_file(const ZernikeSet &set)
{
    std::string text = std::string("# ordering=") + zernike_ordering_name(set.ordering) +
                       " normalisation=" + zernike_normalisation_name(set.normalisation) +
                       " unit=waves\n";
    for (const auto &[index, value] : set.terms)
        text += std::to_string(index) + "," + gN(value, 9) + "\n";
    return text;
}

void apply_zernike_set(const ZernikeSet &set)
{
    extra_terms.clear();
    std::fill(HasZern, HasZern + 38, 0);
    for (const auto &[index, value] : set.terms) {
        const std::optional<ZernikeMode> mode = zernike_mode(set.ordering, index);
        if (!mode) continue;
        const double peak = value * to_peak(set.normalisation, *mode);
        if (const std::optional<int> k = zernike_index(ZernikeOrdering::Fringe, *mode)) {
            Zern[*k] = static_cast<float>(peak);
            HasZern[*k] = 1;
        } else {
            extra_terms.emplace_back(*mode, peak);
        }
    }
}

const std::vector<std::pair<ZernikeMode, double>> &extra_zernike_terms() { return extra_terms; }

void clear_extra_zernike_terms() { extra_terms.clear(); }

ZernikeFit fit_zernikes(ZernikeOrdering ordering, ZernikeNormalisation normalisation, int count,
                        std::string &problem)
{
    ZernikeFit fit{{ordering, normalisation, {}}, 0, 0};
    std::vector<ZernikeMode> modes;
    for (int j = first_zernike_index(ordering); int(modes.size()) < count; j++) {
        const std::optional<ZernikeMode> mode = zernike_mode(ordering, j);
        if (!mode) {
            problem = std::string("the ") + zernike_ordering_name(ordering) + " ordering has " +
                      std::to_string(modes.size()) + " terms, not " + std::to_string(count);
            return fit;
        }
        modes.push_back(*mode);
    }
    // The samples with light, at the pupil's own polar coordinates.
    std::vector<double> basis, phases;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            if (!(r_input[i][j] > 0)) continue;
            const double dx = i - xCent, dy = j - yCent;
            const double rho = std::hypot(dx, dy) / ncenter, theta = std::atan2(dy, dx) + 1e-6;
            for (const ZernikeMode &mode : modes)
                basis.push_back(zernike_value(mode, rho, theta) * to_peak(normalisation, mode));
            phases.push_back(phase_input[i][j]);
        }
    const int n = count;
    const std::size_t samples = phases.size();
    if (samples < std::size_t(n)) {
        problem = std::to_string(samples) + " samples carry light, fewer than the " +
                  std::to_string(n) + " terms to fit";
        return fit;
    }
    std::vector<double> normal(std::size_t(n) * n, 0.0), rhs(n, 0.0);
    for (std::size_t s = 0; s < samples; s++) {
        const double *row = &basis[s * n];
        for (int a = 0; a < n; a++) {
            rhs[a] += row[a] * phases[s];
            for (int b = 0; b <= a; b++) normal[a * n + b] += row[a] * row[b];
        }
    }
    for (int a = 0; a < n; a++)
        for (int b = a + 1; b < n; b++) normal[a * n + b] = normal[b * n + a];
    if (!solve_cholesky(normal, rhs, n)) {
        problem = "the terms cannot be told apart on the samples with light";
        return fit;
    }
    double sum2 = 0, low = 0, high = 0;
    for (std::size_t s = 0; s < samples; s++) {
        double model = 0;
        for (int a = 0; a < n; a++) model += basis[s * n + a] * rhs[a];
        const double left = phases[s] - model;
        sum2 += left * left;
        low = s == 0 ? left : std::min(low, left);
        high = s == 0 ? left : std::max(high, left);
    }
    fit.residual_rms = std::sqrt(sum2 / double(samples));
    fit.residual_pv = high - low;
    for (int a = 0; a < n; a++)
        fit.set.terms.emplace_back(*zernike_index(ordering, modes[a]), rhs[a]);
    return fit;
}

std::string parse_zernike_fit(const std::string &text, ZernikeOrdering &ordering,
                              ZernikeNormalisation &normalisation, int &count)
{
    const std::string refusal =
        "--zernike-fit needs ORDER:NORM:N (fringe, noll or ansi; peak or rms; 1 to 231 terms), "
        "not " +
        text;
    const std::size_t c1 = text.find(':'), c2 = text.find(':', c1 == text.npos ? c1 : c1 + 1);
    if (c2 == std::string::npos) return refusal;
    const auto o = zernike_ordering_named(text.substr(0, c1));
    const auto n = zernike_normalisation_named(text.substr(c1 + 1, c2 - c1 - 1));
    const std::string digits = text.substr(c2 + 1);
    if (!o || !n || digits.empty() || digits.size() > 3 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return refusal;
    count = std::stoi(digits);
    if (count < 1 || count > 231) return refusal;
    ordering = *o;
    normalisation = *n;
    return "";
}
