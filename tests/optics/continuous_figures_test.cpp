// The figures of merit read on the continuous far field: where the samples fall must not show.
#include <numbers>

#include "optics/continuous_psf.h"
#include "optics/image_quality.h"
#include "tests/optics/optics_test.h"

namespace {

class ContinuousFigures : public OpticsTest {
protected:
    void SetUp() override { OpticsTest::SetUp(), clear_phase(); }
    static ImageQuality figures() { return pupil_and_psf(), image_quality(); }
    static constexpr double LAMBDA_F = 0.5 * 5.6;  // microns, at the start-up 500 nm and F/5.6
};

TEST_F(ContinuousFigures, IntensityAtTheSamplesIsThePsfScaledToItsPeak)
{
    // The start-up coma puts the peak on (67, 65) and leaves the PSF lopsided along x, so a
    // continuous field of the wrong sign or offset would miss it by tens of percent.
    reset_settings();
    pupil_and_psf();
    ContinuousPsf psf;
    psf.read_pupil();
    const double scale = 100 / psf.intensity(67 - PSF_CENTRE, 0);
    // The float transform rounds each field value to about 1e-6 of the peak field, so the
    // intensities on the scale of 100 agree to about 1e-4.
    double worst = 0;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++) {
            const double continuous = scale * psf.intensity(i - PSF_CENTRE, j - PSF_CENTRE);
            worst = std::max(worst, std::fabs(continuous - m_output[i][j]));
        }
    EXPECT_LT(worst, 5e-4);
}

TEST_F(ContinuousFigures, TiltKeepsStrehlOneAndTheWidthsAndRadiiWhereverThePeakFalls)
{
    const ImageQuality straight = figures();
    // A shift of s samples along x is a tilt of s / 128 wave per pupil sample: Zern2 =
    // s ncenter / 128 waves across the radius of 19.5 samples (Zern3 the same along y).
    const struct {
        double along_x, along_y;
    } rows[] = {{0.25, 0}, {0.5, 0}, {1, 0}, {0.5, 0.5}};
    for (const auto &row : rows) {
        HasZern[2] = HasZern[3] = 1;
        Zern[2] = float(row.along_x * 19.5 / 128), Zern[3] = float(row.along_y * 19.5 / 128);
        const ImageQuality q = figures();
        EXPECT_NEAR(*q.strehl, 1.0, 1e-5) << row.along_x << "," << row.along_y;
        const std::pair<std::optional<double>, std::optional<double>> same[] = {
            {q.fwhm_x, straight.fwhm_x},
            {q.fwhm_y, straight.fwhm_y},
            {q.ee50_radius, straight.ee50_radius},
            {q.ee80_radius, straight.ee80_radius}};
        for (const auto &[tilted, reference] : same)
            EXPECT_NEAR(*tilted / *reference, 1.0, 1e-3) << row.along_x << "," << row.along_y;
    }
}

TEST_F(ContinuousFigures, ClearRoundPupilGivesTheAiryCoreAndItsEnergy)
{
    // The Airy pattern of a clear circular pupil is 1.029 lambda F wide at half maximum and
    // holds 83.8 % of its energy within its first dark ring, 1.22 lambda F from the centre.
    // The widths are in microns of a far-field step of 109.2 / 128 microns.
    const ImageQuality q = figures();
    EXPECT_NEAR(*q.fwhm_x / (1.029 * LAMBDA_F), 1.0, 0.003);
    EXPECT_NEAR(*q.fwhm_y / (1.029 * LAMBDA_F), 1.0, 0.003);
    EXPECT_NEAR(*encircled_energy(1.22 * LAMBDA_F) / 0.838, 1.0, 0.003);
}

TEST_F(ContinuousFigures, SmallDefocusStepsGiveDistinctGrowingEncircledEnergyRadii)
{
    // Eight steps of 0.005 wave: each widens the core, so each radius is larger than the last.
    HasDefocus = 1;
    double before = 0;
    for (int k = 0; k < 8; k++) {
        defocus = 0.1f + 0.005f * k;
        const double radius = *figures().ee50_radius;
        EXPECT_GT(radius, before) << "defocus " << defocus;
        before = radius;
    }
}

TEST_F(ContinuousFigures, StrehlOfSmallDefocusFollowsMarechal)
{
    // Defocus d rho^2 has an RMS of d / sqrt(12) over the disc (the variance of rho^2 is
    // 1/3 - 1/4): d = 0.05 sqrt(12) is 0.05 wave RMS, and exp(-(2 pi 0.05)^2) = 0.90602.
    HasDefocus = 1, defocus = float(0.05 * std::sqrt(12.0));
    const double marechal = std::exp(-std::pow(2 * std::numbers::pi * 0.05, 2));
    EXPECT_NEAR(*figures().strehl / marechal, 1.0, 0.005);
}

TEST_F(ContinuousFigures, OneLitSampleHasNoHalfWidthAndAFlatEnergyProfile)
{
    // A single sample lights the whole period evenly: no half-maximum crossing, and a disc of
    // radius r holds pi r^2 / 128^2 of the energy, 50 % at sqrt(8192 / pi) = 51.0646 samples,
    // 80 % only beyond 64 (at 64.59). In microns of 109.2 / 128: 43.5645.
    set_all_arrays_zero();
    r_input[65][65] = A_input[65][65] = 1.0f;
    do_FFT();
    const ImageQuality q = image_quality();
    EXPECT_NEAR(*q.strehl, 1.0, 1e-12);
    EXPECT_FALSE(q.fwhm_x || q.fwhm_y || q.ee80_radius);
    EXPECT_NEAR(*q.ee50_radius, 43.5645, 1e-3 * 43.5645);
}

TEST_F(ContinuousFigures, PhaseStepsCountOnlyBetweenSamplesCarryingLight)
{
    // Two neighbours a quarter of a wave apart, the second lit by `dim` of the brightest.
    const struct {
        float dim;
        double step;
    } rows[] = {{0.011f, 0.25}, {0.009f, 0.0}};
    for (const auto &row : rows) {
        set_all_arrays_zero();
        r_input[10][10] = 1.0f, r_input[11][10] = row.dim, phase_input[11][10] = 0.25f;
        EXPECT_EQ(image_quality().max_phase_step, row.step) << row.dim;
    }
}

TEST_F(ContinuousFigures, SuperGaussianRimWithSteepPhaseRaisesNoAliasingWarning)
{
    // exp(-(rho / 0.7)^20) falls below 1 % at rho 0.755 but stays a float above 0 to rho 0.88,
    // where spherical aberration 4.5 rho^4 steps 4.5 x 4 rho^3 / 19.5 = 0.63 wave per sample;
    // where the light is, 0.40 at most.
    nCurrentApod = APOD_CIRCULAR_SG, cir_sgxp = 10.0f;
    HasSpherical = 1, spherical = 4.5f;
    const ImageQuality q = figures();
    double dark_step = 0;  // between neighbours both above zero, however dim
    for (int i = 1; i < GRID; i++)
        for (int j = 1; j <= GRID; j++)
            if (r_input[i][j] > 0 && r_input[i + 1][j] > 0)
                dark_step = std::max(dark_step,
                                     double(std::fabs(phase_input[i][j] - phase_input[i + 1][j])));
    ASSERT_GT(dark_step, 0.5);
    EXPECT_LT(q.max_phase_step, 0.5);
    EXPECT_TRUE(image_quality_warnings(q).empty());
}

}  // namespace
