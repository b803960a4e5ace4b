// The band and the jitter against the monochromatic PSFs they are made of.
#include <numbers>

#include "optics/continuous_psf.h"
#include "optics/image_quality.h"
#include "optics/psf_pipeline.h"
#include "optics/settings_rules.h"
#include "optics/spectrum.h"
#include "tests/optics/optics_test.h"

namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

class SpectrumTest : public OpticsTest {
protected:
    void TearDown() override
    {
        set_spectrum({});
        OpticsTest::TearDown();
    }
    static ImageQuality compute(const Settings &settings)
    {
        reset_settings();
        clear_phase();
        for (const auto &[name, value] : settings) apply_setting(name, value);
        return compute_psf().quality;
    }
    static std::vector<float> psf() { return {&m_output[1][1], &m_output[GRID][GRID] + 1}; }
};

TEST_F(SpectrumTest, StillMonochromaticSettingsLeaveThePsfToTheBit)
{
    compute({});
    const std::vector<float> still = psf();
    const Settings rows[] = {
        {{"nwavelengths", "7"}},  // seven lines, all at the wavelength
        {{"bandwidth", "50"}},    // one line, the centre of the band
        {{"jitter_x", "0"}, {"jitter_y", "0"}},
    };
    for (const Settings &row : rows) {
        compute(row);
        EXPECT_TRUE(psf() == still) << row[0].first;
    }
}

// 20 % in 5 sub-bands about 500 nm: centres 460, 480, 500, 520, 540 nm, a fifth each.
TEST_F(SpectrumTest, LinesAreTheCentresOfEqualSubBandsOrTheSpectrumGiven)
{
    compute({{"bandwidth", "20"}, {"nwavelengths", "5"}});
    const double centres[] = {460, 480, 500, 520, 540};
    const std::vector<SpectralLine> band = spectral_lines();
    ASSERT_EQ(band.size(), 5u);
    for (int k = 0; k < 5; k++) {
        EXPECT_NEAR(band[k].wavelength, centres[k], 1e-9);
        EXPECT_NEAR(band[k].scale, 500 / centres[k], 1e-12);
        EXPECT_NEAR(band[k].weight, 0.2, 1e-15);
    }
    set_spectrum({{400, 1}, {600, 3}});
    EXPECT_NEAR(spectral_lines()[1].weight, 0.75, 1e-15);
}

// Each line s is the pupil with its phase scaled by s, seen at s times the distance, weighted
// by s^2 / 5: the sum, read on the continuous field of each line apart, is the PSF along x
// through the centre, scaled to its brightest sample. The clear pupil's first dark ring at
// 1.22 x 2.8 um = 4.004 samples fills in.
TEST_F(SpectrumTest, BandIsTheWeightedSumOfItsLinesEachOnItsOwnScale)
{
    const Settings rows[] = {{}, {{"HasDefocus", "1"}, {"defocus", "0.3"}}};
    for (const Settings &row : rows) {
        Settings band = row;
        band.insert(band.end(), {{"bandwidth", "20"}, {"nwavelengths", "5"}});
        compute(band);
        double expected[GRID] = {}, brightest = 0;
        for (double lambda : {460.0, 480.0, 500.0, 520.0, 540.0}) {
            const double s = 500 / lambda;
            ContinuousPsf line;
            line.read_pupil(s);
            for (int i = 1; i <= GRID; i++)
                expected[i - 1] += s * s / 5 * line.intensity(s * (i - PSF_CENTRE), 0);
        }
        for (double value : expected) brightest = std::max(brightest, value);
        for (int i = 1; i <= GRID; i++)
            EXPECT_NEAR(m_output[i][65], 100 * expected[i - 1] / brightest, 2e-4) << i;
        if (row.empty()) {
            EXPECT_GT(m_output[69][65], 0.1);  // 4e-5 for 500 nm alone
        }
    }
}

// Blurred by a Gaussian of RMS 3 samples along each axis (3 x 0.853125 um), the clear pupil's
// PSF peaks on the axis at the sum over pairs of lit samples p, q of
// exp(-2 pi^2 9 |p - q|^2 / 128^2), over N^2 for its still peak: Strehl 0.1765.
TEST_F(SpectrumTest, JitterLowersThePeakAsTheGaussianConvolutionSays)
{
    const ImageQuality q = compute({{"jitter_x", "2.559375"}, {"jitter_y", "2.559375"}});
    std::vector<std::pair<int, int>> lit;
    for (int i = 1; i <= GRID; i++)
        for (int j = 1; j <= GRID; j++)
            if (r_input[i][j] > 0) lit.emplace_back(i, j);
    const double a = 2 * std::numbers::pi * std::numbers::pi * 9 / (GRID * GRID);
    double sum = 0;
    for (const auto &[pi, pj] : lit)
        for (const auto &[qi, qj] : lit)
            sum += std::exp(-a * ((pi - qi) * (pi - qi) + (pj - qj) * (pj - qj)));
    const double n = double(lit.size());
    EXPECT_NEAR(*q.strehl, sum / (n * n), 1e-7);  // the RMS held as a float: 3 to 1e-7
}

