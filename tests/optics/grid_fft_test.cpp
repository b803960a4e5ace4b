#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "optics/grid_fft.h"

namespace {

constexpr int N = GRID_FFT_SIZE;

// Both signs against the transform summed directly, at samples that tell the two indices apart
// and reach both ends. Values uniform in [-1, 1]: a sum of 16384 terms is about 100 in size,
// and float rounding through 14 stages leaves errors near 1e-4, well inside 2e-3.
TEST(GridFft, MatchesADirectTransformForBothSigns)
{
    std::mt19937 rng(2024);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::vector<float> x(2 * N * N);
    for (float &v : x) v = u(rng);
    const struct {
        int isign, k, l;
    } rows[] = {{1, 0, 0},    {1, 1, 0},  {1, 0, 1},  {1, 5, 90},  {1, 127, 64},
                {1, 33, 127}, {-1, 1, 0}, {-1, 0, 1}, {-1, 77, 3}, {-1, 127, 127}};
    for (const auto &row : rows) {
        std::vector<float> in = x, out(2 * N * N);
        grid_fft(in.data(), in.data() + N * N, out.data(), out.data() + N * N, row.isign);
        std::complex<double> sum = 0;
        for (int i = 0; i < N; i++)
            for (int j = 0; j < N; j++)
                sum += std::complex<double>(x[i * N + j], x[N * N + i * N + j]) *
                       std::polar(1.0, row.isign * 2 * M_PI * ((row.k * i + row.l * j) % N) / N);
        const int at = row.k * N + row.l;
        EXPECT_NEAR(out[at], sum.real(), 2e-3) << row.isign << ": " << row.k << "," << row.l;
        EXPECT_NEAR(out[N * N + at], sum.imag(), 2e-3)
            << row.isign << ": " << row.k << "," << row.l;
    }
}

}  // namespace
