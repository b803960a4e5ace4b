// A complex FFT in double precision over the columns of a square plane, for the analyses that
// need more than the float transform of the far field gives: the continuous PSF and the
// optical transfer function.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// An n x n complex array, row-major, real and imaginary parts apart so that the butterflies
// run over plain contiguous doubles.
struct Plane {
    int n = 0;
    std::vector<double> re, im;
    void resize(int size)
    {
        n = size;
        re.resize(std::size_t(size) * size);
        im.resize(re.size());
    }
    double &r(int row, int col) { return re[std::size_t(row) * n + col]; }
    double &i(int row, int col) { return im[std::size_t(row) * n + col]; }
    double r(int row, int col) const { return re[std::size_t(row) * n + col]; }
    double i(int row, int col) const { return im[std::size_t(row) * n + col]; }
    void clear_rows(int first, int last)
    {
        std::fill(re.begin() + std::ptrdiff_t(first) * n, re.begin() + std::ptrdiff_t(last) * n,
                  0.0);
        std::fill(im.begin() + std::ptrdiff_t(first) * n, im.begin() + std::ptrdiff_t(last) * n,
                  0.0);
    }
};

// Transforms in place the first `width` columns of the plane, each a sequence of n values down
// the rows (n a power of two): X[m] = sum over k of x[k] exp(sign 2 pi i k m / n).
void transform_columns(Plane &plane, int width, int sign);

// to(c, r) = from(r, c) for r < rows, c < cols; both planes of the same size.
void transpose(const Plane &from, Plane &to, int rows, int cols);
