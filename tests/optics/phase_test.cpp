#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "optics/pupil.h"
#include "optics/settings.h"

namespace {

class PupilPhase : public testing::Test {
protected:
    void SetUp() override { optics_startup(); }
    void TearDown() override { optics_shutdown(); }

    static void no_phase()
    {
        HasComa = 0;
        HasZern[26] = 0;
    }

    // The aperture test done independently: normalised radius against sqrt(nc^2 + 1/4)/nc.
    static bool inside(int i, int j)
    {
        const double nc = ncenter;
        return std::hypot((i - 64.5) / nc, (j - 64.5) / nc) <= std::sqrt(nc * nc + 0.25) / nc + 0.00001;
    }

    // RMS about the mean over the aperture of a phase given as a function of (xn, yn).
    static double rms_of(const std::function<double(double, double)> &phase)
    {
        double sum = 0, sum_sq = 0;
        int count = 0;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++)
                if (inside(i, j)) {
                    const double p = phase((i - 64.5) / 19.5, (j - 64.5) / 19.5);
                    sum += p;
                    sum_sq += p * p;
                    count++;
                }
        return std::sqrt(sum_sq / count - (sum / count) * (sum / count));
    }
};

TEST_F(PupilPhase, RmsWavefrontOfTheWorkedExamples)
{
    const struct {
        const char *name;
        void (*apply)();
        double value;                                 // to three decimals
        std::function<double(double, double)> phase;  // the same phase, evaluated here
    } rows[] = {
        {"start-up", [] {}, 0.160,
         [](double x, double y) {
             const double r = std::hypot(x, y), t = std::atan2(y, x);
             return -0.4 * r * r * x + 0.26 * std::pow(r, 5) * std::cos(5 * t);
         }},
        {"coma -0.4 alone", [] { HasZern[26] = 0; }, 0.141,
         [](double x, double y) { return -0.4 * (x * x + y * y) * x; }},
        {"defocus 1 alone", [] { no_phase(); HasDefocus = 1; defocus = 1.0f; }, 0.288,
         [](double x, double y) { return x * x + y * y; }},
    };
    for (const auto &row : rows) {
        reset_settings();
        row.apply();
        pillbox_input();
        EXPECT_NEAR(wavesrms, row.value, 0.0005) << row.name;
        EXPECT_NEAR(wavesrms, rms_of(row.phase), 2e-4) << row.name;
    }
}

TEST_F(PupilPhase, PhasePlateEdgeMovesWithItsSteps)
{
    const struct { int steps, last_low; } rows[] = {{0, 64}, {3, 67}, {-2, 62}};
    for (const auto &row : rows) {
        reset_settings();
        no_phase();
        nHasPhasePlate = 1;
        PhasePlateWaves = 0.5f;
        PhasePlateSteps = row.steps;
        pillbox_input();
        for (int i = 45; i <= 84; i++)
            EXPECT_EQ(phase_input[i][64], i <= row.last_low ? -0.25f : 0.25f) << "steps=" << row.steps << " i=" << i;
    }
}

TEST_F(PupilPhase, WaffleAddsLinesOnMultiplesOfThePeriod)
{
    no_phase();
    nCurrentPhasePattern = PATTERN_WAFFLE;
    PhasePatternPeriod = 5;
    PhasePatternWFE = 0.25f;
    pillbox_input();
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            const float expected = inside(i, j) && (i % 5 == 0 || j % 5 == 0) ? 0.25f : 0.0f;
            ASSERT_EQ(phase_input[i][j], expected) << i << "," << j;
        }
}

TEST_F(PupilPhase, CheckerBoardGivesEachCellOneDrawnValue)
{
    no_phase();
    nCurrentPhasePattern = PATTERN_CHECKER;
    PhasePatternPeriod = 5;
    PhasePatternWFE = 0.25f;
    pillbox_input();
    // Every value is (n / 100) pi W for a whole n in 0..99, and all inside samples of a cell
    // whose first sample is inside carry the same value.
    const double quantum = 0.01 * 3.14159 * 0.25;
    std::set<long> values;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            if (!inside(i, j)) continue;
            const double n = phase_input[i][j] / quantum;
            ASSERT_NEAR(n, std::round(n), 1e-3) << i << "," << j;
            values.insert(std::lround(n));
            const int i0 = i - i % 5, j0 = j - j % 5;
            if (i0 >= 1 && j0 >= 1 && inside(i0, j0)) {
                ASSERT_EQ(phase_input[i][j], phase_input[i0][j0]) << i << "," << j;
            }
        }
    EXPECT_GT(values.size(), 10u);  // a random draw per cell, not one value for all
}

TEST_F(PupilPhase, PistonIsFlatWithNoRmsAndOneWaveLooksLikeNone)
{
    no_phase();
    pillbox_input();
    const float a0 = A_input[70][60], b0 = B_input[70][60];
    HasZern[1] = 1;
    pillbox_input();
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) ASSERT_EQ(phase_input[i][j], inside(i, j) ? 0.01f : 0.0f) << i << "," << j;
    EXPECT_EQ(wavesrms, 0.0f);
    Zern[1] = 1.0f;
    pillbox_input();
    EXPECT_NEAR(A_input[70][60], a0, 1e-4);
    EXPECT_NEAR(B_input[70][60], b0, 1e-4);  // 6.28318 is short of 2 pi by 5e-6
}

