// The MTF of sampled round pupils against the theory of the circular aperture.
#include <numbers>

#include "optics/image_quality.h"
#include "optics/psf_pipeline.h"
#include "optics/settings_rules.h"
#include "optics/transfer_function.h"
#include "tests/optics/optics_test.h"

namespace {

// A round pupil 2 x 32 samples wide, without phase error: its cut-off lies 63 steps out
// (2 ncenter, ncenter = 31.5), just inside the grid's 64.
class TransferFunctionTest : public OpticsTest {
protected:
    static void compute(const std::vector<std::pair<std::string, std::string>> &settings)
    {
        clear_phase();
        apply_setting("pupilradius", "32");
        for (const auto &[name, value] : settings) apply_setting(name, value);
        compute_psf();
    }
    static constexpr int CUTOFF = 63;
};

// The diffraction-limited MTF of a circular aperture at nu = frequency / cut-off.
double circle_mtf(double nu)
{
    return 2 / std::numbers::pi * (std::acos(nu) - nu * std::sqrt(1 - nu * nu));
}

// The sampled aperture is a near circle: within 0.005 of the analytic curve from zero frequency
// to the cut-off, for the MTF of a clear pupil and the reference curve of an aberrated one.
TEST_F(TransferFunctionTest, RoundPupilWithoutPhaseErrorFollowsTheCircleCurve)
{
    compute({});
    const std::vector<double> clear = mtf_curve(m_output, true);
    compute({{"HasSpherical", "1"}, {"spherical", "0.7"}});
    const std::vector<double> limit = diffraction_limited_mtf_curve(false);
    for (int f = 0; f <= CUTOFF; f++) {
        EXPECT_NEAR(clear[f], circle_mtf(f / double(CUTOFF)), 0.005) << f;
        EXPECT_NEAR(limit[f], circle_mtf(f / double(CUTOFF)), 0.005) << f;
    }
}

// With defocus w (waves at the rim) the OTF of the circle is (4 / pi) times the integral over
// x from 0 to 1 - nu of cos(8 pi w nu x) sqrt(1 - (x + nu)^2); worked by Simpson's rule on
// 20000 intervals, it first changes sign at nu = 0.299989 for w = 0.75 and 0.193054 for w = 1.
// Between zero frequency and the cut-off the MTF lies below the diffraction limit.
TEST_F(TransferFunctionTest, DefocusLowersTheMtfAndZerosTheOtfWhereTheoryDoes)
{
    const struct {
        const char *defocus;
        double zero;
    } rows[] = {{"0.75", 0.299989}, {"1", 0.193054}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.defocus);
        compute({{"HasDefocus", "1"}, {"defocus", row.defocus}});
        const std::vector<std::complex<double>> otf = otf_map(m_output);
        const auto along_x = [&](int f) { return otf[(64 + f) * GRID + 64].real(); };
        int f = 1;
        while (f < CUTOFF && along_x(f) > 0) f++;
        const double zero = f - along_x(f) / (along_x(f) - along_x(f - 1));
        EXPECT_NEAR(zero / CUTOFF, row.zero, 0.005);
        const std::vector<double> mtf = mtf_curve(m_output, true);
        const std::vector<double> limit = diffraction_limited_mtf_curve(true);
        for (int k = 1; k < CUTOFF; k++) EXPECT_LT(mtf[k], limit[k]) << k;
    }
}

TEST_F(TransferFunctionTest, RotationallySymmetricPupilHasEqualMtfAlongXAndY)
{
    compute({{"HasDefocus", "1"}, {"defocus", "0.6"}, {"HasSpherical", "1"}, {"spherical", "1"}});
    const std::vector<double> x = mtf_curve(m_output, true), y = mtf_curve(m_output, false);
    for (int f = 0; f <= MTF_LAST_STEP; f++) EXPECT_NEAR(x[f], y[f], 1e-6) << f;
}

// The projection-slice theorem: the map's row and column through zero frequency are the curves
// along x and along y; coma along x makes the two differ, so a map turned on its side fails.
TEST_F(TransferFunctionTest, MapThroughZeroFrequencyHoldsTheCurves)
{
    compute({{"HasComa", "1"}, {"coma", "0.4"}});
    const std::vector<std::complex<double>> otf = otf_map(m_output);
    const std::vector<double> x = mtf_curve(m_output, true), y = mtf_curve(m_output, false);
    for (int f = -64; f < 64; f++) {
        EXPECT_NEAR(std::abs(otf[(64 + f) * GRID + 64]), x[std::abs(f)], 1e-12) << f;
        EXPECT_NEAR(std::abs(otf[64 * GRID + 64 + f]), y[std::abs(f)], 1e-12) << f;
    }
}

// The curves the figures read come from the pupil's autocorrelation in double; they are the
// transform of the float samples to float rounding, also where a pupil 80 samples wide folds
// its lags beyond 64 back onto the grid.
TEST_F(TransferFunctionTest, ExactCurvesAreTheTransformOfTheSamples)
{
    for (const char *radius : {"20", "40"}) {
        compute({{"pupilradius", radius}, {"HasComa", "1"}, {"coma", "0.4"}});
        for (const bool along_x : {true, false}) {
            const std::vector<double> exact = psf_mtf_curve(along_x);
            const std::vector<double> sampled = mtf_curve(m_output, along_x);
            for (int f = 0; f <= MTF_LAST_STEP; f++)
                EXPECT_NEAR(exact[f], sampled[f], 2e-6) << radius << " " << along_x << " " << f;
        }
    }
}

// The clear circle falls to one half at nu = 0.40397, 63 x 0.40397 = 25.45 steps; the figure
// interpolates the same curve that gives the MTF at any frequency asked for.
TEST_F(TransferFunctionTest, Mtf50IsTheFrequencyWhereTheMtfAtReadsOneHalf)
{
    compute({});
    const ImageQuality first = image_quality();
    EXPECT_NEAR(*first.mtf50_x / frequency_step(), 0.40397 * CUTOFF, 0.1);
    set_mtf_report_frequencies({*first.mtf50_x, *first.mtf50_y, 0});
    const ImageQuality q = image_quality();
    set_mtf_report_frequencies({});
    EXPECT_NEAR(*q.mtf_x_at[0], 0.5, 1e-12);
    EXPECT_NEAR(*q.mtf_y_at[1], 0.5, 1e-12);
    EXPECT_EQ(q.mtf_x_at[2], 1.0);
}

// Linear between samples; a crossing beyond `last` or a frequency beyond the curve has none.
TEST(MtfCurve, ReadsAndCrossesLinearlyBetweenItsSamples)
{
    const std::vector<double> curve = {1.0, 0.75, 0.25, 0.0};
    EXPECT_EQ(curve_value(curve, 1.5), 0.5);
    EXPECT_EQ(curve_value(curve, 3.0), 0.0);
    EXPECT_EQ(curve_value(curve, 3.5), std::nullopt);
    EXPECT_EQ(curve_crossing(curve, 0.5, 3), 1.5);
    EXPECT_EQ(curve_crossing(curve, 0.5, 1.4), std::nullopt);
    EXPECT_EQ(curve_crossing(curve, -0.1, 3), std::nullopt);
}

}  // namespace
