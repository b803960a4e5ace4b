#include <algorithm>
#include <complex>

#include "tests/optics/optics_test.h"

namespace {

class FarField : public OpticsTest {
protected:
    static std::pair<int, int> peak()  // the rows of m_output lie end to end
    {
        const long at =
            std::max_element(&m_output[1][1], &m_output[GRID][GRID] + 1) - &m_output[1][1];
        return {at / GRID + 1, at % GRID + 1};
    }
    // The far field at (k, l) summed directly: the pupil times (-1)^(i+j), positive exponent.
    static std::complex<double> direct(int k, int l)
    {
        std::complex<double> sum = 0;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++)
                sum += ((i + j) % 2 ? -1.0 : 1.0) *
                       std::complex<double>(A_input[i][j], B_input[i][j]) *
                       std::polar(1.0, 2 * M_PI * ((k - 1) * (i - 1) + (l - 1) * (j - 1)) / 128.0);
        return sum;
    }
};

TEST_F(FarField, UnaberratedPupilGivesACentredSymmetricAiryPattern)
{
    clear_phase();
    pupil_and_psf();
    EXPECT_EQ(m_output[65][65], 100.0f);
    EXPECT_EQ(peak(), std::pair(65, 65));
    for (auto [i, j] : {std::pair{64, 65}, {66, 65}, {65, 64}, {65, 66}})
        EXPECT_NEAR(m_output[i][j], 79.2f, 0.05) << i << "," << j;
    EXPECT_NEAR(xpsfcent, -0.0005f, 0.0005f);  // within (-0.001, 0]
    EXPECT_NEAR(ypsfcent, xpsfcent, 1e-4);
    EXPECT_FALSE(psf_is_dark());
}

// The start-up coma and Zernike 26 with struts: a pupil without symmetry.
TEST_F(FarField, MatchesADirectTransform)
{
    HasStruts = 1;
    pupil_and_psf();
    for (auto [k, l] :
         {std::pair{65, 65}, {67, 65}, {1, 1}, {80, 40}, {128, 128}, {33, 97}, {66, 70}}) {
        const std::complex<double> expected = direct(k, l);
        EXPECT_NEAR(r_output[k][l], expected.real(), 2e-2) << k << "," << l;
        EXPECT_NEAR(i_output[k][l], expected.imag(), 2e-2) << k << "," << l;
    }
}

TEST_F(FarField, StartUpComaPutsThePeakTwoSamplesRight)
{
    pupil_and_psf();
    EXPECT_EQ(peak(), std::pair(67, 65));
    EXPECT_NEAR(xpsfcent, 2.51, 0.005);
    EXPECT_NEAR(ypsfcent, 0.0, 0.001);
}

}  // namespace