// Each third-order term alone, against its formula, in the field direction it names.
TEST_F(PupilPhase, ThirdOrderTermsFollowTheirFormulasInEachFieldDirection)
{
    const struct { const char *name; int *flag; float *coefficient; int fov; double (*phase)(double, double); } rows[] = {
        {"spherical", &HasSpherical, &spherical, FOV_X, [](double x, double y) { return std::pow(x * x + y * y, 2); }},
        {"coma in X", &HasComa, &coma, FOV_X, [](double x, double y) { return (x * x + y * y) * x; }},
        {"coma in Y", &HasComa, &coma, FOV_Y, [](double x, double y) { return (x * x + y * y) * y; }},
        {"astigmatism in X", &HasAstigmatism, &astigmatism, FOV_X, [](double x, double y) { return y * y + 3 * x * x; }},
        {"astigmatism in Y", &HasAstigmatism, &astigmatism, FOV_Y, [](double x, double y) { return x * x + 3 * y * y; }},
        {"defocus", &HasDefocus, &defocus, FOV_Y, [](double x, double y) { return x * x + y * y; }},
    };
    for (const auto &row : rows) {
        reset_settings();
        no_phase();
        *row.flag = 1;
        *row.coefficient = 0.3f;
        nCurrentFOV = row.fov;
        pillbox_input();
        for (auto [i, j] : {std::pair{70, 60}, {50, 77}, {80, 75}}) {
            const double x = (i - 64.5) / 19.5, y = (j - 64.5) / 19.5;
            EXPECT_NEAR(phase_input[i][j], 0.3 * row.phase(x, y), 2e-6) << row.name << " at " << i << "," << j;
        }
    }
}

// The 37 Fringe Zernike polynomials written out one by one.
double zernike_by_hand(int k, double r, double t)
{
    const double r2 = r * r, r3 = r2 * r, r4 = r2 * r2, r5 = r4 * r, r6 = r3 * r3, r7 = r6 * r, r8 = r4 * r4,
                 r9 = r8 * r, r10 = r5 * r5, r12 = r6 * r6;
    switch (k) {
    case 1: return 1;
    case 2: return r * std::cos(t);
    case 3: return r * std::sin(t);
    case 4: return 2 * r2 - 1;
    case 5: return r2 * std::cos(2 * t);
    case 6: return r2 * std::sin(2 * t);
    case 7: return (3 * r3 - 2 * r) * std::cos(t);
    case 8: return (3 * r3 - 2 * r) * std::sin(t);
    case 9: return 6 * r4 - 6 * r2 + 1;
    case 10: return r3 * std::cos(3 * t);
    case 11: return r3 * std::sin(3 * t);
    case 12: return (4 * r4 - 3 * r2) * std::cos(2 * t);
    case 13: return (4 * r4 - 3 * r2) * std::sin(2 * t);
    case 14: return (10 * r5 - 12 * r3 + 3 * r) * std::cos(t);
    case 15: return (10 * r5 - 12 * r3 + 3 * r) * std::sin(t);
    case 16: return 20 * r6 - 30 * r4 + 12 * r2 - 1;
    case 17: return r4 * std::cos(4 * t);
    case 18: return r4 * std::sin(4 * t);
    case 19: return (5 * r5 - 4 * r3) * std::cos(3 * t);
    case 20: return (5 * r5 - 4 * r3) * std::sin(3 * t);
    case 21: return (15 * r6 - 20 * r4 + 6 * r2) * std::cos(2 * t);
    case 22: return (15 * r6 - 20 * r4 + 6 * r2) * std::sin(2 * t);
    case 23: return (35 * r7 - 60 * r5 + 30 * r3 - 4 * r) * std::cos(t);
    case 24: return (35 * r7 - 60 * r5 + 30 * r3 - 4 * r) * std::sin(t);
    case 25: return 70 * r8 - 140 * r6 + 90 * r4 - 20 * r2 + 1;
    case 26: return r5 * std::cos(5 * t);
    case 27: return r5 * std::sin(5 * t);
    case 28: return (6 * r6 - 5 * r4) * std::cos(4 * t);
    case 29: return (6 * r6 - 5 * r4) * std::sin(4 * t);
    case 30: return (21 * r7 - 30 * r5 + 10 * r3) * std::cos(3 * t);
    case 31: return (21 * r7 - 30 * r5 + 10 * r3) * std::sin(3 * t);
    case 32: return (56 * r8 - 105 * r6 + 60 * r4 - 10 * r2) * std::cos(2 * t);
    case 33: return (56 * r8 - 105 * r6 + 60 * r4 - 10 * r2) * std::sin(2 * t);
    case 34: return (126 * r9 - 280 * r7 + 210 * r5 - 60 * r3 + 5 * r) * std::cos(t);
    case 35: return (126 * r9 - 280 * r7 + 210 * r5 - 60 * r3 + 5 * r) * std::sin(t);
    case 36: return 252 * r10 - 630 * r8 + 560 * r6 - 210 * r4 + 30 * r2 - 1;
    case 37: return 924 * r12 - 2772 * r10 + 3150 * r8 - 1680 * r6 + 420 * r4 - 42 * r2 + 1;
    }
    return NAN;
}

TEST_F(PupilPhase, EachZernikeTermMatchesItsPolynomial)
{
    const struct { int i, j; } samples[] = {{65, 65}, {84, 64}, {50, 77}, {72, 50}, {60, 60}, {80, 75}};
    for (int k = 1; k <= 37; k++) {
        reset_settings();
        no_phase();
        HasZern[k] = 1;
        Zern[k] = 1.0f;
        pillbox_input();
        for (const auto &s : samples) {
            const double dx = s.i - 64.5, dy = s.j - 64.5;
            const double rho = std::hypot(dx, dy) / 19.5, theta = std::atan2(dy, dx) + 0.000001;
            EXPECT_NEAR(phase_input[s.i][s.j], zernike_by_hand(k, rho, theta), 2e-5)
                << "Z" << k << " at " << s.i << "," << s.j;
        }
    }
}

}  // namespace
