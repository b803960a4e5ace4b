#include <gtest/gtest.h>

#include <cmath>

#include "optics/pupil.h"
#include "optics/settings.h"

namespace {

class PupilTransmission : public testing::Test {
protected:
    void SetUp() override { optics_startup(); }
    void TearDown() override { optics_shutdown(); }

    // Settings with no phase at all, so only the transmission is looked at.
    static void clear_phase()
    {
        HasComa = 0;
        HasZern[26] = 0;
    }

    static int count_where(float value)
    {
        int n = 0;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) n += r_input[i][j] == value;
        return n;
    }

    static bool all_finite()
    {
        for (float **a : {r_input, phase_input, A_input, B_input})
            for (int i = 1; i <= GRID; i++)
                for (int j = 1; j <= GRID; j++)
                    if (!std::isfinite(a[i][j])) return false;
        return std::isfinite(wavesrms);
    }

    // Normalised radius of sample (i, j) for the current ncenter, computed here from scratch.
    static double rho_of(int i, int j)
    {
        return std::hypot((i - 64.5) / ncenter, (j - 64.5) / ncenter);
    }
};

TEST_F(PupilTransmission, StartUpApertureIsTheRoundPupilOfRadius20)
{
    EXPECT_EQ(count_where(1.0f), 1192);
    EXPECT_EQ(count_where(0.0f), GRID_VALUES - 1192);
    struct Sample { int i, j; float expected; };
    const Sample samples[] = {
        {45, 64, 1}, {45, 65, 1}, {84, 64, 1}, {84, 65, 1}, {64, 45, 1}, {65, 84, 1},
        {44, 64, 0}, {85, 65, 0}, {45, 63, 0}, {64, 44, 0}, {1, 1, 0}, {128, 128, 0},
    };
    for (const Sample &s : samples) EXPECT_EQ(r_input[s.i][s.j], s.expected) << s.i << "," << s.j;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) ASSERT_EQ(m_output[i][j], 0.0f);
    EXPECT_EQ(HaveCurrentPSF, 0);
}

TEST_F(PupilTransmission, RectanglesFollowTheAspectRatio)
{
    struct Row { float aspect; int i_first, i_last, j_first, j_last; };
    const Row rows[] = {
        {1.0f, 45, 84, 45, 84},
        {0.5f, 45, 84, 55, 74},
        {2.0f, 45, 84, 26, 103},  // |dy| <= 2 * 19.5066
    };
    for (const Row &row : rows) {
        nCurrentPupilShape = SHAPE_RECTANGLE;
        PupilAspectRatio = row.aspect;
        pillbox_input();
        int inside = 0;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) {
                const bool expected = i >= row.i_first && i <= row.i_last && j >= row.j_first && j <= row.j_last;
                ASSERT_EQ(r_input[i][j], expected ? 1.0f : 0.0f) << "aspect=" << row.aspect << " " << i << "," << j;
                inside += expected;
            }
        EXPECT_EQ(count_where(1.0f), inside) << "aspect=" << row.aspect;
    }
}

TEST_F(PupilTransmission, CentralObscurationDarkensTheTwelveInnermostSamples)
{
    nCurrentObscuration = 1;
    pillbox_input();
    EXPECT_EQ(count_where(1.0f), 1192 - 12);
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            const double d = std::hypot(i - 64.5, j - 64.5);  // 1.95 samples is 0.1 of 19.5
            if (d < 1.95) {
                EXPECT_EQ(r_input[i][j], 0.0f) << i << "," << j;
            }
        }
}

TEST_F(PupilTransmission, StrutsDarkenRowsAndColumns64And65ButKeepTheirPhase)
{
    HasStruts = 1;
    pillbox_input();
    for (int k = 1; k <= GRID; k++)
        for (int line : {64, 65}) {
            ASSERT_EQ(r_input[line][k], 0.0f);
            ASSERT_EQ(r_input[k][line], 0.0f);
            ASSERT_EQ(A_input[line][k], 0.0f);
        }
    // Coma -0.4 in x: the strut sample (70, 64) still carries its phase.
    const double xn = (70 - 64.5) / 19.5, yn = (64 - 64.5) / 19.5;
    const double coma_only = -0.4 * (xn * xn + yn * yn) * xn;
    EXPECT_NE(phase_input[70][64], 0.0f);
    const double rho = std::hypot(xn, yn), theta = std::atan2(-0.5, 5.5) + 1e-6;
    EXPECT_NEAR(phase_input[70][64], coma_only + 0.26 * std::pow(rho, 5) * std::cos(5 * theta), 1e-5);
    // 40 samples of each strut line lie in the aperture, minus the 4 crossings counted twice.
    EXPECT_EQ(count_where(1.0f), 1192 - (4 * 40 - 4));
}

TEST_F(PupilTransmission, ApodizationValues)
{
    clear_phase();
    struct Row { const char *name; int apod; int i, j; double expected; };
    // Sample (45, 64) has rho = hypot(19.5, 0.5) / 19.5; sample (64, 64) rho = hypot(.5,.5)/19.5.
    const double rim = std::hypot(19.5, 0.5) / 19.5;
    const Row rows[] = {
        {"none", APOD_NONE, 45, 64, 1.0},
        {"triangular rim", APOD_TRIANGULAR, 45, 64, 1.0 - (rim - 0.75) / 0.25},
        {"triangular centre", APOD_TRIANGULAR, 64, 64, 1.0},
        {"circular sg rim", APOD_CIRCULAR_SG, 45, 64, std::exp(-std::pow(rim / 0.7, 3.0))},
        {"rectangular sg", APOD_RECTANGULAR_SG, 48, 70,
         std::exp(-std::pow((16.5 / 19.5) / 0.7, 3.0)) * std::exp(-std::pow((5.5 / 19.5) / 0.7, 3.0))},
    };
    for (const Row &row : rows) {
        nCurrentApod = row.apod;
        pillbox_input();
        EXPECT_NEAR(r_input[row.i][row.j], row.expected, 2e-6) << row.name;
    }
    // The rim sample of the triangular ramp is slightly negative, about -0.0013.
    nCurrentApod = APOD_TRIANGULAR;
    pillbox_input();
    EXPECT_NEAR(r_input[45][64], -0.0013, 0.0001);
}

TEST_F(PupilTransmission, OddSettingsRunWithoutFaultAndStayFinite)
{
    struct Row {
        const char *name;
        void (*apply)();
        int expected_inside;  // samples with r_input != 0, -1 to skip the count
    };
    const Row rows[] = {
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
    for (const Row &row : rows) {
        reset_settings();
        row.apply();
        pillbox_input();
        EXPECT_TRUE(all_finite()) << row.name;
        if (row.expected_inside >= 0) {
            EXPECT_EQ(GRID_VALUES - count_where(0.0f), row.expected_inside) << row.name;
        }
    }
}

}  // namespace
