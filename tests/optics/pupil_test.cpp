// The pupil's transmission and phase.
#include <set>

#include "tests/optics/optics_test.h"

namespace {

using Pupil = OpticsTest;

TEST_F(Pupil, EachApertureLightsExactlyItsSamples)
{
    EXPECT_EQ(count_where(r_input, 1.0f), 1192);  // the start-up round pupil of radius 20
    const struct {
        const char *name;
        void (*apply)();
        bool (*lit)(int, int);
    } rows[] = {
        {"round", [] {}, inside},
        // A rectangle spans rows 45..84 and |dy| <= aspect * 19.5066 around 64.5.
        {"rectangle 0.5",
         [] { set_both(nCurrentPupilShape, SHAPE_RECTANGLE, PupilAspectRatio, 0.5f); },
         [](int i, int j) { return i >= 45 && i <= 84 && j >= 55 && j <= 74; }},
        // 0.1 of 19.5 samples darkens the twelve innermost samples.
        {"obscured", [] { nCurrentObscuration = 1; },
         [](int i, int j) { return inside(i, j) && std::hypot(i - 64.5, j - 64.5) >= 1.95; }},
        {"struts", [] { HasStruts = 1; },
         [](int i, int j) { return inside(i, j) && i != 64 && i != 65 && j != 64 && j != 65; }},
    };
    for (const auto &row : rows) {
        reset_settings();
        row.apply();
        pillbox_input();
        const auto transmission = [&](int i, int j) {
            return r_input[i][j] == (row.lit(i, j) ? 1.0f : 0.0f);
        };
        const auto dark_has_no_field = [&](int i, int j) {
            return row.lit(i, j) || (A_input[i][j] == 0.0f && B_input[i][j] == 0.0f);
        };
        EXPECT_EQ(first_sample_failing(transmission), "") << row.name;
        EXPECT_EQ(first_sample_failing(dark_has_no_field), "") << row.name;
    }
}

TEST_F(Pupil, StrutSampleKeepsItsPhase)
{
    // Sample (70, 64) lies on the strut along column 64; its phase is the start-up coma's.
    const float phase = phase_input[70][64];
    HasStruts = 1;
    pillbox_input();
    EXPECT_NE(phase, 0.0f);
    EXPECT_EQ(phase_input[70][64], phase);
}

TEST_F(Pupil, ApodizationValuesFollowTheirFormulas)
{
    clear_phase();
    // Sample (45, 64) has rho = hypot(19.5, 0.5) / 19.5, where the triangular ramp is slightly
    // negative (about -0.0013); sample (64, 64) is next to the centre.
    const double rim = std::hypot(19.5, 0.5) / 19.5;
    const double sg_x = std::exp(-std::pow((16.5 / 19.5) / 0.7, 3.0));
    const double sg_y = std::exp(-std::pow((5.5 / 19.5) / 0.7, 3.0));
    const struct {
        const char *name;
        int apod, i, j;
        double expected, tolerance;
    } rows[] = {
        {"triangular rim by hand", APOD_TRIANGULAR, 45, 64, -0.0013, 1e-4},
        {"triangular centre", APOD_TRIANGULAR, 64, 64, 1.0, 2e-6},
        {"circular sg rim", APOD_CIRCULAR_SG, 45, 64, std::exp(-std::pow(rim / 0.7, 3.0)), 2e-6},
        {"rectangular sg", APOD_RECTANGULAR_SG, 48, 70, sg_x * sg_y, 2e-6},
    };
    for (const auto &row : rows) {
        nCurrentApod = row.apod;
        pillbox_input();
        EXPECT_NEAR(r_input[row.i][row.j], row.expected, row.tolerance) << row.name;
    }
}

TEST_F(Pupil, WavefrontRmsIsTakenAboutTheMean)
{
    // The RMS of the worked examples (0.160 and 0.288 waves) about the mean of the formula
    // over the 1192 aperture samples, summed independently.
    const struct {
        const char *name;
        void (*apply)();
        double rms;
    } rows[] = {
        {"start-up: coma -0.4 and 0.26 of Zernike 26", [] { set_both(HasComa, 1, HasZern[26], 1); },
         0.16004},
        {"piston alone: flat, so no RMS about the mean", [] { HasZern[1] = 1; }, 0.0},
        {"defocus 1 alone", [] { set_both(HasDefocus, 1, defocus, 1.0f); }, 0.28815},
    };
    for (const auto &row : rows) {
        reset_settings();
        clear_phase();
        row.apply();
        pillbox_input();
        EXPECT_NEAR(wavesrms, row.rms, 2e-4) << row.name;
    }
}

TEST_F(Pupil, WafflePutsItsStepOnEveryFifthRowAndColumn)
{
    clear_phase();
    nCurrentPhasePattern = PATTERN_WAFFLE;
    PhasePatternPeriod = 5;
    PhasePatternWFE = 0.25f;
    pillbox_input();
    const auto waffle = [](int i, int j) {
        const bool line = i % 5 == 0 || j % 5 == 0;
        return phase_input[i][j] == (inside(i, j) && line ? 0.25f : 0.0f);
    };
    EXPECT_EQ(first_sample_failing(waffle), "");
}

// Each value is (n / 100) pi W, n whole, drawn once per cell: a cell whose first sample is
// inside holds one value.
TEST_F(Pupil, CheckerGivesEachCellOneRandomMultipleOfItsQuantum)
{
    clear_phase();
    nCurrentPhasePattern = PATTERN_CHECKER;
    PhasePatternPeriod = 5;
    PhasePatternWFE = 0.25f;
    pillbox_input();
    const double quantum = 0.01 * 3.14159 * 0.25;
    std::set<long> values;
    const auto whole_quanta = [&](int i, int j) {
        const double n = phase_input[i][j] / quantum;
        if (inside(i, j)) values.insert(std::lround(n));
        return !inside(i, j) || std::fabs(n - std::round(n)) < 1e-3;
    };
    const auto one_per_cell = [](int i, int j) {
        const int i0 = i - i % 5, j0 = j - j % 5;
        const bool cell_inside = inside(i, j) && i0 >= 1 && j0 >= 1 && inside(i0, j0);
        return !cell_inside || phase_input[i][j] == phase_input[i0][j0];
    };
    EXPECT_EQ(first_sample_failing(whole_quanta), "");
    EXPECT_EQ(first_sample_failing(one_per_cell), "");
    EXPECT_GT(values.size(), 10u);  // a random draw per cell, not one value for all
}

TEST_F(Pupil, PhasePlateEdgeMovesWithItsSteps)
{
    // last_low: the last row of column 64 on the plate's low side.
    for (const auto &[steps, last_low] : {std::pair{0, 64}, {3, 67}, {-2, 62}}) {
        reset_settings();
        clear_phase();
        nHasPhasePlate = 1;
        PhasePlateWaves = 0.5f;
        PhasePlateSteps = steps;
        pillbox_input();
        for (int i = 45; i <= 84; i++)
            EXPECT_EQ(phase_input[i][64], i <= last_low ? -0.25f : 0.25f)
                << steps << " steps, i=" << i;
    }
}

// The Fringe order of the 37 Zernike terms as (n, m): m > 0 takes cos(m t), m < 0 sin(|m| t).
constexpr int FRINGE[38][2] = {
    {},      {0, 0},  {1, 1},  {1, -1}, {2, 0},  {2, 2},  {2, -2}, {3, 1},  {3, -1}, {4, 0},
    {3, 3},  {3, -3}, {4, 2},  {4, -2}, {5, 1},  {5, -1}, {6, 0},  {4, 4},  {4, -4}, {5, 3},
    {5, -3}, {6, 2},  {6, -2}, {7, 1},  {7, -1}, {8, 0},  {5, 5},  {5, -5}, {6, 4},  {6, -4},
    {7, 3},  {7, -3}, {8, 2},  {8, -2}, {9, 1},  {9, -1}, {10, 0}, {12, 0}};

// Zernike term k from the factorial formula of its radial polynomial.
double zernike(int k, double r, double t)
{
    const int n = FRINGE[k][0], m = std::abs(FRINGE[k][1]), h = (n + m) / 2, l = (n - m) / 2;
    auto f = [](int v) { return std::tgamma(v + 1.0); };
    double radial = 0;
    for (int s = 0; s <= l; s++)
        radial +=
            (s % 2 ? -1 : 1) * f(n - s) / (f(s) * f(h - s) * f(l - s)) * std::pow(r, n - 2 * s);
    return radial * (FRINGE[k][1] < 0 ? std::sin(m * t) : std::cos(m * t));
}

// Each third-order term alone, in the field direction it names, then each Zernike term alone.
TEST_F(Pupil, EachTermAloneFollowsItsFormula)
{
    struct Row {
        std::string name;
        int *flag;
        float *coefficient;
        int fov;
        double (*phase)(double x, double y);
    };
    std::vector<Row> rows = {
        {"spherical", &HasSpherical, &spherical, FOV_X,
         [](double x, double y) { return std::pow(x * x + y * y, 2); }},
        {"coma in X", &HasComa, &coma, FOV_X,
         [](double x, double y) { return (x * x + y * y) * x; }},
        {"coma in Y", &HasComa, &coma, FOV_Y,
         [](double x, double y) { return (x * x + y * y) * y; }},
        {"astigmatism X", &HasAstigmatism, &astigmatism, FOV_X,
         [](double x, double y) { return y * y + 3 * x * x; }},
        {"astigmatism Y", &HasAstigmatism, &astigmatism, FOV_Y,
         [](double x, double y) { return x * x + 3 * y * y; }},
        {"defocus", &HasDefocus, &defocus, FOV_Y, [](double x, double y) { return x * x + y * y; }},
    };
    for (int k = 1; k <= 37; k++)  // Zk
        rows.push_back({std::to_string(k), &HasZern[k], &Zern[k], FOV_X, nullptr});
    for (const auto &row : rows) {
        reset_settings();
        clear_phase();
        *row.flag = 1;
        *row.coefficient = 0.3f;
        nCurrentFOV = row.fov;
        pillbox_input();
        for (auto [i, j] :
             {std::pair{65, 65}, {84, 64}, {70, 60}, {50, 77}, {72, 50}, {60, 60}, {80, 75}}) {
            const double x = (i - 64.5) / 19.5, y = (j - 64.5) / 19.5;
            const double rho = std::hypot(x, y), theta = std::atan2(y, x) + 0.000001;
            const double phase =
                row.phase ? row.phase(x, y) : zernike(std::stoi(row.name), rho, theta);
            EXPECT_NEAR(phase_input[i][j], 0.3 * phase, 2e-6)
                << row.name << " at " << i << "," << j;
        }
    }
}

}  // namespace
