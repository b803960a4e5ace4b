// Centroid error of a tracker that sees the PSF through a K x K array of large pixels, each
// 16 x 16 far-field samples, swept through all 16 x 16 sub-pixel positions.
#pragma once

struct CentroidError {
    double rmsx = 0.0, rmsy = 0.0;  // RMS error in large pixels, less the PSF's own offset
    bool valid = false;             // false when the PSF holds no light inside the array
};

constexpr int LARGE_PIXEL = 16;  // far-field samples along one large pixel

// Analysis of m_output with NumPixels (3 or 4) pixels a side and the centroid offsets
// xpsfcent, ypsfcent. Fast: block sums from a summed-area table.
CentroidError centroid_error_analysis();

// The last result of the analysis run by do_FFT (valid false when it did not run).
extern CentroidError last_centroid_error;
