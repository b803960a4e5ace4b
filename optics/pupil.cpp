#include "optics/pupil.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "optics/hooks.h"
#include "optics/phase_map.h"
#include "optics/settings.h"
#include "optics/zernike.h"

namespace {

constexpr double TWO_PI_WAVES = 6.28318;  // waves to radians, as the pupil has always used
constexpr double INV_0_7 = 1.4285714285714286;
constexpr int MAX_POWER = 12;

// The Fringe Zernike set: radial polynomial as coefficients of rho^0 .. rho^12, times
// cos(m theta), sin(m theta) or 1. Each radial part is 1 at rho = 1.
enum Trig { NONE, COS, SIN };
struct ZernikeTerm {
    int m;
    Trig trig;
    double c[MAX_POWER + 1];
};
// clang-format off
constexpr ZernikeTerm ZERNIKE[38] = {
    {0, NONE, {}},                                                    // (no term 0)
    {0, NONE, {1}},                                                   //  1  1
    {1, COS,  {0, 1}},                                                //  2  rho cos
    {1, SIN,  {0, 1}},                                                //  3  rho sin
    {0, NONE, {-1, 0, 2}},                                            //  4  2r2 - 1
    {2, COS,  {0, 0, 1}},                                             //  5
    {2, SIN,  {0, 0, 1}},                                             //  6
    {1, COS,  {0, -2, 0, 3}},                                         //  7  3r3 - 2r
    {1, SIN,  {0, -2, 0, 3}},                                         //  8
    {0, NONE, {1, 0, -6, 0, 6}},                                      //  9  6r4 - 6r2 + 1
    {3, COS,  {0, 0, 0, 1}},                                          // 10
    {3, SIN,  {0, 0, 0, 1}},                                          // 11
    {2, COS,  {0, 0, -3, 0, 4}},                                      // 12  4r4 - 3r2
    {2, SIN,  {0, 0, -3, 0, 4}},                                      // 13
    {1, COS,  {0, 3, 0, -12, 0, 10}},                                 // 14  10r5 - 12r3 + 3r
    {1, SIN,  {0, 3, 0, -12, 0, 10}},                                 // 15
    {0, NONE, {-1, 0, 12, 0, -30, 0, 20}},                            // 16  20r6 - 30r4 + 12r2 - 1
    {4, COS,  {0, 0, 0, 0, 1}},                                       // 17
    {4, SIN,  {0, 0, 0, 0, 1}},                                       // 18
    {3, COS,  {0, 0, 0, -4, 0, 5}},                                   // 19  5r5 - 4r3
    {3, SIN,  {0, 0, 0, -4, 0, 5}},                                   // 20
    {2, COS,  {0, 0, 6, 0, -20, 0, 15}},                              // 21  15r6 - 20r4 + 6r2
    {2, SIN,  {0, 0, 6, 0, -20, 0, 15}},                              // 22
    {1, COS,  {0, -4, 0, 30, 0, -60, 0, 35}},                         // 23  35r7 - 60r5 + 30r3 - 4r
    {1, SIN,  {0, -4, 0, 30, 0, -60, 0, 35}},                         // 24
    {0, NONE, {1, 0, -20, 0, 90, 0, -140, 0, 70}},                    // 25  70r8 - 140r6 + 90r4 - 20r2 + 1
    {5, COS,  {0, 0, 0, 0, 0, 1}},                                    // 26
    {5, SIN,  {0, 0, 0, 0, 0, 1}},                                    // 27
    {4, COS,  {0, 0, 0, 0, -5, 0, 6}},                                // 28  6r6 - 5r4
    {4, SIN,  {0, 0, 0, 0, -5, 0, 6}},                                // 29
    {3, COS,  {0, 0, 0, 10, 0, -30, 0, 21}},                          // 30  21r7 - 30r5 + 10r3
    {3, SIN,  {0, 0, 0, 10, 0, -30, 0, 21}},                          // 31
    {2, COS,  {0, 0, -10, 0, 60, 0, -105, 0, 56}},                    // 32  56r8 - 105r6 + 60r4 - 10r2
    {2, SIN,  {0, 0, -10, 0, 60, 0, -105, 0, 56}},                    // 33
    {1, COS,  {0, 5, 0, -60, 0, 210, 0, -280, 0, 126}},               // 34  126r9 - 280r7 + 210r5 - 60r3 + 5r
    {1, SIN,  {0, 5, 0, -60, 0, 210, 0, -280, 0, 126}},               // 35
    {0, NONE, {-1, 0, 30, 0, -210, 0, 560, 0, -630, 0, 252}},         // 36
    {0, NONE, {1, 0, -42, 0, 420, 0, -1680, 0, 3150, 0, -2772, 0, 924}},  // 37
};
// clang-format on

// Powers of rho and the multiple-angle cosines and sines of one sample, evaluated once and
// shared by every enabled term.
struct SampleBasis {
    double power[MAX_POWER + 1];
    double cosm[6], sinm[6];

