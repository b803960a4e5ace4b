#include <cmath>
#include <functional>
#include <set>

#include "tests/optics/optics_test.h"

namespace {

using Phase = std::function<double(double, double)>;

class PupilPhase : public OpticsTest {
protected:
    // RMS about the mean over the aperture of a phase given as a function of (xn, yn).
    static double rms_of(const Phase &phase)
    {
        double sum = 0, sum_sq = 0;
        int count = 0;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++)
                if (inside(i, j)) {
                    const double p = phase((i - 64.5) / 19.5, (j - 64.5) / 19.5);
                    sum += p, sum_sq += p * p, count++;
                }
        return std::sqrt(sum_sq / count - (sum / count) * (sum / count));
    }
};

TEST_F(PupilPhase, RmsWavefrontOfTheWorkedExamples)
{
    const struct { const char *name; void (*apply)(); double value; Phase phase; } rows[] = {
        {"start-up", [] {}, 0.160,
         [](double x, double y) {
             const double r = std::hypot(x, y);
             return -0.4 * r * r * x + 0.26 * std::pow(r, 5) * std::cos(5 * std::atan2(y, x));
         }},
        {"coma -0.4 alone", [] { HasZern[26] = 0; }, 0.141, [](double x, double y) { return -0.4 * (x * x + y * y) * x; }},
        {"defocus 1 alone", [] { clear_phase(); HasDefocus = 1; defocus = 1.0f; }, 0.288,
         [](double x, double y) { return x * x + y * y; }},
    };
    for (const auto &row : rows) {
        reset_settings();
        row.apply();
        pillbox_input();
        EXPECT_NEAR(wavesrms, row.value, 0.0005) << row.name;  // the worked value, to three decimals
        EXPECT_NEAR(wavesrms, rms_of(row.phase), 2e-4) << row.name;
    }
}

TEST_F(PupilPhase, PhasePlateEdgeMovesWithItsSteps)
{
    for (const auto &[steps, last_low] : {std::pair{0, 64}, {3, 67}, {-2, 62}}) {
        reset_settings();
        clear_phase();
        nHasPhasePlate = 1;
        PhasePlateWaves = 0.5f;
        PhasePlateSteps = steps;
        pillbox_input();
        for (int i = 45; i <= 84; i++)
            EXPECT_EQ(phase_input[i][64], i <= last_low ? -0.25f : 0.25f) << "steps=" << steps << " i=" << i;
    }
}

TEST_F(PupilPhase, WaffleAddsLinesOnMultiplesOfThePeriodAndCheckerGivesEachCellOneDrawnValue)
{
    clear_phase();
    nCurrentPhasePattern = PATTERN_WAFFLE;
    PhasePatternPeriod = 5;
    PhasePatternWFE = 0.25f;
    pillbox_input();
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            ASSERT_EQ(phase_input[i][j], inside(i, j) && (i % 5 == 0 || j % 5 == 0) ? 0.25f : 0.0f) << i << "," << j;
    nCurrentPhasePattern = PATTERN_CHECKER;
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
    clear_phase();
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

// The Fringe order of the 37 Zernike terms as (n, m): m > 0 takes cos(m t), m < 0 sin(|m| t).
constexpr int FRINGE[38][2] = {
    {}, {0, 0}, {1, 1}, {1, -1}, {2, 0}, {2, 2}, {2, -2}, {3, 1}, {3, -1}, {4, 0}, {3, 3}, {3, -3}, {4, 2},
    {4, -2}, {5, 1}, {5, -1}, {6, 0}, {4, 4}, {4, -4}, {5, 3}, {5, -3}, {6, 2}, {6, -2}, {7, 1}, {7, -1},
    {8, 0}, {5, 5}, {5, -5}, {6, 4}, {6, -4}, {7, 3}, {7, -3}, {8, 2}, {8, -2}, {9, 1}, {9, -1}, {10, 0}, {12, 0}};

// Zernike term k from the factorial formula of its radial polynomial.
double zernike(int k, double r, double t)
{
    const int n = FRINGE[k][0], m = std::abs(FRINGE[k][1]);
    auto f = [](int v) { return std::tgamma(v + 1.0); };
    double radial = 0;
    for (int s = 0; s <= (n - m) / 2; s++)
        radial += (s % 2 ? -1 : 1) * f(n - s) / (f(s) * f((n + m) / 2 - s) * f((n - m) / 2 - s)) * std::pow(r, n - 2 * s);
    return radial * (FRINGE[k][1] < 0 ? std::sin(m * t) : std::cos(m * t));
}

// Each third-order term alone, in the field direction it names, then each Zernike term alone.
TEST_F(PupilPhase, EachTermAloneFollowsItsFormula)
{
    struct Row { std::string name; int *flag; float *coefficient; int fov; Phase phase; };
    std::vector<Row> rows = {
        {"spherical", &HasSpherical, &spherical, FOV_X, [](double x, double y) { return std::pow(x * x + y * y, 2); }},
        {"coma in X", &HasComa, &coma, FOV_X, [](double x, double y) { return (x * x + y * y) * x; }},
        {"coma in Y", &HasComa, &coma, FOV_Y, [](double x, double y) { return (x * x + y * y) * y; }},
        {"astigmatism in X", &HasAstigmatism, &astigmatism, FOV_X, [](double x, double y) { return y * y + 3 * x * x; }},
        {"astigmatism in Y", &HasAstigmatism, &astigmatism, FOV_Y, [](double x, double y) { return x * x + 3 * y * y; }},
        {"defocus", &HasDefocus, &defocus, FOV_Y, [](double x, double y) { return x * x + y * y; }},
    };
    for (int k = 1; k <= 37; k++)
        rows.push_back({std::string("Z").append(std::to_string(k)), &HasZern[k], &Zern[k], FOV_X, [k](double x, double y) {
                            return zernike(k, std::hypot(x, y), std::atan2(y, x) + 0.000001);
                        }});
    for (const auto &row : rows) {
        reset_settings();
        clear_phase();
        *row.flag = 1;
        *row.coefficient = 0.3f;
        nCurrentFOV = row.fov;
        pillbox_input();
        for (auto [i, j] : {std::pair{65, 65}, {84, 64}, {70, 60}, {50, 77}, {72, 50}, {60, 60}, {80, 75}}) {
            const double x = (i - 64.5) / 19.5, y = (j - 64.5) / 19.5;
            EXPECT_NEAR(phase_input[i][j], 0.3 * row.phase(x, y), 2e-6) << row.name << " at " << i << "," << j;
        }
    }
}

}  // namespace
