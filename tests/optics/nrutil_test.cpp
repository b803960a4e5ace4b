#include <gtest/gtest.h>

#include <climits>
#include <complex>
#include <functional>
#include <numeric>
#include <random>
#include <vector>

#include "optics/nrutil.h"

namespace {

TEST(OffsetArrays, MatrixRowsLieEndToEndInOneBlock)
{
    float **m = matrix(1, 128, 1, 128);
    for (long i = 1; i < 128; i++) EXPECT_EQ(&m[i][128] + 1, &m[i + 1][1]) << "row " << i;
    free_matrix(m, 1, 128, 1, 128);
    float ***t = f3tensor(1, 2, 1, 3, 1, 4);  // depth fastest
    EXPECT_EQ(&t[1][1][4] + 1, &t[1][2][1]);
    EXPECT_EQ(&t[1][3][4] + 1, &t[2][1][1]);
    free_f3tensor(t, 1, 2, 1, 3, 1, 4);
}

TEST(NrerrorDeathTest, WritesThreeLinesThenExits)
{
    EXPECT_EXIT(nrerror("something broke"), testing::ExitedWithCode(1),
                "Ostrand run-time error...\nsomething broke\n...now exiting to system...\n");
}

TEST(NrerrorDeathTest, RefusedAllocationNamesItsAllocator)
{
    const struct {
        void (*allocate)();
        const char *message;
    } rows[] = {
        {[] { vector(1, LONG_MAX / 2); }, "allocation failure in vector\\(\\)"},
        {[] { matrix(1, LONG_MAX / 2, 1, 2); }, "allocation failure 1 in matrix\\(\\)"},
        {[] { matrix(1, 2, 1, LONG_MAX / 2); }, "allocation failure 2 in matrix\\(\\)"},
        {[] { f3tensor(1, 2, 1, 2, 1, LONG_MAX / 4); }, "allocation failure 3 in f3tensor\\(\\)"},
    };
    for (const auto &row : rows)
        EXPECT_EXIT(row.allocate(), testing::ExitedWithCode(1), row.message);
}

using cd = std::complex<double>;

// Direct multi-dimensional DFT in double precision of data[1..2 total], last dimension fastest.
std::vector<cd> direct_dft(const std::vector<float> &data, const std::vector<unsigned long> &dims,
                           int isign)
{
    std::vector<cd> out(data.size() / 2);
    for (std::size_t ko = 0; ko < out.size(); ko++)
        for (std::size_t no = 0; no < out.size(); no++) {
            std::size_t rk = ko, rn = no;
            double phase = 0;
            // Digit by digit, last dimension first: k_d n_d / N_d summed over the dimensions.
            for (std::size_t d = dims.size(); d-- > 0;) {
                phase += static_cast<double>(rk % dims[d] * (rn % dims[d]) % dims[d]) / dims[d];
                rk /= dims[d];
                rn /= dims[d];
            }
            out[ko] += cd(data[2 * no + 1], data[2 * no + 2]) *
                       std::polar(1.0, isign * 2.0 * M_PI * phase);
        }
    return out;
}

// data[1..2 count] at random; data[0] is not used.
std::vector<float> random_data(std::size_t count, std::mt19937 &rng)
{
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::vector<float> data(2 * count + 1);
    for (float &v : data) v = u(rng);
    return data;
}

TEST(Fourn, MatchesADirectTransform)
{
    const struct {
        std::vector<unsigned long> dims;
        int isign;
    } rows[] = {
        {{8}, 1},    {{16}, -1},    {{1}, 1},       {{2, 4}, 1},     {{4, 2}, -1},
        {{8, 8}, 1}, {{16, 4}, -1}, {{2, 2, 2}, 1}, {{4, 2, 8}, -1}, {{2, 8, 4}, 1},
    };
    std::mt19937 rng(12345);
    for (const auto &row : rows) {
        std::vector<unsigned long> nn{0};  // nn[1..ndim]
        nn.insert(nn.end(), row.dims.begin(), row.dims.end());
        const double count =
            std::accumulate(row.dims.begin(), row.dims.end(), 1.0, std::multiplies<>());
        std::vector<float> data = random_data(count, rng);
        const std::vector<cd> expected = direct_dft(data, row.dims, row.isign);
        fourn(data.data(), nn.data(), static_cast<int>(row.dims.size()), row.isign);
        // Float butterflies: error grows like log2(N) float roundings of values of size ~sqrt(N).
        for (std::size_t k = 0; k < expected.size(); k++) {
            EXPECT_NEAR(data[2 * k + 1], expected[k].real(), 1e-5 * count) << count << " k=" << k;
            EXPECT_NEAR(data[2 * k + 2], expected[k].imag(), 1e-5 * count) << count << " k=" << k;
        }
    }
}

}  // namespace