    // cos_theta and sin_theta of the sample's polar angle.
    SampleBasis(double rho, double cos_theta, double sin_theta, int max_power, int max_m)
    {
        power[0] = 1.0;
        for (int n = 1; n <= max_power; n++) power[n] = power[n - 1] * rho;
        cosm[0] = 1.0;
        sinm[0] = 0.0;
        cosm[1] = cos_theta;
        sinm[1] = sin_theta;
        for (int m = 2; m <= max_m; m++) {  // angle addition: (m-1) theta + theta
            cosm[m] = cosm[m - 1] * cosm[1] - sinm[m - 1] * sinm[1];
            sinm[m] = sinm[m - 1] * cosm[1] + cosm[m - 1] * sinm[1];
        }
    }

    double angular(const ZernikeTerm &t) const
    {
        switch (t.trig) {
        case COS: return cosm[t.m];
        case SIN: return sinm[t.m];
        default: return 1.0;
        }
    }
};

int highest_power(int k)
{
    int n = MAX_POWER;
    while (n > 0 && ZERNIKE[k].c[n] == 0.0) n--;
    return n;
}

// The enabled terms with their radial polynomials reduced to the nonzero coefficients. The
// cosine and sine terms of a pair share one radial polynomial, evaluated once per sample.
struct EnabledZernikes {
    struct Term {
        int k;
        bool same_radial_as_previous;
        int first, count;  // into power_of/coefficient
    };
    Term term[37];
    int power_of[37 * (MAX_POWER + 1)];
    double coefficient[37 * (MAX_POWER + 1)];
    int count = 0;
    int max_power = 0;
    int max_m = 0;

    EnabledZernikes()
    {
        int used = 0;
        for (int k = 1; k <= 37; k++) {
            if (HasZern[k] != 1) continue;
            Term &t = term[count];
            t.k = k;
            t.same_radial_as_previous = count > 0 && same_radial(term[count - 1].k, k);
            t.first = used;
            for (int n = 0; n <= MAX_POWER; n++)
                if (ZERNIKE[k].c[n] != 0.0) {
                    power_of[used] = n;
                    coefficient[used++] = ZERNIKE[k].c[n];
                }
            t.count = used - t.first;
            count++;
            if (highest_power(k) > max_power) max_power = highest_power(k);
            if (ZERNIKE[k].m > max_m) max_m = ZERNIKE[k].m;
        }
    }

    static bool same_radial(int a, int b)
    {
        for (int n = 0; n <= MAX_POWER; n++)
            if (ZERNIKE[a].c[n] != ZERNIKE[b].c[n]) return false;
        return true;
    }

