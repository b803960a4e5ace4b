#include "optics/plane_fft.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr double TWO_PI = 2 * std::numbers::pi;

// exp(sign 2 pi i k / n) for k = 0 .. n/2 - 1: every twiddle factor a transform of length n
// needs (a stage of length L uses every (n / L)-th).
struct Twiddles {
    std::vector<double> c, s;
    Twiddles(int n, int sign) : c(n / 2), s(n / 2)
    {
        for (int k = 0; k < n / 2; k++) {
            c[k] = std::cos(TWO_PI * k / n);
            s[k] = sign * std::sin(TWO_PI * k / n);
        }
    }
};

// Transforms in place columns first .. first + width - 1 of the plane, each a sequence of n
// values down the rows (n a power of two): X[m] = sum over k of x[k] exp(sign 2 pi i k m / n).
// The bit reversal swaps rows and each butterfly combines two rows, so the innermost loop runs
// along contiguous values.
//
// Worked example, n 4: rows 1 and 2 swap (01 <-> 10); the stage of length 2 combines rows
// (0, 1) and (2, 3) with w = 1, the stage of length 4 rows (0, 2) with w = 1 and (1, 3) with
// w = exp(sign i pi / 2).
void transform_strip(Plane &plane, int first, int width, const Twiddles &w)
{
    const int n = plane.n;
    for (int k = 0, reversed = 0; k < n; k++) {
        if (k < reversed) {
            std::swap_ranges(&plane.r(k, first), &plane.r(k, first) + width,
                             &plane.r(reversed, first));
            std::swap_ranges(&plane.i(k, first), &plane.i(k, first) + width,
                             &plane.i(reversed, first));
        }
        int bit = n >> 1;
        for (; reversed & bit; bit >>= 1) reversed ^= bit;
        reversed |= bit;
    }
    for (int length = 2; length <= n; length <<= 1) {
        const int half = length / 2, stride = n / length;
        for (int k = 0; k < half; k++) {
            const double wr = w.c[k * stride], wi = w.s[k * stride];
            for (int start = k; start < n; start += length) {
                double *ar = &plane.r(start, first), *ai = &plane.i(start, first);
                double *br = &plane.r(start + half, first), *bi = &plane.i(start + half, first);
                for (int c = 0; c < width; c++) {
                    const double tr = wr * br[c] - wi * bi[c];
                    const double ti = wr * bi[c] + wi * br[c];
                    br[c] = ar[c] - tr;
                    bi[c] = ai[c] - ti;
                    ar[c] += tr;
                    ai[c] += ti;
                }
            }
        }
    }
}

// The first `width` columns, 64 at a time: a strip of 256 rows (256 kB) stays in the cache
// through all the stages, where whole rows of a 256 x 256 plane would stream it once a stage.
}  // namespace

void transform_columns(Plane &plane, int width, int sign)
{
    constexpr int STRIP = 64;
    const Twiddles w(plane.n, sign);
    for (int first = 0; first < width; first += STRIP)
        transform_strip(plane, first, std::min(STRIP, width - first), w);
}

namespace {

// to[c][r] = from[r][c] for r < rows, c < cols, of n x n arrays, in tiles that stay in the
// cache.
void transpose(const std::vector<double> &from, std::vector<double> &to, int n, int rows, int cols)
{
    constexpr int TILE = 32;
    for (int r0 = 0; r0 < rows; r0 += TILE) {
        const int r1 = std::min(rows, r0 + TILE);
        for (int c0 = 0; c0 < cols; c0 += TILE) {
            const int c1 = std::min(cols, c0 + TILE);
            for (int r = r0; r < r1; r++) {
                const double *source = &from[std::size_t(r) * n];
                for (int c = c0; c < c1; c++) to[std::size_t(c) * n + r] = source[c];
            }
        }
    }
}

}  // namespace

void transpose(const Plane &from, Plane &to, int rows, int cols)
{
    transpose(from.re, to.re, from.n, rows, cols);
    transpose(from.im, to.im, from.n, rows, cols);
}
