#include "optics/farfield.h"

#include <cstdio>

#include "optics/centroid.h"
#include "optics/hooks.h"
#include "optics/nrutil.h"
#include "optics/settings.h"
#include "optics/spectrum.h"

namespace {

bool dark = false;

// Offset of grid sample (i, j) in data1/data2: j fastest, real part then imaginary part.
inline int packed_index(int i, int j) { return 256 * (i - 1) + 2 * (j - 1) + 1; }

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
    // Pack the complex pupil and multiply by (-1)^(i+j): this moves the zero-frequency term of
    // the transform from sample (1, 1) to sample (65, 65), so the PSF comes out centred.
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            const int id = packed_index(i, j);
            data1[id] = A_input[i][j];
            data1[id + 1] = B_input[i][j];
            const float s = ((i + j) & 1) ? -1.0f : 1.0f;
            data2[id] = s * data1[id];
            data2[id + 1] = s * data1[id + 1];
        }

    isign = 1;
    fourn(data2, nn, 2, isign);

    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            const int id = packed_index(i, j);
            r_output[i][j] = data2[id];
            i_output[i][j] = data2[id + 1];
            m_output[i][j] = r_output[i][j] * r_output[i][j] + i_output[i][j] * i_output[i][j];
        }
    // Over a band and with jitter the PSF is the band's blurred intensity; the field arrays keep
    // the field at the wavelength.
    apply_spectrum_and_jitter(m_output);

    float peak = -100000.0f;
    for (int j = 1; j <= GRID; j++)
        for (int i = 1; i <= GRID; i++)
            if (m_output[i][j] > peak) peak = m_output[i][j];

    // A pupil that lets no light through has no peak to scale to and no centroid: the PSF
    // stays zero and the offsets 0 instead of dividing zero by zero.
    dark = !(peak > 0.0f);
    if (dark) {
        xpsfcent = ypsfcent = 0.0f;
    } else {
        for (int i = 1; i <= GRID; i++)
            for (int j = 1; j <= GRID; j++)
                m_output[i][j] = static_cast<float>(100.0 * m_output[i][j] / peak);

        float weighted = 0.0f, total = 0.0f;
        for (int j = 1; j <= GRID; j++) {
            float column = 0.0f;
            for (int i = 1; i <= GRID; i++) column += m_output[i][j];
            weighted += j * column;
            total += column;
        }
        ypsfcent = static_cast<float>(weighted / total - 1.0 - 64.0);

        weighted = total = 0.0f;
        for (int i = 1; i <= GRID; i++) {
            float row = 0.0f;
            for (int j = 1; j <= GRID; j++) row += m_output[i][j];
            weighted += i * row;
            total += row;
        }
        xpsfcent = static_cast<float>(weighted / total - 1.0 - 64.0);
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
