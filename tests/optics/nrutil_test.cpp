#include <gtest/gtest.h>

#include <climits>
#include <complex>
#include <random>
#include <vector>

#include "optics/nrutil.h"

namespace {

TEST(OffsetArrays, EveryElementOfTheRequestedRangeIsUsableAndRowsShareOneBlock)
{
    float *v = vector(1, 32768);
    for (long k = 1; k <= 32768; k++) v[k] = static_cast<float>(k);
    EXPECT_EQ(v[1] + v[32768], 32769.0f);
    free_vector(v, 1, 32768);
    double *d = dvector(-5, 5);  // ranges need not start at 1
    d[-5] = -2.5;
    d[5] = 2.5;
    EXPECT_EQ(d[-5] + d[5], 0.0);
    free_dvector(d, -5, 5);
    int *iv = ivector(0, 9);
    unsigned char *c = cvector(10, 20);
    unsigned long *l = lvector(1, 2);
    iv[0] = 7, iv[9] = 9, c[10] = 1, c[20] = 2, l[1] = l[2] = 128;
    EXPECT_EQ(iv[0] + iv[9] + c[10] + c[20] + l[1] * l[2], 16u + 3u + 16384u);
    free_ivector(iv, 0, 9);
    free_cvector(c, 10, 20);
    free_lvector(l, 1, 2);

    float **m = matrix(1, 128, 1, 128);
    for (long i = 1; i < 128; i++) EXPECT_EQ(&m[i][128] + 1, &m[i + 1][1]) << "row " << i;
    free_matrix(m, 1, 128, 1, 128);
    double **dm = dmatrix(0, 2, -1, 1);
    EXPECT_EQ(&dm[0][1] + 1, &dm[1][-1]);
    free_dmatrix(dm, 0, 2, -1, 1);
    int **im = imatrix(1, 3, 1, 4);
    EXPECT_EQ(&im[2][4] + 1, &im[3][1]);
    free_imatrix(im, 1, 3, 1, 4);
    float ***t = f3tensor(1, 2, 1, 3, 1, 4);  // depth fastest
    EXPECT_EQ(&t[1][1][4] + 1, &t[1][2][1]);
    EXPECT_EQ(&t[1][3][4] + 1, &t[2][1][1]);
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

// ---- fourn ----------------------------------------------------------------------------

using cd = std::complex<double>;

// Direct multi-dimensional DFT in double precision, last dimension fastest.
std::vector<cd> direct_dft(const std::vector<cd> &in, const std::vector<unsigned long> &dims, int isign)
{
    const std::size_t total = in.size();
    std::vector<cd> out(total);
    std::vector<std::size_t> k(dims.size()), n(dims.size());
    for (std::size_t ko = 0; ko < total; ko++) {
        std::size_t rest = ko;
        for (std::size_t d = dims.size(); d-- > 0;) { k[d] = rest % dims[d]; rest /= dims[d]; }
        cd sum = 0;
        for (std::size_t no = 0; no < total; no++) {
            std::size_t r2 = no;
            double phase = 0;
            for (std::size_t d = dims.size(); d-- > 0;) {
                n[d] = r2 % dims[d];
                r2 /= dims[d];
                phase += static_cast<double>(k[d] * n[d] % dims[d]) / dims[d];
            }
            sum += in[no] * std::polar(1.0, isign * 2.0 * M_PI * phase);
        }
        out[ko] = sum;
    }
    return out;
}

struct FournCase { std::vector<unsigned long> dims; int isign; };

TEST(Fourn, MatchesADirectTransformOnRandomArrays)
{
    const FournCase cases[] = {
        {{8}, 1}, {{16}, -1}, {{1}, 1}, {{2, 4}, 1}, {{4, 2}, -1}, {{8, 8}, 1},
        {{16, 4}, -1}, {{2, 2, 2}, 1}, {{4, 2, 8}, -1}, {{2, 8, 4}, 1},
    };
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (const FournCase &c : cases) {
        std::size_t total = 1;
        for (unsigned long d : c.dims) total *= d;
        std::vector<cd> in(total);
        std::vector<float> data(2 * total + 1);
        for (std::size_t k = 0; k < total; k++) {
            data[2 * k + 1] = u(rng);
            data[2 * k + 2] = u(rng);
            in[k] = cd(data[2 * k + 1], data[2 * k + 2]);
        }
        std::vector<unsigned long> nn(c.dims.size() + 1);
        for (std::size_t d = 0; d < c.dims.size(); d++) nn[d + 1] = c.dims[d];
        fourn(data.data(), nn.data(), static_cast<int>(c.dims.size()), c.isign);
        const std::vector<cd> expected = direct_dft(in, c.dims, c.isign);
        // Float butterflies: error grows like log2(N) float roundings of values of size ~sqrt(N).
        const double tolerance = 1e-5 * total;
        for (std::size_t k = 0; k < total; k++) {
            EXPECT_NEAR(data[2 * k + 1], expected[k].real(), tolerance) << "dims=" << c.dims.size() << " k=" << k;
            EXPECT_NEAR(data[2 * k + 2], expected[k].imag(), tolerance) << "dims=" << c.dims.size() << " k=" << k;
        }
    }
}

TEST(Fourn, ForwardThenInverseGivesTheInputTimesTheCount)
{
    const std::vector<std::vector<unsigned long>> shapes = {{2, 4}, {128, 128}, {4, 4, 4}};
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (const auto &dims : shapes) {
        std::size_t total = 1;
        std::vector<unsigned long> nn{0};
        for (unsigned long d : dims) { total *= d; nn.push_back(d); }
        std::vector<float> data(2 * total + 1), original;
        for (std::size_t k = 1; k <= 2 * total; k++) data[k] = u(rng);
        original = data;
        fourn(data.data(), nn.data(), static_cast<int>(dims.size()), 1);
        fourn(data.data(), nn.data(), static_cast<int>(dims.size()), -1);
        for (std::size_t k = 1; k <= 2 * total; k++)
            ASSERT_NEAR(data[k], original[k] * total, 2e-4 * total) << "total=" << total << " k=" << k;
    }
}

// 128 x 128 grid, grid position (i, j) 1-based, j fastest.
std::size_t re(int i, int j) { return 256 * (i - 1) + 2 * (j - 1) + 1; }

TEST(Fourn, ImpulseAtTheFirstSampleGivesOneEverywhere)
{
    std::vector<float> data(2 * 16384 + 1, 0.0f);
    data[re(1, 1)] = 1.0f;
    unsigned long nn[3] = {0, 128, 128};
    fourn(data.data(), nn, 2, 1);
    for (int i = 1; i <= 128; i++)
        for (int j = 1; j <= 128; j++) {
            ASSERT_FLOAT_EQ(data[re(i, j)], 1.0f) << i << "," << j;
            ASSERT_FLOAT_EQ(data[re(i, j) + 1], 0.0f) << i << "," << j;
        }
}

}  // namespace
