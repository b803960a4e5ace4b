// The 2-D complex transform of the far field: 128 x 128 floats, real and imaginary parts in
// separate row-major planes, so that every butterfly runs over contiguous values.
#pragma once

constexpr int GRID_FFT_SIZE = 128;

// X[k][l] = sum over i, j of x[i][j] exp(isign 2 pi i (k i + l j) / 128), indices from 0,
// element [i][j] of a plane at offset 128 i + j; no normalisation. x is read from re/im, which
// the transform then uses as scratch; X is written to out_re/out_im.
void grid_fft(float *re, float *im, float *out_re, float *out_im, int isign);
