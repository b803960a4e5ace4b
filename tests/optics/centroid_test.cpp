#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "optics/centroid.h"
#include "optics/farfield.h"
#include "optics/pupil.h"
#include "optics/settings.h"
#include "tests/optics/centroid_by_samples.h"

namespace {

class CentroidAnalysis : public testing::Test {
protected:
    void SetUp() override { optics_startup(); }
    void TearDown() override { optics_shutdown(); }

    static void unaberrated_psf()
    {
        HasComa = 0;
        HasZern[26] = 0;
        pillbox_input();
        do_FFT();
    }
};

TEST_F(CentroidAnalysis, PointLikePsfGivesTheRmsOfTheTrueOffsets)
{
    // mx is 0 for every shift, so the error is -tx = -(2p - 17)/32: RMS = sqrt(85) / 32.
    set_all_arrays_zero();
    m_output[65][65] = 100.0f;
    xpsfcent = ypsfcent = 0.0f;
    NumPixels = 3;
    const CentroidError e = centroid_error_analysis();
    ASSERT_TRUE(e.valid);
    EXPECT_NEAR(e.rmsx, std::sqrt(85.0) / 32.0, 1e-6);
    EXPECT_NEAR(e.rmsy, std::sqrt(85.0) / 32.0, 1e-6);
    EXPECT_NEAR(e.rmsx, 0.2881, 1e-4);
}

TEST_F(CentroidAnalysis, UnaberratedPsfForBothPixelArraysAndScalingChangesNothing)
{
    unaberrated_psf();
    const struct { int pixels; double expected; } rows[] = {{3, 0.19}, {4, 0.18}};
    CentroidError e;
    for (const auto &row : rows) {
        NumPixels = row.pixels;
        e = centroid_error_analysis();
        EXPECT_NEAR(e.rmsx, row.expected, 0.005) << row.pixels;
        EXPECT_NEAR(e.rmsy, e.rmsx, 1e-5) << row.pixels;  // symmetric PSF
    }
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) m_output[i][j] *= 7.25f;
    EXPECT_NEAR(centroid_error_analysis().rmsx, e.rmsx, 1e-5);
    EXPECT_NEAR(centroid_error_analysis().rmsy, e.rmsy, 1e-5);
}

// The direct analysis runs first, on a state no analysis has touched, so that neither can
// lean on what the other left behind.
TEST_F(CentroidAnalysis, FastAnalysisEqualsTheSampleBySampleOne)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(0.0f, 100.0f);
    for (int pixels : {3, 4})
        for (int field = 0; field < 2; field++) {
            SCOPED_TRACE((field ? "random field, K=" : "start-up PSF, K=") + std::to_string(pixels));
            optics_shutdown();
            optics_startup();
            pillbox_input();
            do_FFT();
            if (field) {
                for (int i = 1; i <= GRID; i++)
                    for (int j = 1; j <= GRID; j++) m_output[i][j] = u(rng);
                xpsfcent = 0.3f;
                ypsfcent = -1.2f;
            }
            NumPixels = pixels;
            const CentroidError direct = centroid_error_by_samples();
            const CentroidError fast = centroid_error_analysis();
            ASSERT_TRUE(direct.valid && fast.valid);
            EXPECT_NEAR(fast.rmsx, direct.rmsx, 1e-5 * (1 + direct.rmsx));
            EXPECT_NEAR(fast.rmsy, direct.rmsy, 1e-5 * (1 + direct.rmsy));
        }
}

TEST_F(CentroidAnalysis, OnlyTheSamplesUnderThePixelArrayCount)
{
    // For shift p the 3 x 3 array covers rows 50 - p .. 97 - p (34..96 over all shifts), the
    // 4 x 4 array rows 42 - p .. 105 - p (26..104): light elsewhere cannot move the result.
    set_all_arrays_zero();
    m_output[65][65] = 100.0f;
    NumPixels = 3;
    const CentroidError base3 = centroid_error_analysis();
    m_output[20][65] = 50.0f;  // 45 samples left of the centre: outside both arrays for every shift
    const CentroidError far3 = centroid_error_analysis();
    EXPECT_DOUBLE_EQ(far3.rmsx, base3.rmsx);
    m_output[20][65] = 0.0f;
    m_output[30][65] = 50.0f;  // under the 4 x 4 array for some shifts, never under the 3 x 3
    NumPixels = 3;
    EXPECT_DOUBLE_EQ(centroid_error_analysis().rmsx, base3.rmsx);
    NumPixels = 4;
    m_output[30][65] = 0.0f;
    const CentroidError base4 = centroid_error_analysis();
    m_output[30][65] = 50.0f;
    EXPECT_NE(centroid_error_analysis().rmsx, base4.rmsx);
}

TEST_F(CentroidAnalysis, AnEmptyPsfIsNotAnalysed)
{
    set_all_arrays_zero();
    EXPECT_FALSE(centroid_error_analysis().valid);
    EXPECT_FALSE(centroid_error_by_samples().valid);
}

TEST_F(CentroidAnalysis, RunsFromTheTransformWhenSwitchedOn)
{
    HasComa = 0;
    HasZern[26] = 0;
    nDoCentroidError = 1;
    pillbox_input();
    do_FFT();
    EXPECT_TRUE(last_centroid_error.valid);
    EXPECT_NEAR(last_centroid_error.rmsx, 0.19, 0.005);
}

}  // namespace
