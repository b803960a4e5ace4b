#include "optics/grid_fft.h"

#include <array>
#include <cmath>
#include <utility>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

// The 2-D transform is two passes of 128-point transforms along the rows of a plane, each
// butterfly applied to a strip of neighbouring columns at once (the strip's 128 rows stay in
// the first-level cache, and the loop over the strip is plain contiguous floats the compiler
// turns into vector instructions). Between the passes and after the second, a tiled transpose
// brings the other index down the rows and the bit-reversed rows back in order.
//
// Each 1-D transform is decimation in frequency: natural order in, bit-reversed order out. Two
// radix-2 stages are taken as one radix-4 butterfly of four rows a quarter q apart (block 4q,
// w = exp(isign 2 pi i / 4q), m the row within the quarter):
//   t0 = a0 + a2, t1 = a0 - a2, t2 = a1 + a3, t3 = isign i (a1 - a3)
//   row m      <- t0 + t2          row m + q  <- (t0 - t2) w^2m
//   row m + 2q <- (t1 + t3) w^m    row m + 3q <- (t1 - t3) w^3m
// which is what the two radix-2 stages leave where they leave it, with one multiplication fewer.
// 128 = 4 x 4 x 4 x 2: quarters 32, 8 and 2, then a radix-2 stage without twiddles.
//
// Worked example, n 4 (one radix-4 butterfly, q 1, m 0, all w 1): x = (1, 2, 3, 4) gives
// t0 4, t1 -2, t2 6, t3 -2i, so rows 0..3 hold 10, -2, -2 - 2i, -2 + 2i: X0, X2, X1, X3, the
// transform in bit-reversed order.

