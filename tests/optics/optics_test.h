// Set-up shared by the optics tests: the arrays and settings at their start-up values.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "optics/farfield.h"
#include "optics/pupil.h"
#include "optics/settings.h"

inline int count_where(float **a, float value)
{
    int n = 0;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) n += a[i][j] == value;
    return n;
}

class OpticsTest : public testing::Test {
protected:
    void SetUp() override { optics_startup(); }
    void TearDown() override { optics_shutdown(); }
    // The start-up pupil carries coma and Zernike 26: this leaves it without phase.
    static void clear_phase() { HasComa = 0, HasZern[26] = 0; }
    // The aperture test done independently: normalised radius against sqrt(nc^2 + 1/4)/nc.
    static bool inside(int i, int j)
    {
        const double nc = ncenter;
        return std::hypot((i - 64.5) / nc, (j - 64.5) / nc) <= std::sqrt(nc * nc + 0.25) / nc + 0.00001;
    }
    static void pupil_and_psf() { pillbox_input(), do_FFT(); }
};

inline std::string file_text(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
