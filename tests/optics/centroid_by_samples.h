// The centroid tracker read literally, the oracle for the fast analysis: for each of the
// 16 x 16 sub-pixel shifts every far-field sample is added to the large pixel it falls in,
// and the centroid of the K pixel sums is compared with the spot's true position.
#pragma once

#include <cmath>

#include "optics/centroid.h"
#include "optics/settings.h"

inline CentroidError centroid_error_by_samples()
{
    // For shift p the first row (and column) is 50 - p for 3 x 3 pixels, 42 - p for 4 x 4.
    const int k = NumPixels == 4 ? 4 : 3, first = k == 4 ? 42 : 50;
    auto pixel = [&](int i, int p) { return i < first - p ? 0 : (i - first + p) / LARGE_PIXEL + 1; };
    // The spot (sample 65) from the centre of pixel 2 (65.5 - p for 4 x 4, 73.5 - p for 3 x 3).
    auto truth = [&](int p) { return (k == 4 ? p - 0.5 : p - 8.5) / LARGE_PIXEL; };
    double sx = 0, sy = 0;
    for (int p = 1; p <= LARGE_PIXEL; p++)
        for (int q = 1; q <= LARGE_PIXEL; q++) {
            double X[5] = {}, Y[5] = {}, total = 0, mx = 0, my = 0;
            for (int i = 1; i <= GRID; i++)
                for (int j = 1; j <= GRID; j++) {
                    const int ci = pixel(i, p), cj = pixel(j, q);
                    if (ci < 1 || ci > k || cj < 1 || cj > k) continue;
                    X[ci] += m_output[i][j];
                    Y[cj] += m_output[i][j];
                }
            for (int c = 1; c <= k; c++) mx += c * X[c], my += c * Y[c], total += X[c];
            if (!(total > 0)) return {};
            // The error less the PSF's own offset (given in samples).
            const double ex = mx / total - 2 - truth(p) - xpsfcent / LARGE_PIXEL;
            const double ey = my / total - 2 - truth(q) - ypsfcent / LARGE_PIXEL;
            sx += ex * ex, sy += ey * ey;
        }
    return {std::sqrt(sx / (LARGE_PIXEL * LARGE_PIXEL)), std::sqrt(sy / (LARGE_PIXEL * LARGE_PIXEL)), true};
}