// A tilt is an optical path: every line of the band moves by the same 0.3 sample (Zern2 =
// 0.3 x 19.5 / 128 waves at 500 nm), and the blur moves with it, so the peak found between the
// samples keeps its height and the widths through it stay.
TEST_F(SpectrumTest, TiltMovesTheBandsPeakBetweenTheSamplesKeepingItsHeightAndWidth)
{
    const Settings band = {{"bandwidth", "20"}, {"nwavelengths", "5"}, {"jitter_x", "0.4"}};
    const ImageQuality straight = compute(band);
    Settings tilted = band;
    tilted.insert(tilted.end(), {{"HasZern2", "1"}, {"Zern2", "0.045703125"}});
    const ImageQuality q = compute(tilted);
    EXPECT_NEAR(*q.strehl, *straight.strehl, 1e-6);
    EXPECT_NEAR(*q.fwhm_x, *straight.fwhm_x, 1e-5);
    EXPECT_NEAR(*q.fwhm_y, *straight.fwhm_y, 1e-5);
}

// The round pupil turned by a quarter: jitter along x gives the PSF that jitter along y gives,
// turned. A wide blur (RMS 10 samples, 8.53125 um) holds half the energy a little beyond the
// Gaussian's own sigma sqrt(2 ln 2) = 11.77 samples: the Airy rings spread the rest.
TEST_F(SpectrumTest, JitterBlursAlongItsOwnAxisWithTheGaussiansWidth)
{
    const ImageQuality along_x = compute({{"jitter_x", "2.559375"}});
    const ImageQuality along_y = compute({{"jitter_y", "2.559375"}});
    EXPECT_NEAR(*along_x.fwhm_x, *along_y.fwhm_y, 1e-6);
    EXPECT_NEAR(*along_x.fwhm_y, *along_y.fwhm_x, 1e-6);
    EXPECT_NEAR(*along_x.ee80_radius, *along_y.ee80_radius, 1e-6);
    EXPECT_GT(*along_x.fwhm_x, 2 * *along_x.fwhm_y);
    const ImageQuality wide = compute({{"jitter_x", "8.53125"}, {"jitter_y", "8.53125"}});
    EXPECT_GT(*wide.ee50_radius / 0.853125, 11.77);
    EXPECT_LT(*wide.ee50_radius / 0.853125, 11.77 * 1.1);
}

TEST_F(SpectrumTest, JitterKeepsTheEnergyOfThePsf)
{
    compute({{"HasComa", "1"}});
    double before = 0, after = 0;
    for (float value : psf()) before += value;
    jitter_x = 1.5f;
    apply_spectrum_and_jitter(m_output);
    for (float value : psf()) after += value;
    EXPECT_NEAR(after / before, 1.0, 1e-6);
}

// Radius 30: Q = 128 / 59 = 2.169 at 500 nm, 2.169 x 450 / 500 = 1.952 at the shorter line of
// a 40 % band in two (450 and 550 nm); the PSF step 5.9 x 56 x 0.5 / 128 = 1.290625 um,
// so 32.265625 um of jitter is 25 samples, whose +-3 RMS outspan the 128 of the grid.
TEST_F(SpectrumTest, ShortestLineAndWideJitterDrawTheirWarnings)
{
    const ImageQuality q = compute({{"pupilradius", "30"},
                                    {"bandwidth", "40"},
                                    {"nwavelengths", "2"},
                                    {"jitter_y", "32.265625"}});
    const std::vector<std::string> warnings = image_quality_warnings(q);
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_TRUE(warnings[0].starts_with("warning: the PSF is undersampled (Q = 1.95, below 2)"));
    EXPECT_TRUE(warnings[1].starts_with("warning: the OTF is aliased (Q = 1.95, below 2)"));
    EXPECT_EQ(warnings[2], "warning: the jitter (RMS 25 samples) spreads the PSF over the whole "
                           "grid: the PSF wraps around the grid");
}

TEST(SpectrumFile, TakesWavelengthWeightRowsOrSaysWhichLineIsWrong)
{
    const std::string too_many = [] {
        std::string text;
        for (int k = 1; k <= 65; k++) text += std::to_string(400 + k) + ",1\n";
        return text;
    }();
    const struct {
        std::string text, problem;
        std::size_t samples;
    } rows[] = {
        {"wavelength_nm,weight\n450,1\n# comment\n\n500, 2.5\r\n", "", 2},
        {"450\n", "line 1: needs wavelength_nm,weight, not '450'", 0},
        {"450,1\n-5,1\n", "line 2: the wavelength must be above 0 nm", 1},
        {"450,-1\n", "line 1: the weight must be at least 0", 0},
        {"450,0\n", "the weights add up to 0", 1},
        {too_many, "line 65: more than 64 wavelengths", 64},
        {"# nothing\n", "no wavelength_nm,weight rows", 0},
    };
    for (const auto &row : rows) {
        std::vector<SpectrumSample> samples;
        EXPECT_EQ(parse_spectrum(row.text, samples), row.problem) << row.text.substr(0, 30);
        EXPECT_EQ(samples.size(), row.samples) << row.text.substr(0, 30);
    }
}

}  // namespace