namespace {

constexpr int N = GRID_FFT_SIZE;
constexpr int STRIP = 16;  // columns per butterfly: 128 rows of them, 8 KB in each plane

struct Twiddles {
    float re[N], im[N];  // exp(isign 2 pi i k / 128), computed in double, rounded once
};

Twiddles make_twiddles(int isign)
{
    Twiddles t{};
    for (int k = 0; k < N; k++) {
        const double angle = isign * 2.0 * M_PI * k / N;
        t.re[k] = static_cast<float>(std::cos(angle));
        t.im[k] = static_cast<float>(std::sin(angle));
    }
    return t;
}

constexpr std::array<int, N> bit_reversed()
{
    std::array<int, N> rev{};
    for (int k = 0; k < N; k++)
        for (int bit = 1, mirror = N / 2; bit < N; bit <<= 1, mirror >>= 1)
            if (k & bit) rev[k] |= mirror;
    return rev;
}
constexpr std::array<int, N> REV = bit_reversed();

// One radix-4 butterfly over a strip: rows a0..a3 of the real plane, b0..b3 of the imaginary.
template <int Sign>
inline void butterfly4(float *__restrict a0, float *__restrict a1, float *__restrict a2,
                       float *__restrict a3, float *__restrict b0, float *__restrict b1,
                       float *__restrict b2, float *__restrict b3, const float *w)
{
    const float w1r = w[0], w1i = w[1], w2r = w[2], w2i = w[3], w3r = w[4], w3i = w[5];
    for (int c = 0; c < STRIP; c++) {
        const float t0r = a0[c] + a2[c], t0i = b0[c] + b2[c];
        const float t1r = a0[c] - a2[c], t1i = b0[c] - b2[c];
        const float t2r = a1[c] + a3[c], t2i = b1[c] + b3[c];
        // isign i (a1 - a3)
        const float t3r = Sign > 0 ? b3[c] - b1[c] : b1[c] - b3[c];
        const float t3i = Sign > 0 ? a1[c] - a3[c] : a3[c] - a1[c];
        a0[c] = t0r + t2r;
        b0[c] = t0i + t2i;
        const float ur = t0r - t2r, ui = t0i - t2i;
        a1[c] = ur * w2r - ui * w2i;
        b1[c] = ur * w2i + ui * w2r;
        const float vr = t1r + t3r, vi = t1i + t3i;
        a2[c] = vr * w1r - vi * w1i;
        b2[c] = vr * w1i + vi * w1r;
        const float xr = t1r - t3r, xi = t1i - t3i;
        a3[c] = xr * w3r - xi * w3i;
        b3[c] = xr * w3i + xi * w3r;
    }
}

// One radix-2 butterfly without twiddle over a strip: rows a0, a1 and b0, b1.
inline void butterfly2(float *__restrict a0, float *__restrict a1, float *__restrict b0,
                       float *__restrict b1)
{
    for (int c = 0; c < STRIP; c++) {
        const float sr = a0[c] + a1[c], si = b0[c] + b1[c];
        a1[c] = a0[c] - a1[c];
        b1[c] = b0[c] - b1[c];
        a0[c] = sr;
        b0[c] = si;
    }
}

// Inside the transform a plane is kept strip by strip: the 128 rows of columns 0..15, then of
// columns 16..31, ...; a strip is one contiguous block, so its rows fall in different cache
// sets (rows of a 128-float plane, 512 bytes apart, would share a few sets and evict each other).
inline int strip_index(int row, int col)
{
    return (col / STRIP) * (N * STRIP) + row * STRIP + col % STRIP;
}
inline int plane_index(int row, int col) { return row * N + col; }

// All 128-point transforms down the columns of a strip, output rows bit-reversed.
template <int Sign> void transform_strip(float *re, float *im, const Twiddles &t)
{
    for (int q = N / 4; q >= 2; q /= 4) {
        const int step = N / (4 * q);  // table stride of w = exp(isign 2 pi i / 4q)
        const int d = q * STRIP;
        for (int m = 0; m < q; m++) {
            const float w[6] = {t.re[m * step],     t.im[m * step],     t.re[2 * m * step],
                                t.im[2 * m * step], t.re[3 * m * step], t.im[3 * m * step]};
            for (int r = m; r < N; r += 4 * q) {
                float *a = re + r * STRIP, *b = im + r * STRIP;
                butterfly4<Sign>(a, a + d, a + 2 * d, a + 3 * d, b, b + d, b + 2 * d, b + 3 * d, w);
            }
        }
    }
    for (int r = 0; r < N; r += 2) {
        float *a = re + r * STRIP, *b = im + r * STRIP;
        butterfly2(a, a + STRIP, b, b + STRIP);
    }
}

template <int Sign> void transform_strips(float *re, float *im, const Twiddles &t)
{
    for (int s = 0; s < N * N; s += N * STRIP) transform_strip<Sign>(re + s, im + s, t);
}

#if defined(__x86_64__) && !defined(__AVX__)
// The same butterflies eight floats at a time, for the processors that have AVX (the build
// itself assumes only what every amd64 processor has). The operations and their order are
// those of the baseline code, without fused multiply-adds, so both give the same bits.
template <int Sign>
__attribute__((target("avx"), flatten)) void transform_strips_avx(float *re, float *im,
                                                                  const Twiddles &t)
{
    transform_strips<Sign>(re, im, t);
}

template <int Sign> void transform_strips_here(float *re, float *im, const Twiddles &t)
{
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        transform_strips_avx<Sign>(re, im, t);
    else
        transform_strips<Sign>(re, im, t);
}
#else
template <int Sign> void transform_strips_here(float *re, float *im, const Twiddles &t)
{
    transform_strips<Sign>(re, im, t);
}
#endif

inline void copy_strip_row(const float *__restrict from, float *__restrict to)
{
    for (int c = 0; c < STRIP; c++) to[c] = from[c];
}

// d_k[j] = s_j[k] for j, k < 4: a 4 x 4 block turned over, rows s0..s3 into rows d0..d3.
inline void turn4(const float *s0, const float *s1, const float *s2, const float *s3, float *d0,
                  float *d1, float *d2, float *d3)
{
#if defined(__SSE__)
    __m128 a = _mm_loadu_ps(s0), b = _mm_loadu_ps(s1), c = _mm_loadu_ps(s2), d = _mm_loadu_ps(s3);
    _MM_TRANSPOSE4_PS(a, b, c, d);
    _mm_storeu_ps(d0, a);
    _mm_storeu_ps(d1, b);
    _mm_storeu_ps(d2, c);
    _mm_storeu_ps(d3, d);
#else
    const float *s[4] = {s0, s1, s2, s3};
    float *d[4] = {d0, d1, d2, d3};
    for (int j = 0; j < 4; j++)
        for (int k = 0; k < 4; k++) d[k][j] = s[j][k];
#endif
}

// to[to_index(col, row)] = from[from_index(REV[row], col)] for every row and column: the
// transpose that also puts the bit-reversed rows of a pass back in order. Both index maps keep
// four neighbouring columns contiguous, so the plane is turned over four by four.
template <typename From, typename To>
void transpose_unreversed(const float *from, From from_index, float *to, To to_index)
{
    for (int c = 0; c < N; c += 4)
        for (int r = 0; r < N; r += 4)
            turn4(from + from_index(REV[r], c), from + from_index(REV[r + 1], c),
                  from + from_index(REV[r + 2], c), from + from_index(REV[r + 3], c),
                  to + to_index(c, r), to + to_index(c + 1, r), to + to_index(c + 2, r),
                  to + to_index(c + 3, r));
}

template <int Sign> void transform(float *re, float *im, float *out_re, float *out_im)
{
    static const Twiddles t = make_twiddles(Sign);
    const auto in_strips = [](int row, int col) { return strip_index(row, col); };
    const auto in_plane = [](int row, int col) { return plane_index(row, col); };
    for (auto [from, to] : {std::pair{re, out_re}, {im, out_im}})
        for (int r = 0; r < N; r++)
            for (int c = 0; c < N; c += STRIP)
                copy_strip_row(from + plane_index(r, c), to + strip_index(r, c));
    transform_strips_here<Sign>(out_re, out_im, t);  // along the first index
    transpose_unreversed(out_re, in_strips, re, in_strips);
    transpose_unreversed(out_im, in_strips, im, in_strips);
    transform_strips_here<Sign>(re, im, t);  // along the second index
    transpose_unreversed(re, in_strips, out_re, in_plane);
    transpose_unreversed(im, in_strips, out_im, in_plane);
}

}  // namespace

void grid_fft(float *re, float *im, float *out_re, float *out_im, int isign)
{
    if (isign > 0)
        transform<1>(re, im, out_re, out_im);
    else
        transform<-1>(re, im, out_re, out_im);
}
