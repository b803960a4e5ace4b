// The figures of merit, read on the continuous far field: where the samples fall must not show.
#include <fitsio.h>

#include <array>
#include <numbers>

#include "optics/continuous_psf.h"
#include "optics/fits_file.h"
#include "tests/optics/optics_test.h"

namespace {

// Reads keywords and pixels back through the FITS library from the bytes in memory.
struct FitsReader {
    std::string bytes;
    std::size_t size = bytes.size();
    void *data = bytes.data();
    fitsfile *file = nullptr;
    int status = 0;
    explicit FitsReader(std::string b) : bytes(std::move(b))
    {
        fits_open_memfile(&file, "psf.fits", READONLY, &data, &size, 0, nullptr, &status);
    }
    ~FitsReader()
    {
        int ignored = 0;
        if (file) fits_close_file(file, &ignored);
    }
    double number(const char *key)
    {
        double value = 0;
        fits_read_key(file, TDOUBLE, key, &value, nullptr, &status);
        return value;
    }
    std::string text(const char *key)
    {
        char value[FLEN_CARD] = "";  // a whole card fits
        fits_read_key(file, TSTRING, key, value, nullptr, &status);
        return value;
    }
    float pixel(long axis1, long axis2)
    {
        long at[2] = {axis1, axis2};
        float value = 0;
        fits_read_pix(file, TFLOAT, at, 1, nullptr, &value, nullptr, &status);
        return value;
    }
};

class ImageQualityTest : public OpticsTest {
protected:
    void SetUp() override
    {
        OpticsTest::SetUp();
        clear_phase();
    }
    static ImageQuality figures()
    {
        pupil_and_psf();
        return image_quality();
    }
    // The start-up PSF as a FITS file, with two settings in its header.
    static std::string start_up_fits(ImageQuality &q)
    {
        reset_settings();
        q = figures();
        std::string bytes, error;
        const std::vector<SettingValue> settings = {{"fnumber", 5.6}, {"HasZern26", 1}};
        EXPECT_TRUE(format_fits_file(q, settings, "Orvinta 1.0.0", bytes, error)) << error;
        return bytes;
    }
    static constexpr double LAMBDA_F = 0.5 * 5.6;  // microns, at the start-up 500 nm and F/5.6
};

TEST_F(ImageQualityTest, StrehlFollowsTheMarechalApproximation)
{
    // The Marechal approximation exp(-(2 pi rms)^2): exactly 1 without phase error, and close
    // for defocus 0.1732 waves (RMS 0.05).
    const struct {
        const char *name;
        void (*apply)();
        double tolerance;
    } rows[] = {
        {"clear round", [] {}, 1e-9},
        {"obscured with struts", [] { set_both(nCurrentObscuration, 1, HasStruts, 1); }, 1e-9},
        {"triangular apodization", [] { set_both(nCurrentApod, APOD_TRIANGULAR, rbreak, 0.5f); },
         1e-9},
        {"defocus", [] { set_both(HasDefocus, 1, defocus, 0.1732f); }, 0.005},
    };
    for (const auto &row : rows) {
        reset_settings();
        clear_phase();
        row.apply();
        const double strehl = *figures().strehl;
        const double marechal = std::exp(-std::pow(2 * std::numbers::pi * wavesrms, 2));
        EXPECT_NEAR(strehl / marechal, 1.0, row.tolerance) << row.name;
    }
}

TEST_F(ImageQualityTest, ClearRoundPupilGivesTheAiryCoreAndItsEnergy)
{
    // The Airy pattern of a clear circular pupil is 1.029 lambda F wide at half maximum and
    // holds 83.8 % of its energy within its first dark ring, 1.22 lambda F from the centre.
    // The widths are in microns of a far-field step of 109.2 / 128 microns.
    const ImageQuality q = figures();
    EXPECT_NEAR(*q.fwhm_x / (1.029 * LAMBDA_F), 1.0, 0.003);
    EXPECT_NEAR(*q.fwhm_y / (1.029 * LAMBDA_F), 1.0, 0.003);
    EXPECT_NEAR(*encircled_energy(1.22 * LAMBDA_F) / 0.838, 1.0, 0.003);
    // Each encircled-energy radius holds its fraction.
    EXPECT_NEAR(*encircled_energy(*q.ee50_radius), 0.5, 1e-6);
    EXPECT_NEAR(*encircled_energy(*q.ee80_radius), 0.8, 1e-6);
}

TEST_F(ImageQualityTest, ThePeakIsTheFirstBrightestSampleScannedWithJOuter)
{
    pupil_and_psf();
    std::fill(&m_output[1][1], &m_output[GRID][GRID] + 1, 0.0f);
    // Two plateaus of equal height: three samples along x at j = 20, three along y at i = 20.
    // Scanning j outer meets (39, 20) first; i outer would meet (20, 39).
    for (int k = 39; k <= 41; k++) {
        m_output[k][20] = 100.0f;
        m_output[20][k] = 100.0f;
    }
    const PsfPeak peak = find_psf_peak();
    EXPECT_EQ(std::pair(peak.i, peak.j), std::pair(39, 20));
}

TEST_F(ImageQualityTest, DarkPupilGivesAZeroPsfWithoutEncircledEnergy)
{
    set_both(nCurrentObscuration, 1, LinearObscuration, 2.0f);
    nDoCentroidError = 1;
    pupil_and_psf();
    EXPECT_TRUE(psf_is_dark());
    EXPECT_EQ(count_where(m_output, 0.0f), GRID_VALUES);
    EXPECT_EQ(std::tuple(xpsfcent, ypsfcent, HaveCurrentPSF), std::tuple(0.0f, 0.0f, 1));
    EXPECT_FALSE(encircled_energy(1.0));
}

TEST_F(ImageQualityTest, FitsFileOfADarkPupilHasNoStrehlKeyword)
{
    set_both(pupilradius, 0, ncenter, -0.5f);
    std::string bytes, error;
    EXPECT_TRUE(format_fits_file(figures(), {}, "Orvinta", bytes, error)) << error;
    FitsReader fits(bytes);
    fits.number("WFERMS");
    EXPECT_EQ(fits.status, 0);
    fits.number("STREHL");
    EXPECT_EQ(fits.status, KEY_NO_EXIST);
}

TEST_F(ImageQualityTest, WarningsSwitchOnJustPastTheirLimits)
{
    const std::string psf = "warning: the PSF is undersampled (Q = ";
    const std::string psf_end = ", below 2): FWHM and encircled energy are not reliable";
    const std::string otf = "warning: the OTF is aliased (Q = ";
    const std::string otf_end = ", below 2): its support, twice the pupil's width, exceeds the "
                                "grid, so the MTF is not reliable";
    const std::string wavefront = "warning: the wavefront is undersampled (phase step 0.75 wave, "
                                  "above 0.5): the PSF is aliased";
    // Q = 128 / (2 (radius - 0.5)); step: between two neighbours, in waves, counted only where
    // the dimmer one carries 1 % of the brightest or more.
    const struct {
        int radius;
        float dim, step;
        double counted;
        std::vector<std::string> expected;
    } rows[] = {
        {32, 1.0f, 0.5f, 0.5, {}},  // Q = 128/63 = 2.032; a step of exactly half a wave
        {33, 1.0f, 0.5f, 0.5, {psf + "1.97" + psf_end, otf + "1.97" + otf_end}},  // 128/65
        {32, 0.011f, 0.75f, 0.75, {wavefront}},
        {32, 0.009f, 0.75f, 0.0, {}},
        {40, 1.0f, 0.75f, 0.75, {psf + "1.62" + psf_end, otf + "1.62" + otf_end, wavefront}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::to_string(row.radius) + " " + std::to_string(row.dim));
        reset_settings();
        set_both(pupilradius, row.radius, ncenter, row.radius - 0.5f);
        set_all_arrays_zero();
        set_both(r_input[10][10], 1.0f, r_input[11][10], row.dim);
        phase_input[11][10] = row.step;
        phase_input[10][11] = 3.0f;  // a larger step to a dark sample, never counted
        const ImageQuality q = image_quality();
        EXPECT_FLOAT_EQ(q.max_phase_step, row.counted);
        EXPECT_EQ(image_quality_warnings(q), row.expected);
    }
}

// Start-up optics: 500 nm, F/5.6, a 10 mm pupil sampled over 2 x 19.5 steps.
TEST_F(ImageQualityTest, FitsHeaderHoldsTheOpticsAndFigures)
{
    ImageQuality q;
    const std::string bytes = start_up_fits(q);
    FitsReader fits(bytes);
    const struct {
        const char *key;
        double expected, tolerance;
    } keys[] = {
        {"WAVELEN", 500e-9, 1e-21},
        {"FNUMBER", 5.6, 1e-6},
        {"DIAM", 0.01, 1e-17},
        {"PUPILSCL", 0.01 / 39, 1e-12},
        {"SAMPLING", 128.0 / 39, 1e-9},   // 128 / (2 x 19.5) samples per lambda F
        {"PIXELSCL", 109.2 / 128, 1e-9},  // the far-field period over its 128 samples
        {"STREHL", *q.strehl, 1e-12},
        {"MTF50X", *q.mtf50_x, 1e-9},
        {"CUTOFF", 1000 / LAMBDA_F, 1e-9},  // D / (lambda EFL) = 1 / (lambda F) per mm
        {"XCENTROI", xpsfcent, 1e-6},
        {"HIERARCH ORVINTA fnumber", 5.6, 1e-12},
        {"HIERARCH ORVINTA HasZern26", 1.0, 0},
    };
    for (const auto &key : keys)
        EXPECT_NEAR(fits.number(key.key), key.expected, key.tolerance) << key.key;
    EXPECT_EQ(std::tuple(fits.text("PIXUNIT"), fits.text("NORMALIZ"), fits.text("ORIGIN"),
                         fits.text("FREQUNIT")),
              std::tuple("um", "peak=100", "Orvinta 1.0.0", "cycles/mm"));
    EXPECT_EQ(fits.status, 0);
}

// Axis 1 runs along i: pixel (i, j) of each image is array[i][j]. The MTF steps
// 1 / (128 x 0.853125 um) = 9.1575092 cycles/mm from zero frequency on pixel 65.
TEST_F(ImageQualityTest, FitsImagesHoldThePsfAndPupil)
{
    ImageQuality q;
    FitsReader fits(start_up_fits(q));
    const struct {
        int hdu;
        float **array;
        const char *name;
    } images[] = {{1, m_output, ""},
                  {2, r_input, "PUPIL_TRANSMISSION"},
                  {4, mtf_output, "MTF"},
                  {3, phase_input, "PUPIL_PHASE"}};
    for (const auto &image : images) {
        fits_movabs_hdu(fits.file, image.hdu, nullptr, &fits.status);
        EXPECT_EQ(*image.name ? fits.text("EXTNAME") : "", image.name);
        for (const auto &[i, j] : {std::pair{65, 65}, {60, 70}, {70, 60}, {1, 128}})
            EXPECT_EQ(fits.pixel(i, j), image.array[i][j]) << image.hdu << " " << i << "," << j;
    }
    EXPECT_EQ(fits.text("BUNIT"), "waves");  // of the phase image, the last one read
    fits_movabs_hdu(fits.file, 4, nullptr, &fits.status);
    EXPECT_EQ(fits.pixel(65, 65), 1.0f);
    EXPECT_NEAR(fits.number("CDELT1"), 1000 / 109.2, 1e-9);
    EXPECT_EQ(fits.status, 0);
}

TEST_F(ImageQualityTest, IntensityAtTheSamplesIsThePsfScaledToItsPeak)
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

TEST_F(ImageQualityTest, TiltKeepsStrehlOneAndTheWidthsRadiiAndMtfWhereverThePeakFalls)
{
    // The MTF does not see where the PSF lies.
    const auto sizes = [](const ImageQuality &q) {
        return std::array{*q.fwhm_x,      *q.fwhm_y,  *q.ee50_radius,
                          *q.ee80_radius, *q.mtf50_x, *q.mtf50_y};
    };
    const auto straight = sizes(figures());
    // A shift of s samples along x is a tilt of s / 128 wave per pupil sample: Zern2 =
    // s ncenter / 128 waves across the radius of 19.5 samples (Zern3 the same along y).
    for (const auto &[x, y] : {std::pair{0.25, 0.0}, {0.5, 0.0}, {1.0, 0.0}, {0.5, 0.5}}) {
        HasZern[2] = HasZern[3] = 1;
        set_both(Zern[2], float(x * 19.5 / 128), Zern[3], float(y * 19.5 / 128));
        const ImageQuality q = figures();
        EXPECT_NEAR(*q.strehl, 1.0, 1e-5) << x << "," << y;
        for (int k = 0; k < 6; k++)
            EXPECT_NEAR(sizes(q)[k] / straight[k], 1.0, 1e-3) << x << "," << y << " size " << k;
    }
}

TEST_F(ImageQualityTest, OneLitSampleHasNoHalfWidthAndAFlatEnergyProfile)
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

}  // namespace
