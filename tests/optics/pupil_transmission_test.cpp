#include <cmath>

#include "tests/optics/optics_test.h"

namespace {

class PupilTransmission : public OpticsTest {
protected:
    static bool all_finite()
    {
        for (float **a : {r_input, phase_input, A_input, B_input})
            for (int i = 1; i <= GRID; i++)
                for (int j = 1; j <= GRID; j++)
                    if (!std::isfinite(a[i][j])) return false;
        return std::isfinite(wavesrms);
    }
};

TEST_F(PupilTransmission, StartUpApertureIsTheRoundPupilOfRadius20)
{
    EXPECT_EQ(count_where(r_input, 1.0f), 1192);
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) ASSERT_EQ(r_input[i][j], inside(i, j) ? 1.0f : 0.0f) << i << "," << j;
    EXPECT_EQ(count_where(m_output, 0.0f), GRID_VALUES);
    EXPECT_EQ(HaveCurrentPSF, 0);
}

TEST_F(PupilTransmission, RectanglesFollowTheAspectRatio)
{
    // |dy| <= aspect * 19.5066 around 64.5.
    const struct { float aspect; int j_first, j_last; } rows[] = {{1.0f, 45, 84}, {0.5f, 55, 74}, {2.0f, 26, 103}};
    for (const auto &row : rows) {
        nCurrentPupilShape = SHAPE_RECTANGLE;
        PupilAspectRatio = row.aspect;
        pillbox_input();
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) {
                const bool lit = i >= 45 && i <= 84 && j >= row.j_first && j <= row.j_last;
                ASSERT_EQ(r_input[i][j], lit ? 1.0f : 0.0f) << "aspect=" << row.aspect << " " << i << "," << j;
            }
    }
}

TEST_F(PupilTransmission, ObscurationDarkensTheTwelveInnermostSamplesAndStrutsRowsAndColumns64And65)
{
    nCurrentObscuration = 1;
    pillbox_input();
    EXPECT_EQ(count_where(r_input, 1.0f), 1192 - 12);
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            EXPECT_TRUE(std::hypot(i - 64.5, j - 64.5) >= 1.95 || r_input[i][j] == 0.0f) << i << "," << j;  // 0.1 of 19.5
    reset_settings();
    HasStruts = 1;
    pillbox_input();
    for (int k = 1; k <= GRID; k++)
        for (int line : {64, 65}) {
            ASSERT_EQ(r_input[line][k], 0.0f);
            ASSERT_EQ(r_input[k][line], 0.0f);
            ASSERT_EQ(A_input[line][k], 0.0f);
        }
    // 40 samples of each strut line lie in the aperture, minus the 4 crossings counted twice.
    EXPECT_EQ(count_where(r_input, 1.0f), 1192 - (4 * 40 - 4));
    // The strut sample (70, 64) still carries its phase: coma -0.4 in x and 0.26 of Zernike 26.
    const double xn = 5.5 / 19.5, yn = -0.5 / 19.5, rho = std::hypot(xn, yn);
    EXPECT_NEAR(phase_input[70][64], -0.4 * rho * rho * xn + 0.26 * std::pow(rho, 5) * std::cos(5 * std::atan2(-0.5, 5.5)), 1e-5);
}

TEST_F(PupilTransmission, ApodizationValues)
{
    clear_phase();
    // Sample (45, 64) has rho = hypot(19.5, 0.5) / 19.5, the triangular ramp there is slightly
    // negative (about -0.0013); sample (64, 64) is next to the centre.
    const double rim = std::hypot(19.5, 0.5) / 19.5;
    const struct { const char *name; int apod, i, j; double expected, tolerance; } rows[] = {
        {"none", APOD_NONE, 45, 64, 1.0, 2e-6},
        {"triangular rim", APOD_TRIANGULAR, 45, 64, 1.0 - (rim - 0.75) / 0.25, 2e-6},
        {"triangular rim by hand", APOD_TRIANGULAR, 45, 64, -0.0013, 1e-4},
        {"triangular centre", APOD_TRIANGULAR, 64, 64, 1.0, 2e-6},
        {"circular sg rim", APOD_CIRCULAR_SG, 45, 64, std::exp(-std::pow(rim / 0.7, 3.0)), 2e-6},
        {"rectangular sg", APOD_RECTANGULAR_SG, 48, 70,
         std::exp(-std::pow((16.5 / 19.5) / 0.7, 3.0)) * std::exp(-std::pow((5.5 / 19.5) / 0.7, 3.0)), 2e-6},
    };
    for (const auto &row : rows) {
        nCurrentApod = row.apod;
        pillbox_input();
        EXPECT_NEAR(r_input[row.i][row.j], row.expected, row.tolerance) << row.name;
    }
}

TEST_F(PupilTransmission, OddSettingsRunWithoutFaultAndStayFinite)
{
    const struct {
        const char *name;
        void (*apply)();
        int lit;  // samples with r_input != 0, -1 to skip the count
    } rows[] = {
        {"radius 0", [] { pupilradius = 0; ncenter = -0.5f; }, 0},
        {"radius -3", [] { pupilradius = -3; ncenter = -3.5f; }, 0},
        {"radius 100 fills the grid", [] { pupilradius = 100; ncenter = 99.5f; }, GRID_VALUES},
        {"aspect 0", [] { nCurrentPupilShape = SHAPE_RECTANGLE; PupilAspectRatio = 0.0f; }, 0},
        {"unknown shape", [] { nCurrentPupilShape = 139; }, 0},
        {"obscuration 1.5", [] { nCurrentObscuration = 1; LinearObscuration = 1.5f; }, 0},
        {"rbreak 1", [] { nCurrentApod = APOD_TRIANGULAR; rbreak = 1.0f; }, -1},
        {"rbreak 2", [] { nCurrentApod = APOD_TRIANGULAR; rbreak = 2.0f; }, 1192},
        {"supergaussian exponent -5", [] { nCurrentApod = APOD_CIRCULAR_SG; cir_sgxp = -5.0f; }, -1},
        {"supergaussian exponent 1e30", [] { nCurrentApod = APOD_RECTANGULAR_SG; x_sgxp = 1e30f; }, -1},
        {"huge coefficients", [] { HasDefocus = 1; defocus = 3e38f; Zern[26] = 3e38f; }, -1},
        {"checker period 0", [] { nCurrentPhasePattern = PATTERN_CHECKER; PhasePatternPeriod = 0; }, 1192},
        {"waffle period -4", [] { nCurrentPhasePattern = PATTERN_WAFFLE; PhasePatternPeriod = -4; }, 1192},
    };
    for (const auto &row : rows) {
        reset_settings();
        row.apply();
        pillbox_input();
        EXPECT_TRUE(all_finite()) << row.name;
        EXPECT_EQ(row.lit < 0 ? -1 : GRID_VALUES - count_where(r_input, 0.0f), row.lit) << row.name;
    }
}

}  // namespace