    // Adds Zern[k] Zk for every enabled term to phase, rounding to float after each term.
    float add_to(float phase, const SampleBasis &basis) const
    {
        double radial = 0.0;
        for (int t = 0; t < count; t++) {
            const Term &term_t = term[t];
            if (!term_t.same_radial_as_previous) {
                radial = 0.0;
                for (int c = term_t.first + term_t.count - 1; c >= term_t.first; c--)
                    radial += coefficient[c] * basis.power[power_of[c]];
            }
            phase = static_cast<float>(phase + Zern[term_t.k] *
                                                   (radial * basis.angular(ZERNIKE[term_t.k])));
        }
        return phase;
    }
};

// The pattern generator's state: the Park-Miller minimal standard sequence from a fixed start.
std::uint64_t pattern_state = 1;

// Next value of the pattern generator, a non-negative 31-bit integer. It is never seeded, so
// every run draws the same patterns, and it continues from one rebuild to the next.
long pattern_random()
{
    std::uint64_t &state = pattern_state;
    state = (state * 48271u) % 2147483647u;
    return static_cast<long>(state);
}

// One draw of the phase pattern: (R mod 100) hundredths of W pi waves.
float pattern_draw(float wfe)
{
    return static_cast<float>((pattern_random() % 100) * 0.01 * (wfe * 3.14159));
}

float apodization(float rho, float ax, float ay)
{
    switch (nCurrentApod) {
    case APOD_TRIANGULAR:
        if (rho < rbreak) return 1.0f;
        // A break at or beyond the rim leaves no room for the ramp: it degenerates into a hard
        // edge at the break instead of dividing by zero.
        if (rbreak >= 1.0f) return 0.0f;
        return 1.0f - (rho - rbreak) / (1.0f - rbreak);
    case APOD_CIRCULAR_SG:
        return static_cast<float>(std::exp(-std::pow(rho * INV_0_7, 2.0 * cir_sgxp)));
    case APOD_RECTANGULAR_SG:
        return static_cast<float>(std::exp(-std::pow(ax * INV_0_7, 2.0 * x_sgxp)) *
                                  std::exp(-std::pow(ay * INV_0_7, 2.0 * y_sgxp)));
    default: return 1.0f;
    }
}

float finite_or_zero(float v) { return std::isfinite(v) ? v : 0.0f; }

}  // namespace

void reset_pattern_random() { pattern_state = 1; }

PupilOutline pupil_outline()
{
    const float rmax = static_cast<float>(std::sqrt(ncenter * ncenter + 0.25) / ncenter + 0.00001);
    return {rmax, rmax * PupilAspectRatio};
}

bool PupilOutline::contains(float ax, float ay, float radius) const
{
    return (nCurrentPupilShape == SHAPE_ROUND && radius <= rmax) ||
           (nCurrentPupilShape == SHAPE_RECTANGLE && ax <= rmax && ay <= ymax);
}

