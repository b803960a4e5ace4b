#include "optics/centroid.h"
#include "tests/optics/optics_test.h"

namespace {

using CentroidAnalysis = OpticsTest;

// Pixel row of sample i at shift p: (i + p + 78) div 16 - 7 for 3 x 3, (i + p + 214) div 16 - 15
// for 4 x 4. The true spot lies at (2p - 17) / 32 pixel (3 x 3) or (2p - 1) / 32 (4 x 4) from the
// centre of pixel 2, so the error of each shift is a whole number e of 1/32 pixel, and with
// xpsfcent = 0 the RMS is sqrt(mean e^2) / 32. The errors depend on p alone (on q for y).
TEST_F(CentroidAnalysis, PointSpotsGiveTheRmsOfTheirHandCountedErrors)
{
    const struct {
        const char *name;
        int pixels;
        std::vector<std::pair<int, int>> lit;
        float own_offset;         // xpsfcent = ypsfcent, in samples
        double mean_x2, mean_y2;  // mean e^2 over the 16 shifts
    } rows[] = {
        // Always in pixel 2: e = 17 - 2p = 15, 13, ... -15; 2 x 680 / 16 = 85.
        {"3x3 at 65", 3, {{65, 65}}, 0, 85, 85},
        // Pixel 2 for p <= 8 (e = 1 - 2p), pixel 3 after (e = 33 - 2p): the same odd values.
        {"4x4 at 65", 4, {{65, 65}}, 0, 85, 85},
        // Pixel 3 from p = 13: e = 15 .. -7 (764), then 23, 21, 19, 17 (1620): 2384 / 16.
        {"3x3 four samples along i", 3, {{69, 65}}, 0, 149, 85},
        // Pixel 3 from p = 5: e = -1, -3, -5, -7 (84), then 23 .. 1 (2300): 2384 / 16.
        {"4x4 four samples along j", 4, {{65, 69}}, 0, 85, 149},
        // The PSF's own offset of 4 samples, 8/32 pixel, comes off every error: 7 .. -15, 15 .. 9.
        {"3x3 offset taken off", 3, {{69, 69}}, 4, 85, 85},
        // Sample 81 always in pixel 3: mx = 1/2 = 16/32, e = 33 - 2p = 31 .. 1, squares 5456.
        {"3x3 two samples", 3, {{65, 65}, {81, 65}}, 0, 341, 85},
        // Sample 89 always in pixel 4, inside 4 x 4 only: e = 65 - 2p = 63 .. 33, squares 38224.
        {"4x4 at 89", 4, {{89, 65}}, 0, 2389, 85},
    };
    for (const auto &row : rows) {
        set_all_arrays_zero();
        for (const auto &[i, j] : row.lit) m_output[i][j] = 100.0f;
        NumPixels = row.pixels;
        xpsfcent = ypsfcent = row.own_offset;
        const CentroidError e = centroid_error_analysis();
        EXPECT_TRUE(e.valid) << row.name;
        EXPECT_NEAR(e.rmsx, std::sqrt(row.mean_x2) / 32, 1e-6) << row.name;
        EXPECT_NEAR(e.rmsy, std::sqrt(row.mean_y2) / 32, 1e-6) << row.name;
    }
}

// Sample 89 leaves the 3 x 3 array for p >= 9 ((89 + 9 + 78) div 16 - 7 = 4): no light then.
TEST_F(CentroidAnalysis, PsfWithoutLightInTheArrayIsNotAnalysed)
{
    NumPixels = 3;
    set_all_arrays_zero();
    EXPECT_FALSE(centroid_error_analysis().valid) << "dark";
    m_output[89][65] = 100.0f;
    EXPECT_FALSE(centroid_error_analysis().valid) << "at 89";
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

}  // namespace
