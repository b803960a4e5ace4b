#include "optics/centroid.h"

#include <cmath>
#include <vector>

#include "optics/settings.h"

CentroidError last_centroid_error;

namespace {

constexpr int SHIFTS = LARGE_PIXEL;  // sub-pixel positions along each axis

// Pixel row (or column) of far-field index i for shift p: the pixel grid is placed so that
// sample 65 falls in pixel 2 and moves across it as p runs from 1 to 16. Values outside
// 1..K fall outside the array.
int pixel_of(int i, int p, int k)
{
    if (k == 4) return (i - PSF_CENTRE + 15 + p + 8 + 256) / 16 + 1 - 256 / 16;
    return (i - PSF_CENTRE + 15 + p + 128) / 16 + 1 - 128 / 16;
}

// True position of the spot relative to the centre of pixel 2, in pixels.
double true_offset(int p, int k)
{
    if (k == 4) return (2 * p - 1) * 0.03125;
    return (2.0 * (p - 1) - (LARGE_PIXEL - 1)) / (2.0 * LARGE_PIXEL);
}

int pixels_per_side() { return NumPixels == 4 ? 4 : 3; }

// Centroid (1-based pixel index) of the K pixel sums, relative to pixel 2.
double measured_offset(const double *sums, int k, bool &empty)
{
    double moment = 0.0, total = 0.0;
    for (int c = 1; c <= k; c++) {
        moment += c * sums[c];
        total += sums[c];
    }
    if (!(total > 0.0)) empty = true;
    return empty ? 0.0 : moment / total - 2.0;
}

// RMS over the 256 shifts of the error less the PSF's own offset, in large pixels.
CentroidError finish(const float xagg[SHIFTS + 1][SHIFTS + 1],
                     const float yagg[SHIFTS + 1][SHIFTS + 1], bool empty)
{
    CentroidError result;
    if (empty) return result;
    double sx = 0.0, sy = 0.0;
    for (int p = 1; p <= SHIFTS; p++)
        for (int q = 1; q <= SHIFTS; q++) {
            const double ex = LARGE_PIXEL * xagg[p][q] - xpsfcent;
            const double ey = LARGE_PIXEL * yagg[p][q] - ypsfcent;
            sx += ex * ex;
            sy += ey * ey;
        }
    result.rmsx = std::sqrt(sx) / (LARGE_PIXEL * LARGE_PIXEL);
    result.rmsy = std::sqrt(sy) / (LARGE_PIXEL * LARGE_PIXEL);
    result.valid = true;
    return result;
}

}  // namespace

CentroidError centroid_error_analysis()
{
    const int k = pixels_per_side();

    // Summed-area table of the PSF in double: the sum over any block of samples is then four
    // look-ups, so a shift costs K x K block sums instead of a pass over the whole grid.
    std::vector<double> area((GRID + 1) * (GRID + 1), 0.0);
    auto at = [&](int i, int j) -> double & { return area[i * (GRID + 1) + j]; };
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            at(i, j) = m_output[i][j] + at(i - 1, j) + at(i, j - 1) - at(i - 1, j - 1);

    // First and last far-field index of each pixel row for each shift (empty when lo > hi).
    int lo[SHIFTS + 1][5], hi[SHIFTS + 1][5];
    for (int p = 1; p <= SHIFTS; p++) {
        for (int c = 1; c <= k; c++) {
            lo[p][c] = GRID + 1;
            hi[p][c] = 0;
        }
        for (int i = 1; i <= GRID; i++) {
            const int c = pixel_of(i, p, k);
            if (c < 1 || c > k) continue;
            if (i < lo[p][c]) lo[p][c] = i;
            if (i > hi[p][c]) hi[p][c] = i;
        }
    }
    auto block = [&](int i0, int i1, int j0, int j1) {
        if (i0 > i1 || j0 > j1) return 0.0;
        return at(i1, j1) - at(i0 - 1, j1) - at(i1, j0 - 1) + at(i0 - 1, j0 - 1);
    };

    float xagg[SHIFTS + 1][SHIFTS + 1], yagg[SHIFTS + 1][SHIFTS + 1];
    bool empty = false;
    for (int p = 1; p <= SHIFTS; p++)
        for (int q = 1; q <= SHIFTS; q++) {
            double X[5] = {}, Y[5] = {};
            for (int ci = 1; ci <= k; ci++)
                for (int cj = 1; cj <= k; cj++) {
                    const double s =
                        block(lo[p][ci], hi[p][ci], lo[q][cj], hi[q][cj]);  // every weight is 1
                    X[ci] += s;
                    Y[cj] += s;
                }
            xagg[p][q] = static_cast<float>(measured_offset(X, k, empty) - true_offset(p, k));
            yagg[p][q] = static_cast<float>(measured_offset(Y, k, empty) - true_offset(q, k));
        }
    return finish(xagg, yagg, empty);
}
