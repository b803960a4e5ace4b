#include "optics/farfield.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "optics/centroid.h"
#include "optics/grid_fft.h"
#include "optics/hooks.h"
#include "optics/nrutil.h"
#include "optics/settings.h"
#include "optics/spectrum.h"

namespace {

bool dark = false;

// Offset of grid sample (i, j) in a 128 x 128 plane of the transform: j fastest, from 0.
inline int plane_index(int i, int j) { return GRID * (i - 1) + (j - 1); }

// re/im[j] = s (-1)^j (a/b)[j], the pupil row's samples with alternating signs from s.
void pack_row(const float *__restrict a, const float *__restrict b, float *__restrict re,
              float *__restrict im, float s)
{
    for (int j = 0; j < GRID; j += 2) {
        re[j] = s * a[j];
        im[j] = s * b[j];
        re[j + 1] = -s * a[j + 1];
        im[j + 1] = -s * b[j + 1];
    }
}

// A far-field row out of the transform's planes: real part, imaginary part and squared
// modulus; returns the row's largest squared modulus (eight running maxima side by side, the
// largest of a set being the same in any order).
float unpack_row(const float *__restrict re, const float *__restrict im, float *__restrict r,
                 float *__restrict i, float *__restrict m)
{
    for (int j = 0; j < GRID; j++) {
        r[j] = re[j];
        i[j] = im[j];
        m[j] = re[j] * re[j] + im[j] * im[j];
    }
    float peaks[8];
    std::fill_n(peaks, 8, -100000.0f);
    for (int j = 0; j < GRID; j += 8)
        for (int k = 0; k < 8; k++) peaks[k] = m[j + k] > peaks[k] ? m[j + k] : peaks[k];
    return *std::max_element(peaks, peaks + 8);
}

// m[j] *= percent (in double, rounded once), then added to columns[j].
void scale_row(float *__restrict m, double percent, float *__restrict columns)
{
    for (int j = 0; j < GRID; j++) {
        m[j] = static_cast<float>(m[j] * percent);
        columns[j] += m[j];
    }
}

// sums[k] = the sum of m_output row first + k in index order, eight rows side by side (eight
// independent running sums instead of one long chain of additions).
void sum_rows(int first, float *sums)
{
    float s[8] = {};
    const float *row[8];
    for (int k = 0; k < 8; k++) row[k] = m_output[first + k] + 1;
    for (int j = 0; j < GRID; j++)
        for (int k = 0; k < 8; k++) s[k] += row[k][j];
    std::copy_n(s, 8, sums);
}

// The centroid of sums[0..127] (sample k + 1 at weight sums[k]) from the centre sample 65.
float centroid_offset(const std::array<float, GRID> &sums)
{
    float weighted = 0.0f, total = 0.0f;
    for (int k = 1; k <= GRID; k++) {
        weighted += k * sums[k - 1];
        total += sums[k - 1];
    }
    return static_cast<float>(weighted / total - 1.0 - 64.0);
}

void report_centroid_error()
{
    if (dark) {
        last_centroid_error = CentroidError{};
        optics_notify(
            "RMS centroid error in large pixels",
            "The PSF holds no light, so there is no centroid to track: the analysis was skipped.",
            true);
        return;
    }
    last_centroid_error = centroid_error_analysis();
    char text[128];
    std::snprintf(text, sizeof text, "%f   %f", last_centroid_error.rmsx, last_centroid_error.rmsy);
    optics_notify("RMS centroid error in large pixels", text, true);
}

}  // namespace

bool psf_is_dark() { return dark; }

void do_FFT()
{
    // The complex pupil times (-1)^(i+j), real and imaginary planes in data1: the factor moves
    // the zero-frequency term of the transform from sample (1, 1) to sample (65, 65), so the
    // PSF comes out centred. The transform leaves the far field in the planes of data2.
    float *const re = data1 + 1, *const im = re + GRID_VALUES;
    float *const far_re = data2 + 1, *const far_im = far_re + GRID_VALUES;
    for (int i = 1; i <= GRID; i++)
        pack_row(A_input[i] + 1, B_input[i] + 1, re + plane_index(i, 1), im + plane_index(i, 1),
                 ((i + 1) & 1) ? -1.0f : 1.0f);

    isign = 1;
    grid_fft(re, im, far_re, far_im, isign);

    float peak = -100000.0f;
    for (int i = 1; i <= GRID; i++) {
        const float row_peak = unpack_row(far_re + plane_index(i, 1), far_im + plane_index(i, 1),
                                          r_output[i] + 1, i_output[i] + 1, m_output[i] + 1);
        if (row_peak > peak) peak = row_peak;
    }
    // Over a band and with jitter the PSF is the band's blurred intensity, with a peak of its
    // own; the field arrays keep the field at the wavelength.
    if (is_broadband() || is_jittered()) {
        apply_spectrum_and_jitter(m_output);
        peak = -100000.0f;
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++) peak = std::max(peak, m_output[i][j]);
    }

    // A pupil that lets no light through has no peak to scale to and no centroid: the PSF
    // stays zero and the offsets 0 instead of dividing zero by zero.
    dark = !(peak > 0.0f);
    if (dark) {
        xpsfcent = ypsfcent = 0.0f;
    } else {
        // The PSF in percent of its peak, and its sums along each column (over i) and each
        // row (over j), each added in index order.
        const double percent = 100.0 / peak;
        std::array<float, GRID> columns{}, rows{};
        for (int i = 1; i <= GRID; i++) scale_row(m_output[i] + 1, percent, columns.data());
        for (int i = 1; i <= GRID; i += 8) sum_rows(i, &rows[i - 1]);
        ypsfcent = centroid_offset(columns);
        xpsfcent = centroid_offset(rows);
    }

    if (nDoCentroidError == 1) report_centroid_error();
    HaveCurrentPSF = 1;
}

PsfPeak find_psf_peak()
{
    PsfPeak peak{0, 0, -1.0f};
    for (int j = 1; j <= GRID; j++)
        for (int i = 1; i <= GRID; i++)
            if (m_output[i][j] > peak.value) peak = {i, j, m_output[i][j]};
    return peak;
}
