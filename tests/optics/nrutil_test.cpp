#include <gtest/gtest.h>

#include <climits>
#include <complex>
#include <random>
#include <tuple>
#include <vector>

#include "optics/nrutil.h"

namespace {

TEST(OffsetArrays, EveryElementOfTheRequestedRangeIsUsableAndRowsShareOneBlock)
{
    float *v = vector(1, 32768);
    for (long k = 1; k <= 32768; k++) v[k] = static_cast<float>(k);
    EXPECT_EQ(v[1] + v[32768], 32769.0f);
    double *d = dvector(-5, 5);  // ranges need not start at 1
    int *iv = ivector(0, 9);
    unsigned char *c = cvector(10, 20);
    unsigned long *l = lvector(1, 2);
    d[-5] = -2.5, d[5] = 2.5, iv[0] = 7, iv[9] = 9, c[10] = 1, c[20] = 2, l[1] = l[2] = 128;
    EXPECT_EQ(d[-5] + d[5] + iv[0] + iv[9] + c[10] + c[20] + l[1] * l[2], 16.0 + 3.0 + 16384.0);
    free_vector(v, 1, 32768), free_dvector(d, -5, 5), free_ivector(iv, 0, 9), free_cvector(c, 10, 20);
    free_lvector(l, 1, 2);
    float **m = matrix(1, 128, 1, 128);
    for (long i = 1; i < 128; i++) EXPECT_EQ(&m[i][128] + 1, &m[i + 1][1]) << "row " << i;
    double **dm = dmatrix(0, 2, -1, 1);
    int **im = imatrix(1, 3, 1, 4);
    float ***t = f3tensor(1, 2, 1, 3, 1, 4);  // depth fastest
    EXPECT_EQ(std::tuple(&dm[0][1] + 1, &im[2][4] + 1, &t[1][1][4] + 1, &t[1][3][4] + 1),
              std::tuple(&dm[1][-1], &im[3][1], &t[1][2][1], &t[2][1][1]));
    free_matrix(m, 1, 128, 1, 128), free_dmatrix(dm, 0, 2, -1, 1), free_imatrix(im, 1, 3, 1, 4);
    free_f3tensor(t, 1, 2, 1, 3, 1, 4);
}

TEST(NrerrorDeathTest, WritesThreeLinesAndRefusedAllocationsNameTheirMember)
{
    EXPECT_EXIT(nrerror("something broke"), testing::ExitedWithCode(1),
                "Ostrand run-time error...\nsomething broke\n...now exiting to system...\n");
    const struct { void (*allocate)(); const char *message; } rows[] = {
        {[] { vector(1, LONG_MAX / 2); }, "allocation failure in vector\\(\\)"},
        {[] { cvector(1, LONG_MAX - 8); }, "allocation failure in cvector\\(\\)"},
        {[] { matrix(1, LONG_MAX / 2, 1, 2); }, "allocation failure 1 in matrix\\(\\)"},
        {[] { dmatrix(1, 2, 1, LONG_MAX / 2); }, "allocation failure 2 in matrix\\(\\)"},
        {[] { f3tensor(1, 2, 1, 2, 1, LONG_MAX / 4); }, "allocation failure 3 in f3tensor\\(\\)"},
    };
    for (const auto &row : rows) EXPECT_EXIT(row.allocate(), testing::ExitedWithCode(1), row.message);
}

using cd = std::complex<double>;

// Direct multi-dimensional DFT in double precision of data[1..2 total], last dimension fastest.
std::vector<cd> direct_dft(const std::vector<float> &data, const std::vector<unsigned long> &dims, int isign)
{
    std::vector<cd> out(data.size() / 2);
    for (std::size_t ko = 0; ko < out.size(); ko++)
        for (std::size_t no = 0; no < out.size(); no++) {
            std::size_t rk = ko, rn = no;
            double phase = 0;
            for (std::size_t d = dims.size(); d-- > 0; rk /= dims[d], rn /= dims[d])
                phase += static_cast<double>(rk % dims[d] * (rn % dims[d]) % dims[d]) / dims[d];
            out[ko] += cd(data[2 * no + 1], data[2 * no + 2]) * std::polar(1.0, isign * 2.0 * M_PI * phase);
        }
    return out;
}

TEST(Fourn, MatchesADirectTransformAndTheInverseUndoesItTimesTheCount)
{
    const struct { std::vector<unsigned long> dims; int isign; } cases[] = {
        {{8}, 1}, {{16}, -1}, {{1}, 1}, {{2, 4}, 1}, {{4, 2}, -1}, {{8, 8}, 1}, {{16, 4}, -1}, {{2, 2, 2}, 1},
        {{4, 2, 8}, -1}, {{2, 8, 4}, 1}, {{128, 128}, 0} /* too large to sum directly: there and back only */,
    };
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (const auto &c : cases) {
        std::size_t total = 1;
        std::vector<unsigned long> nn{0};
        for (unsigned long d : c.dims) total *= d, nn.push_back(d);
        std::vector<float> data(2 * total + 1);
        for (std::size_t k = 1; k <= 2 * total; k++) data[k] = u(rng);
        const std::vector<float> original = data;
        const int dims = static_cast<int>(c.dims.size()), sign = c.isign ? c.isign : 1;
        const std::vector<cd> expected = c.isign ? direct_dft(data, c.dims, c.isign) : std::vector<cd>();
        fourn(data.data(), nn.data(), dims, sign);
        // Float butterflies: error grows like log2(N) float roundings of values of size ~sqrt(N).
        for (std::size_t k = 0; k < expected.size(); k++) {
            EXPECT_NEAR(data[2 * k + 1], expected[k].real(), 1e-5 * total) << "dims=" << dims << " k=" << k;
            EXPECT_NEAR(data[2 * k + 2], expected[k].imag(), 1e-5 * total) << "dims=" << dims << " k=" << k;
        }
        fourn(data.data(), nn.data(), dims, -sign);
        for (std::size_t k = 1; k <= 2 * total; k++)
            ASSERT_NEAR(data[k], original[k] * total, 2e-4 * total) << "total=" << total << " k=" << k;
    }
}

}  // namespace
