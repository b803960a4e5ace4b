#include <cmath>
#include <numbers>

#include "optics/image_quality.h"
#include "tests/optics/optics_test.h"

namespace {

class ImageQualityTest : public OpticsTest {
protected:
    void SetUp() override
    {
        OpticsTest::SetUp();
        clear_phase();
    }
    static ImageQuality after_fft()
    {
        pillbox_input();
        do_FFT();
        return image_quality();
    }
    static constexpr double LAMBDA_F = 0.5 * 5.6;  // microns, at the start-up 500 nm and F/5.6
};

TEST_F(ImageQualityTest, StrehlIsOneWithoutPhaseErrorAndFollowsTheRmsWithDefocus)
{
    const struct { const char *name; void (*apply)(); } rows[] = {
        {"clear round", [] {}},
        {"obscured with struts", [] { nCurrentObscuration = 1; LinearObscuration = 0.3f; HasStruts = 1; }},
        {"triangular apodization", [] { nCurrentApod = APOD_TRIANGULAR; rbreak = 0.5f; }},
    };
    for (const auto &row : rows) {
        reset_settings();
        clear_phase();
        row.apply();
        EXPECT_NEAR(*after_fft().strehl, 1.0, 1e-9) << row.name;
    }
    reset_settings();
    clear_phase();
    // Defocus d rho^2 over a disc has an RMS of d / sqrt(12): 0.1732 waves give about 0.05.
    HasDefocus = 1;
    defocus = 0.1732f;
    const double strehl = *after_fft().strehl;
    EXPECT_NEAR(wavesrms, 0.05, 0.002);
    EXPECT_NEAR(strehl / std::exp(-std::pow(2 * std::numbers::pi * wavesrms, 2)), 1.0, 0.005);  // Marechal
}

TEST_F(ImageQualityTest, AiryCoreWidthAndEncircledEnergyMatchTheDiffractionLimit)
{
    const ImageQuality q = after_fft();
    // The Airy core is 1.029 lambda F wide at half maximum; 83.8 % of the energy lies within
    // the first dark ring at 1.22 lambda F.
    EXPECT_NEAR(*q.fwhm_x / (1.029 * LAMBDA_F), 1.0, 0.02);
    EXPECT_NEAR(*q.fwhm_y / (1.029 * LAMBDA_F), 1.0, 0.02);
    const double ee = *encircled_energy(1.22 * LAMBDA_F);
    EXPECT_GT(ee, 0.833);
    EXPECT_LT(ee, 0.843);
    EXPECT_LT(*q.ee50_radius, *q.ee80_radius);
    EXPECT_LT(*q.ee80_radius, 1.22 * LAMBDA_F);
    // A radius lies between the distance of the sample that reaches its fraction and that of
    // the sample before: strictly inside it holds less, one step more holds more.
    EXPECT_LE(*encircled_energy(*q.ee50_radius), 0.5);
    EXPECT_GE(*encircled_energy(*q.ee50_radius + XPSFStep), 0.5);
    EXPECT_LE(*encircled_energy(*q.ee80_radius), 0.8);
    EXPECT_GE(*encircled_energy(*q.ee80_radius + XPSFStep), 0.8);
    EXPECT_DOUBLE_EQ(q.sampling_q, 127.0 / 39.0);  // 127 / (2 x 19.5) samples per lambda F
    EXPECT_FALSE(q.undersampled);
    EXPECT_FALSE(q.aliased);
    // x tilt of 7 x 19.5 / 128 waves at the rim, a ramp of 7/128 wave per sample, moves the
    // PSF by exactly 7 samples: its widths must not change.
    HasZern[2] = 1;
    Zern[2] = 7 * 19.5f / 128;
    const ImageQuality tilted = after_fft();
    EXPECT_GT(std::fabs(xpsfcent), 6.0f);
    EXPECT_NEAR(*tilted.fwhm_x, *q.fwhm_x, 1e-3 * *q.fwhm_x);
    EXPECT_NEAR(*tilted.fwhm_y, *q.fwhm_y, 1e-3 * *q.fwhm_y);
}

TEST_F(ImageQualityTest, DarkPupilLeavesEveryFigureUndefined)
{
    nCurrentObscuration = 1;
    LinearObscuration = 2.0f;
    const ImageQuality q = after_fft();
    EXPECT_FALSE(q.strehl || q.fwhm_x || q.fwhm_y || q.ee50_radius || q.ee80_radius);
    EXPECT_FALSE(encircled_energy(1.0));
    EXPECT_DOUBLE_EQ(q.sampling_q, 127.0 / 39.0);
    EXPECT_EQ(q.max_phase_step, 0.0);
}

TEST_F(ImageQualityTest, WarningsSwitchOnJustPastTheirLimits)
{
    const std::string psf = "warning: the PSF is undersampled (Q = ";
    const std::string psf_end = ", below 2): FWHM and encircled energy are not reliable";
    const std::string wavefront = "warning: the wavefront is undersampled (phase step 0.75 wave, above 0.5): the PSF is aliased";
    // Q = 127 / (2 (radius - 0.5)); step: between two lit neighbours, in waves.
    const struct { int radius; float step; std::vector<std::string> expected; } rows[] = {
        {32, 0.5f, {}},  // Q = 127/63 = 2.016; a step of exactly half a wave
        {33, 0.5f, {psf + "1.95" + psf_end}},
        {32, 0.75f, {wavefront}},
        {40, 0.75f, {psf + "1.61" + psf_end, wavefront}},
    };
    for (const auto &row : rows) {
        reset_settings();
        pupilradius = row.radius;
        ncenter = row.radius - 0.5f;
        set_all_arrays_zero();
        r_input[10][10] = r_input[11][10] = 1.0f;
        phase_input[11][10] = row.step;
        phase_input[10][11] = 3.0f;  // a larger step to a dark sample, never counted
        const ImageQuality q = image_quality();
        EXPECT_FLOAT_EQ(q.max_phase_step, row.step) << row.radius << " " << row.step;
        EXPECT_EQ(image_quality_warnings(q), row.expected) << row.radius << " " << row.step;
    }
}

}  // namespace
