#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "optics/farfield.h"
#include "optics/pupil.h"
#include "optics/settings.h"

namespace {

class FarField : public testing::Test {
protected:
    void SetUp() override { optics_startup(); }
    void TearDown() override { optics_shutdown(); }

    static void unaberrated()
    {
        HasComa = 0;
        HasZern[26] = 0;
        pillbox_input();
    }

    static void peak_of(int &pi, int &pj)
    {
        float best = -1;
        for (int j = 1; j <= GRID; j++)
            for (int i = 1; i <= GRID; i++)
                if (m_output[i][j] > best) {
                    best = m_output[i][j];
                    pi = i;
                    pj = j;
                }
    }

    // The far field at (k, l) by direct summation in double: the modulated pupil transformed
    // with the positive exponent.
    static std::complex<double> direct(int k, int l)
    {
        std::complex<double> sum = 0;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) {
                const double s = ((i + j) % 2) ? -1.0 : 1.0;
                const double angle = 2 * M_PI * ((k - 1) * (i - 1) + (l - 1) * (j - 1)) / 128.0;
                sum += s * std::complex<double>(A_input[i][j], B_input[i][j]) * std::polar(1.0, angle);
            }
        return sum;
    }
};

TEST_F(FarField, UnaberratedPupilGivesACentredSymmetricAiryPattern)
{
    unaberrated();
    do_FFT();
    EXPECT_NEAR(r_output[65][65], 1192.0f, 1e-2);
    EXPECT_NEAR(i_output[65][65], 0.0f, 1e-2);
    EXPECT_EQ(m_output[65][65], 100.0f);
    int pi = 0, pj = 0;
    peak_of(pi, pj);
    EXPECT_EQ(pi, 65);
    EXPECT_EQ(pj, 65);
    for (int d = 1; d <= 63; d++)
        for (int j = 1; j <= GRID; j++) {
            ASSERT_NEAR(m_output[65 + d][j], m_output[65 - d][j], 1e-4) << "d=" << d << " j=" << j;
            ASSERT_NEAR(m_output[j][65 + d], m_output[j][65 - d], 1e-4) << "d=" << d << " i=" << j;
        }
    for (auto [i, j] : {std::pair{64, 65}, {66, 65}, {65, 64}, {65, 66}})
        EXPECT_NEAR(m_output[i][j], 79.2f, 0.05) << i << "," << j;
    EXPECT_LE(xpsfcent, 0.0f);
    EXPECT_GT(xpsfcent, -0.001f);
    EXPECT_NEAR(ypsfcent, xpsfcent, 1e-4);
    EXPECT_EQ(HaveCurrentPSF, 1);
    EXPECT_FALSE(psf_is_dark());
}

TEST_F(FarField, CentreSampleSumsThePupil)
{
    struct Row { const char *name; void (*apply)(); };
    const Row rows[] = {
        {"start-up", [] {}},
        {"defocus and struts", [] { HasDefocus = 1; defocus = 0.7f; HasStruts = 1; }},
        {"rectangle, apodized", [] { nCurrentPupilShape = SHAPE_RECTANGLE; nCurrentApod = APOD_CIRCULAR_SG; }},
    };
    for (const Row &row : rows) {
        reset_settings();
        row.apply();
        pillbox_input();
        double sum_a = 0, sum_b = 0;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) {
                sum_a += A_input[i][j];
                sum_b += B_input[i][j];
            }
        do_FFT();
        EXPECT_NEAR(r_output[65][65], sum_a, 2e-2) << row.name;
        EXPECT_NEAR(i_output[65][65], sum_b, 2e-2) << row.name;
    }
}

TEST_F(FarField, MatchesADirectTransformAtScatteredSamples)
{
    pillbox_input();  // start-up coma and Zernike 26
    do_FFT();
    struct Sample { int k, l; };
    const Sample samples[] = {{65, 65}, {67, 65}, {1, 1}, {80, 40}, {128, 128}, {33, 97}, {66, 70}};
    for (const Sample &s : samples) {
        const std::complex<double> expected = direct(s.k, s.l);
        EXPECT_NEAR(r_output[s.k][s.l], expected.real(), 2e-2) << s.k << "," << s.l;
        EXPECT_NEAR(i_output[s.k][s.l], expected.imag(), 2e-2) << s.k << "," << s.l;
    }
}

TEST_F(FarField, StartUpComaPutsThePeakTwoSamplesRight)
{
    do_FFT();
    int pi = 0, pj = 0;
    peak_of(pi, pj);
    EXPECT_EQ(pi, 67);
    EXPECT_EQ(pj, 65);
    EXPECT_NEAR(xpsfcent, 2.51, 0.005);
    EXPECT_NEAR(ypsfcent, 0.0, 0.001);
}

TEST_F(FarField, DarkPupilLeavesAZeroPsfWithoutNonFiniteValues)
{
    struct Row { const char *name; void (*apply)(); };
    const Row rows[] = {
        {"obscured", [] { nCurrentObscuration = 1; LinearObscuration = 2.0f; }},
        {"radius 0", [] { pupilradius = 0; ncenter = -0.5f; }},
        {"empty rectangle", [] { nCurrentPupilShape = SHAPE_RECTANGLE; PupilAspectRatio = 0.0f; }},
    };
    for (const Row &row : rows) {
        reset_settings();
        row.apply();
        nDoCentroidError = 1;
        pillbox_input();
        do_FFT();
        EXPECT_TRUE(psf_is_dark()) << row.name;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) ASSERT_EQ(m_output[i][j], 0.0f) << row.name;
        EXPECT_EQ(xpsfcent, 0.0f) << row.name;
        EXPECT_EQ(ypsfcent, 0.0f) << row.name;
        EXPECT_EQ(HaveCurrentPSF, 1) << row.name;
    }
}

}  // namespace
