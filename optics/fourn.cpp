#include <cmath>
#include <utility>

#include "optics/nrutil.h"

// Multi-dimensional complex FFT in place, one dimension at a time from the last (fastest) to
// the first. For each dimension the data are seen as nrem blocks of n complex values spaced
// nprev apart: first a bit-reversal permutation along the dimension, then the
// Danielson-Lanczos butterflies, whose twiddle factor advances by a trigonometric recurrence
// (two sine calls per stage, no table).
//
// Worked example, ndim 1, n 4: positions 1,3,5,7 hold x0..x3. Bit reversal swaps x1 and x2
// (positions 3 and 5); the first stage (ifp1 2) combines (x0,x2) and (x1,x3) with w = 1, the
// second (ifp1 4) combines the two halves with w = 1 and w = exp(isign i pi/2).
void fourn(float data[], unsigned long nn[], int ndim, int isign)
{
    unsigned long ntot = 1;
    for (int idim = 1; idim <= ndim; idim++) ntot *= nn[idim];

    unsigned long nprev = 1;
    for (int idim = ndim; idim >= 1; idim--) {
        const unsigned long n = nn[idim];
        const unsigned long nrem = ntot / (n * nprev);
        const unsigned long ip1 = nprev << 1;  // one complex step along this dimension
        const unsigned long ip2 = ip1 * n;     // one block of n values
        const unsigned long ip3 = ip2 * nrem;  // the whole array

        unsigned long i2rev = 1;
        for (unsigned long i2 = 1; i2 <= ip2; i2 += ip1) {
            if (i2 < i2rev) {
                for (unsigned long i1 = i2; i1 <= i2 + ip1 - 2; i1 += 2) {
                    for (unsigned long i3 = i1; i3 <= ip3; i3 += ip2) {
                        const unsigned long i3rev = i2rev + i3 - i2;
                        std::swap(data[i3], data[i3rev]);
                        std::swap(data[i3 + 1], data[i3rev + 1]);
                    }
                }
            }
            unsigned long ibit = ip2 >> 1;
            while (ibit >= ip1 && i2rev > ibit) {
                i2rev -= ibit;
                ibit >>= 1;
            }
            i2rev += ibit;
        }

        unsigned long ifp1 = ip1;
        while (ifp1 < ip2) {
            const unsigned long ifp2 = ifp1 << 1;
            const double theta = isign * 6.28318530717959 / static_cast<double>(ifp2 / ip1);
            const double wtemp = std::sin(0.5 * theta);
            const double wpr = -2.0 * wtemp * wtemp;
            const double wpi = std::sin(theta);
            double wr = 1.0, wi = 0.0;
            for (unsigned long i3 = 1; i3 <= ifp1; i3 += ip1) {
                // The twiddle is rounded to float once per group; each butterfly then works in
                // float. Within a group the butterflies touch disjoint pairs, so they are visited
                // block by block with the contiguous run of nprev values innermost.
                const float fwr = static_cast<float>(wr), fwi = static_cast<float>(wi);
                for (unsigned long i2 = i3; i2 <= ip3; i2 += ifp2) {
                    float *const a = data + i2;
                    float *const b = data + i2 + ifp1;
                    for (unsigned long o = 0; o < ip1; o += 2) {
                        const float tempr = fwr * b[o] - fwi * b[o + 1];
                        const float tempi = fwr * b[o + 1] + fwi * b[o];
                        b[o] = a[o] - tempr;
                        b[o + 1] = a[o + 1] - tempi;
                        a[o] += tempr;
                        a[o + 1] += tempi;
                    }
                }
                const double wold = wr;
                wr = wr * wpr - wi * wpi + wr;
                wi = wi * wpr + wold * wpi + wi;
            }
            ifp1 = ifp2;
        }
        nprev *= n;
    }
}
