#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "optics/nrutil.h"

namespace {

TEST(OffsetArrays, MatrixRowsLieEndToEndInOneBlock)
{
    float **m = matrix(1, 128, 1, 128);
    for (long i = 1; i < 128; i++) EXPECT_EQ(&m[i][128] + 1, &m[i + 1][1]) << "row " << i;
    free_matrix(m, 1, 128, 1, 128);
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

// No normalisation: forward then back gives the input times the number of values, in any shape
// (here three dimensions of unequal lengths).
TEST(Fourn, ForwardThenInverseGivesTheInputTimesItsCount)
{
    unsigned long nn[] = {0, 4, 2, 8};  // nn[1..3]: 64 complex values
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::vector<float> data(2 * 64 + 1);  // data[0] is not used
    for (float &v : data) v = u(rng);
    const std::vector<float> input = data;
    fourn(data.data(), nn, 3, 1);
    fourn(data.data(), nn, 3, -1);
    for (std::size_t k = 1; k <= 128; k++) EXPECT_NEAR(data[k], 64 * input[k], 1e-4) << k;
}

}  // namespace