void pillbox_input()
{
    set_all_arrays_zero();
    optics_set_cursor(OpticsCursor::Wavefront);

    wavesrms = 0.0f;
    // The running mean and sum of squared deviations (Welford), in double: the squares of
    // large phases overflow a float long before the phases do, and a sum of squares less the
    // squared mean loses a small spread about a large mean.
    double phase_mean = 0.0, phase_m2 = 0.0, count = 0.0;

    const PupilOutline outline = pupil_outline();

    const EnabledZernikes zernikes;
    // A measured wavefront on the grid, NaN where it has no data.
    const std::vector<float> map = HasPhaseMap == 1 ? resampled_phase_map() : std::vector<float>{};
    // Index arithmetic in 64 bits: a period or plate edge near the int limits must not wrap.
    // A period longer than the grid puts no line and no cell edge on it, and an edge beyond
    // the grid leaves the whole pupil on one side.
    const std::int64_t P = PhasePatternPeriod;
    const std::int64_t plate_edge = std::int64_t{64} + PhasePlateSteps;
    const float W = PhasePatternWFE;
    // A period below one sample has no cells or lines to draw; the patterns that need it
    // are left out rather than dividing by zero.
    const bool blocks_defined = P >= 1;
    float cell_table[900] = {};

    for (int i = 1; i <= GRID; i++) {
        const float dx = i - xCent;
        const float xn = dx / ncenter;
        const float ax = std::fabs(xn);
        for (int j = 1; j <= GRID; j++) {
            const float dy = j - yCent;
            const float yn = dy / ncenter;
            const float ay = std::fabs(yn);
            r = static_cast<float>(std::sqrt(ax * ax + ay * ay));

            const bool inside = outline.contains(ax, ay, r);
            if (inside) {
                const float rho = r;
                r_input[i][j] = finite_or_zero(apodization(rho, ax, ay));

                float phase = 0.0f;
                if (nHasPhasePlate == 1)
                    phase = (i > plate_edge) ? PhasePlateWaves / 2 : -PhasePlateWaves / 2;

                if (nCurrentPhasePattern == PATTERN_RANDOM) {
                    phase += pattern_draw(W);
                } else if (blocks_defined && (nCurrentPhasePattern == PATTERN_CHECKER ||
                                              nCurrentPhasePattern == PATTERN_WAFFLE)) {
                    const std::int64_t ri = (i + P) % P, rj = (j + P) % P;
                    if (nCurrentPhasePattern == PATTERN_CHECKER) {
                        const std::int64_t bj = (j + P) / P;  // at most 129 for P >= 1
                        if (ri == 0 && rj == 0) cell_table[bj] = pattern_draw(W);
                        phase += cell_table[bj];
                    } else if (ri == 0 || rj == 0) {
                        phase += W;
                    }
                }

                const double rho2 = static_cast<double>(rho) * rho;
                if (HasSpherical == 1) phase = static_cast<float>(phase + spherical * rho2 * rho2);
                if (HasComa == 1)
                    phase =
                        static_cast<float>(phase + coma * rho2 * (nCurrentFOV == FOV_Y ? yn : xn));
                if (HasAstigmatism == 1) {
                    const double u = nCurrentFOV == FOV_Y ? xn : yn,
                                 v = nCurrentFOV == FOV_Y ? yn : xn;
                    phase = static_cast<float>(phase + astigmatism * (u * u + 3.0 * v * v));
                }
                if (HasDefocus == 1) phase = static_cast<float>(phase + defocus * rho2);

                if (zernikes.count > 0) {
                    // theta is the polar angle from +i towards +j plus 1e-6 rad, held as a
                    // float. Its cosine and sine come from the offsets, turned by the small
                    // angle between the exact direction and that float: cos and sin of an
                    // angle of 1e-6 are 1 - d^2/2 and d to double precision.
                    const double exact =
                        std::atan2(static_cast<double>(dy), static_cast<double>(dx));
                    const float theta = static_cast<float>(exact + 0.000001);
                    const double d = static_cast<double>(theta) - exact;
                    const double h =
                        std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
                    const double c = dx / h, s = dy / h, cos_d = 1.0 - 0.5 * d * d;
                    const SampleBasis basis(rho, c * cos_d - s * d, s * cos_d + c * d,
                                            zernikes.max_power, zernikes.max_m);
                    phase = zernikes.add_to(phase, basis);
                }
                // Terms of a coefficient file beyond the 37 Fringe ones.
                if (!extra_zernike_terms().empty()) {
                    const double theta =
                        std::atan2(static_cast<double>(dy), static_cast<double>(dx)) + 0.000001;
                    for (const auto &[mode, coefficient] : extra_zernike_terms())
                        phase = static_cast<float>(phase +
                                                   coefficient * zernike_value(mode, rho, theta));
                }

                // Where the map has no data the pupil is dark, and the phase there is unknown:
                // it stays 0 and out of the RMS.
                const float measured = map.empty() ? 0.0f : map[i * (GRID + 1) + j];
                if (std::isnan(measured)) {
                    r_input[i][j] = 0.0f;
                } else {
                    phase = finite_or_zero(static_cast<float>(phase + measured));
                    phase_input[i][j] = phase;
                    count += 1.0;
                    const double delta = phase - phase_mean;
                    phase_mean += delta / count;
                    phase_m2 += delta * (phase - phase_mean);
                }
            }

            if (nCurrentObscuration != 0 && r < LinearObscuration) r_input[i][j] = 0.0f;
            if (HasStruts != 0 && (i == 64 || i == 65 || j == 64 || j == 65)) r_input[i][j] = 0.0f;

            const float T = r_input[i][j];
            if (T != 0.0f) {
                const double angle = TWO_PI_WAVES * phase_input[i][j];
                A_input[i][j] = static_cast<float>(std::cos(angle) * T);
                B_input[i][j] = static_cast<float>(std::sin(angle) * T);
            }
        }
    }

    // RMS about the mean over the aperture; an empty aperture has nothing to average and
    // gives 0. The phases are bounded (by the settings' ranges) so that the RMS fits a float.
    if (count > 0.0) wavesrms = static_cast<float>(std::sqrt(phase_m2 / count));
    HaveCurrentPSF = 0;

    optics_set_cursor(OpticsCursor::Arrow);
}
