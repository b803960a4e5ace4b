#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "optics/farfield.h"
#include "optics/image_quality.h"
#include "optics/pupil.h"
#include "optics/settings.h"

namespace {

class ImageQualityTest : public testing::Test {
protected:
    void SetUp() override
    {
        optics_startup();
        unaberrated();
    }
    void TearDown() override { optics_shutdown(); }

    static void unaberrated()
    {
        reset_settings();
        HasComa = 0;  // the start-up pupil carries coma and a Zernike term
        HasZern[26] = 0;
    }
    static ImageQuality after_fft()
    {
        pillbox_input();
        do_FFT();
        return image_quality();
    }
    // lambda F in microns at the start-up 500 nm and F/5.6.
    static constexpr double LAMBDA_F = 0.5 * 5.6;
};

TEST_F(ImageQualityTest, StrehlIsOneWithoutPhaseErrorAndFollowsTheRmsWithDefocus)
{
    struct Row { const char *name; void (*apply)(); };
    const Row plain[] = {
        {"clear round", [] {}},
        {"obscured with struts", [] { nCurrentObscuration = 1; LinearObscuration = 0.3f; HasStruts = 1; }},
        {"triangular apodization", [] { nCurrentApod = APOD_TRIANGULAR; rbreak = 0.5f; }},
    };
    for (const Row &row : plain) {
        unaberrated();
        row.apply();
        EXPECT_NEAR(*after_fft().strehl, 1.0, 1e-9) << row.name;
    }
    unaberrated();
    // Defocus d rho^2 over a disc has an RMS of d / sqrt(12): 0.1732 waves give about 0.05.
    HasDefocus = 1;
    defocus = 0.1732f;
    const double strehl = *after_fft().strehl;
    const double marechal = std::exp(-std::pow(2 * std::numbers::pi * wavesrms, 2));
    EXPECT_NEAR(wavesrms, 0.05, 0.002);
    EXPECT_NEAR(strehl / marechal, 1.0, 0.005);
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
    // The radii at 50 and 80 % lie inside the first dark ring, in that order, and enclose what
    // they say.
    EXPECT_LT(*q.ee50_radius, *q.ee80_radius);
    EXPECT_LT(*q.ee80_radius, 1.22 * LAMBDA_F);
    // A radius lies between the distance of the sample that reaches its fraction and that of
    // the sample before, so the samples strictly inside it hold less, one step more holds more.
    EXPECT_LE(*encircled_energy(*q.ee50_radius), 0.5);
    EXPECT_GE(*encircled_energy(*q.ee50_radius + XPSFStep), 0.5);
    EXPECT_LE(*encircled_energy(*q.ee80_radius), 0.8);
    EXPECT_GE(*encircled_energy(*q.ee80_radius + XPSFStep), 0.8);
    // 127 / (2 x 19.5) samples per lambda F at the start-up radius of 20.
    EXPECT_DOUBLE_EQ(q.sampling_q, 127.0 / 39.0);
    EXPECT_FALSE(q.undersampled);
    EXPECT_FALSE(q.aliased);
}

TEST_F(ImageQualityTest, ShiftedPeakKeepsItsWidthThroughTheRealPeak)
{
    const ImageQuality centred = after_fft();
    // x tilt of 7 x 19.5 / 128 waves at the rim: a ramp of 7/128 wave per sample moves the PSF
    // by exactly 7 samples, so its width must not change.
    HasZern[2] = 1;
    Zern[2] = 7 * 19.5f / 128;
    const ImageQuality tilted = after_fft();
    EXPECT_GT(std::fabs(xpsfcent), 6.0f);
    EXPECT_NEAR(*tilted.fwhm_x, *centred.fwhm_x, 1e-3 * *centred.fwhm_x);
    EXPECT_NEAR(*tilted.fwhm_y, *centred.fwhm_y, 1e-3 * *centred.fwhm_y);
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
    struct Row {
        int radius;         // pupil radius in samples: Q = 127 / (2 (radius - 0.5))
        float step;         // phase step between two lit neighbours, waves
        float dark_step;    // a larger step to a dark sample, never counted
        const char *first;  // expected warnings, "" for none
        const char *second;
    };
    const Row rows[] = {
        {32, 0.5f, 3.0f, "", ""},  // Q = 127/63 = 2.016; a step of exactly half a wave
        {33, 0.5f, 3.0f,
         "warning: the PSF is undersampled (Q = 1.95, below 2): FWHM and encircled energy are not reliable", ""},
        {32, 0.75f, 3.0f, "warning: the wavefront is undersampled (phase step 0.75 wave, above 0.5): the PSF is aliased",
         ""},
        {40, 0.75f, 3.0f,
         "warning: the PSF is undersampled (Q = 1.61, below 2): FWHM and encircled energy are not reliable",
         "warning: the wavefront is undersampled (phase step 0.75 wave, above 0.5): the PSF is aliased"},
    };
    for (const Row &row : rows) {
        reset_settings();
        pupilradius = row.radius;
        ncenter = row.radius - 0.5f;
        set_all_arrays_zero();
        r_input[10][10] = r_input[11][10] = 1.0f;
        phase_input[11][10] = row.step;
        phase_input[10][11] = row.dark_step;  // its sample is dark
        const ImageQuality q = image_quality();
        EXPECT_FLOAT_EQ(q.max_phase_step, row.step) << row.radius << " " << row.step;
        const std::vector<std::string> lines = image_quality_warnings(q);
        std::vector<std::string> expected;
        for (const char *text : {row.first, row.second})
            if (*text) expected.push_back(text);
        EXPECT_EQ(lines, expected) << row.radius << " " << row.step;
    }
}

}  // namespace
