// Zernike polynomials as users exchange them: three orderings of the terms (Fringe, the 37
// terms the pupil dialogs hold; Noll, from 1; ANSI/OSA, from 0) and two normalisations (peak:
// the radial part is 1 at the rim; rms: the term's RMS over the unit disc is 1).
//
// A term is (n, m): radial order n, azimuthal m with |m| <= n and n - |m| even; m > 0 goes with
// cos(m theta), m < 0 with sin(|m| theta). Its peak-normalised value is R_n^|m|(rho) times
// that, with R_n^m(rho) = sum over k of (-1)^k (n - k)! / (k! ((n + m)/2 - k)! ((n - m)/2 - k)!)
// rho^(n - 2k); the rms-normalised term is sqrt((2 - [m = 0]) (n + 1)) times it.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class ZernikeOrdering { Fringe, Noll, Ansi };
enum class ZernikeNormalisation { Peak, Rms };

struct ZernikeMode {
    int n, m;
    bool operator==(const ZernikeMode &) const = default;
};

// Terms up to this radial order (231 of them).
constexpr int MOST_ZERNIKE_ORDER = 20;

// The term of an index in an ordering; empty for an index the ordering does not have (Fringe
// holds 1 .. 37) or one beyond the highest radial order.
std::optional<ZernikeMode> zernike_mode(ZernikeOrdering ordering, int index);
// The index of a term in an ordering; empty when the ordering does not hold it.
std::optional<int> zernike_index(ZernikeOrdering ordering, ZernikeMode mode);
// The first index of an ordering: 0 for ANSI, 1 for the others.
int first_zernike_index(ZernikeOrdering ordering);
// The rms-normalised term over the peak-normalised one.
double zernike_rms_factor(ZernikeMode mode);
// The peak-normalised term at (rho, theta).
double zernike_value(ZernikeMode mode, double rho, double theta);

// Coefficients in waves, each with its index in the set's ordering and normalisation.
struct ZernikeSet {
    ZernikeOrdering ordering = ZernikeOrdering::Fringe;
    ZernikeNormalisation normalisation = ZernikeNormalisation::Peak;
    std::vector<std::pair<int, double>> terms;
};
// The same wavefront in another ordering and normalisation, the terms in index order.
ZernikeSet convert_zernikes(const ZernikeSet &set, ZernikeOrdering ordering,
                            ZernikeNormalisation normalisation);

// The names in a file's first line: "fringe", "noll", "ansi"; "peak", "rms".
const char *zernike_ordering_name(ZernikeOrdering ordering);
const char *zernike_normalisation_name(ZernikeNormalisation normalisation);
std::optional<ZernikeOrdering> zernike_ordering_named(const std::string &name);
std::optional<ZernikeNormalisation> zernike_normalisation_named(const std::string &name);

// A coefficient file: "# ordering=noll normalisation=rms unit=waves" (unit waves, nm or um),
// then "index,value" rows. Values come back in waves at wavelength_nm. Returns "" or why the
// text is refused, naming the line.
std::string parse_zernike_file(const std::string &text, double wavelength_nm, ZernikeSet &set);
// The file of a set, in waves: the same first line, then its rows.
std::string format_zernike_file(const ZernikeSet &set);

// Sets the current pupil's phase terms from a set: terms the 37 Fringe settings hold go into
// them (peak-normalised, their flags on); the others are added by the pupil synthesis as
// extra terms. Replaces the extra terms of an earlier set.
void apply_zernike_set(const ZernikeSet &set);
// The extra terms: (term, peak-normalised coefficient in waves).
const std::vector<std::pair<ZernikeMode, double>> &extra_zernike_terms();
void clear_extra_zernike_terms();

// The least-squares fit of phase_input over the samples with light to the first count terms of
// an ordering and normalisation, with the RMS and peak-to-valley of what is left. Empty terms
// and a reason in problem when it cannot be done.
struct ZernikeFit {
    ZernikeSet set;
    double residual_rms = 0, residual_pv = 0;
};
// "ORDER:NORM:N" of a fit: an ordering name, a normalisation name and a count from 1 to 231.
// Returns "" or the one-line refusal.
std::string parse_zernike_fit(const std::string &text, ZernikeOrdering &ordering,
                              ZernikeNormalisation &normalisation, int &count);
ZernikeFit fit_zernikes(ZernikeOrdering ordering, ZernikeNormalisation normalisation, int count,
                        std::string &problem);
