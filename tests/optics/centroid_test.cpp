#include <random>

#include "optics/centroid.h"
#include "tests/optics/optics_test.h"

namespace {

// The oracle: for each of 16 x 16 sub-pixel shifts, every sample is added to its large pixel.
CentroidError centroid_error_by_samples()
{
    // For shift p the first row (and column) is 50 - p for 3 x 3 pixels, 42 - p for 4 x 4.
    const int k = NumPixels == 4 ? 4 : 3, first = k == 4 ? 42 : 50;
    auto pixel = [&](int i, int p) {
        return i < first - p ? 0 : (i - first + p) / LARGE_PIXEL + 1;
    };
    // The spot (sample 65) from the centre of pixel 2 (65.5 - p for 4 x 4, 73.5 - p for 3 x 3).
    auto truth = [&](int p) { return (k == 4 ? p - 0.5 : p - 8.5) / LARGE_PIXEL; };
    double sx = 0, sy = 0;
    for (int p = 1; p <= LARGE_PIXEL; p++)
        for (int q = 1; q <= LARGE_PIXEL; q++) {
            double X[5] = {}, Y[5] = {}, total = 0, mx = 0, my = 0;
            for (int i = 1; i <= GRID; i++)
                for (int j = 1; j <= GRID; j++) {
                    const int ci = pixel(i, p), cj = pixel(j, q);
                    if (ci < 1 || ci > k || cj < 1 || cj > k) continue;
                    X[ci] += m_output[i][j];
                    Y[cj] += m_output[i][j];
                }
            for (int c = 1; c <= k; c++) {
                mx += c * X[c];
                my += c * Y[c];
                total += X[c];
            }
            if (!(total > 0)) return {};
            // The error less the PSF's own offset (given in samples).
            const double ex = mx / total - 2 - truth(p) - xpsfcent / LARGE_PIXEL;
            const double ey = my / total - 2 - truth(q) - ypsfcent / LARGE_PIXEL;
            sx += ex * ex;
            sy += ey * ey;
        }
    const double shifts = LARGE_PIXEL * LARGE_PIXEL;
    return {std::sqrt(sx / shifts), std::sqrt(sy / shifts), true};
}

using CentroidAnalysis = OpticsTest;

TEST_F(CentroidAnalysis, EmptyPsfIsNotAnalysed)
{
    set_all_arrays_zero();
    EXPECT_FALSE(centroid_error_analysis().valid);
}

TEST_F(CentroidAnalysis, APointGivesTheRmsOfTheTrueOffsets)
{
    set_all_arrays_zero();
    // mx is 0 for every shift, so the error is -tx = -(2p - 17)/32: RMS = sqrt(85) / 32.
    m_output[65][65] = 100.0f;
    NumPixels = 3;
    const CentroidError e = centroid_error_analysis();
    EXPECT_TRUE(e.valid);
    EXPECT_NEAR(e.rmsx, std::sqrt(85.0) / 32.0, 1e-6);
    EXPECT_NEAR(e.rmsy, std::sqrt(85.0) / 32.0, 1e-6);
}

TEST_F(CentroidAnalysis, TransformGivesTheUnaberratedErrorOfEachArray)
{
    clear_phase();
    nDoCentroidError = 1;
    for (const auto &[pixels, rms] : {std::pair{3, 0.19}, {4, 0.18}}) {
        NumPixels = pixels;
        pupil_and_psf();
        EXPECT_TRUE(last_centroid_error.valid) << pixels;
        EXPECT_NEAR(last_centroid_error.rmsx, rms, 0.005) << pixels;
        EXPECT_NEAR(last_centroid_error.rmsy, last_centroid_error.rmsx, 1e-5)
            << pixels;  // symmetric
    }
}

// The direct analysis runs first, on a state no analysis has touched.
TEST_F(CentroidAnalysis, FastAnalysisEqualsTheSampleBySampleOne)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(0.0f, 100.0f);
    for (int pixels : {3, 4}) {
        optics_shutdown();
        optics_startup();
        // Light on every sample, its centroid off the centre by (0.3, -1.2) samples.
        xpsfcent = 0.3f;
        ypsfcent = -1.2f;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) m_output[i][j] = u(rng);
        NumPixels = pixels;
        const CentroidError direct = centroid_error_by_samples();
        const CentroidError fast = centroid_error_analysis();
        EXPECT_TRUE(fast.valid) << pixels;
        EXPECT_NEAR(fast.rmsx, direct.rmsx, 1e-5 * (1 + direct.rmsx)) << pixels;
        EXPECT_NEAR(fast.rmsy, direct.rmsy, 1e-5 * (1 + direct.rmsy)) << pixels;
    }
}

}  // namespace
