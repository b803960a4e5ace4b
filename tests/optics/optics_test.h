// Set-up shared by the optics tests: the arrays and settings at their start-up values.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "optics/farfield.h"
#include "optics/pupil.h"
#include "optics/settings.h"

// Samples of a grid array equal to value (its rows lie end to end).
inline int count_where(float **a, float value)
{
    return std::count(&a[1][1], &a[GRID][GRID] + 1, value);
}

// The first grid sample (i, j) where holds(i, j) is false, as "i,j"; "" when it holds everywhere.
template <class Holds> std::string first_sample_failing(Holds holds)
{
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            if (!holds(i, j)) return std::to_string(i) + "," + std::to_string(j);
    return "";
}

// Sets two settings in one step, as many rows of the optics tables do.
template <class A, class VA, class B, class VB> void set_both(A &a, VA va, B &b, VB vb)
{
    a = va;
    b = vb;
}

class OpticsTest : public testing::Test {
protected:
    void SetUp() override { optics_startup(); }
    void TearDown() override { optics_shutdown(); }
    // The start-up pupil carries coma and Zernike 26: this leaves it without phase.
    static void clear_phase()
    {
        HasComa = 0;
        HasZern[26] = 0;
    }
    // The aperture test done independently: distance from the centre against sqrt(nc^2 + 1/4).
    static bool inside(int i, int j)
    {
        return std::hypot(i - 64.5, j - 64.5) <= std::hypot(ncenter, 0.5) * 1.00001;
    }
    static void pupil_and_psf()
    {
        pillbox_input();
        do_FFT();
    }
};

inline std::string file_text(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
