#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "optics/centroid.h"
#include "optics/farfield.h"
#include "optics/pupil.h"
#include "optics/settings.h"

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

TEST_F(CentroidAnalysis, UnaberratedPsfForBothPixelArrays)
{
    unaberrated_psf();
    struct Row { int pixels; double expected; };
    const Row rows[] = {{3, 0.19}, {4, 0.18}};
    for (const Row &row : rows) {
        NumPixels = row.pixels;
        const CentroidError e = centroid_error_analysis();
        EXPECT_NEAR(e.rmsx, row.expected, 0.005) << row.pixels;
        EXPECT_NEAR(e.rmsy, e.rmsx, 1e-5) << row.pixels;  // symmetric PSF
    }
}

TEST_F(CentroidAnalysis, ScalingThePsfChangesNothing)
{
    pillbox_input();
    do_FFT();
    for (int pixels : {3, 4}) {
        NumPixels = pixels;
        const CentroidError before = centroid_error_analysis();
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) m_output[i][j] *= 7.25f;
        const CentroidError after = centroid_error_analysis();
        EXPECT_NEAR(after.rmsx, before.rmsx, 1e-5) << pixels;
        EXPECT_NEAR(after.rmsy, before.rmsy, 1e-5) << pixels;
    }
}

TEST_F(CentroidAnalysis, FastAnalysisEqualsTheSampleBySampleOne)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(0.0f, 100.0f);
    struct Row { const char *name; void (*fill)(std::mt19937 &, std::uniform_real_distribution<float> &); };
    const Row rows[] = {
        {"start-up PSF", [](std::mt19937 &, std::uniform_real_distribution<float> &) { pillbox_input(); do_FFT(); }},
        {"random field", [](std::mt19937 &g, std::uniform_real_distribution<float> &d) {
             for (int i = 1; i <= GRID; i++)
                 for (int j = 1; j <= GRID; j++) m_output[i][j] = d(g);
             xpsfcent = 0.3f;
             ypsfcent = -1.2f;
         }},
    };
    for (const Row &row : rows) {
        row.fill(rng, u);
        for (int pixels : {3, 4}) {
            NumPixels = pixels;
            const CentroidError fast = centroid_error_analysis(), direct = centroid_error_direct();
            EXPECT_NEAR(fast.rmsx, direct.rmsx, 1e-5 * (1 + direct.rmsx)) << row.name << " K=" << pixels;
            EXPECT_NEAR(fast.rmsy, direct.rmsy, 1e-5 * (1 + direct.rmsy)) << row.name << " K=" << pixels;
        }
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
    EXPECT_FALSE(centroid_error_direct().valid);
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
