// Zernike terms in the three orderings and two normalisations, against their definitions.
#include <numbers>

#include "optics/zernike.h"
#include "tests/optics/optics_test.h"

namespace {

using enum ZernikeOrdering;

// The published index tables: Noll 1-22 (even index the cosine), ANSI 0-14 (m from -n to n),
// and Fringe terms as the pupil dialog lists them.
TEST(ZernikeIndex, EachOrderingNumbersTheTermsAsPublished)
{
    const struct {
        ZernikeOrdering ordering;
        int index, n, m;
    } rows[] = {
        {Noll, 1, 0, 0},    {Noll, 2, 1, 1},     {Noll, 3, 1, -1},    {Noll, 4, 2, 0},
        {Noll, 5, 2, -2},   {Noll, 6, 2, 2},     {Noll, 7, 3, -1},    {Noll, 8, 3, 1},
        {Noll, 9, 3, -3},   {Noll, 10, 3, 3},    {Noll, 11, 4, 0},    {Noll, 12, 4, 2},
        {Noll, 13, 4, -2},  {Noll, 14, 4, 4},    {Noll, 15, 4, -4},   {Noll, 16, 5, 1},
        {Noll, 17, 5, -1},  {Noll, 18, 5, 3},    {Noll, 19, 5, -3},   {Noll, 20, 5, 5},
        {Noll, 21, 5, -5},  {Noll, 22, 6, 0},    {Ansi, 0, 0, 0},     {Ansi, 1, 1, -1},
        {Ansi, 2, 1, 1},    {Ansi, 3, 2, -2},    {Ansi, 4, 2, 0},     {Ansi, 5, 2, 2},
        {Ansi, 6, 3, -3},   {Ansi, 7, 3, -1},    {Ansi, 8, 3, 1},     {Ansi, 9, 3, 3},
        {Ansi, 10, 4, -4},  {Ansi, 11, 4, -2},   {Ansi, 12, 4, 0},    {Ansi, 13, 4, 2},
        {Ansi, 14, 4, 4},   {Fringe, 4, 2, 0},   {Fringe, 9, 4, 0},   {Fringe, 13, 4, -2},
        {Fringe, 26, 5, 5}, {Fringe, 31, 7, -3}, {Fringe, 37, 12, 0},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::to_string(int(row.ordering)) + " " + std::to_string(row.index));
        EXPECT_EQ(zernike_mode(row.ordering, row.index), (ZernikeMode{row.n, row.m}));
        EXPECT_EQ(zernike_index(row.ordering, {row.n, row.m}), row.index);
    }
    EXPECT_EQ(zernike_mode(Fringe, 38), std::nullopt);
    EXPECT_EQ(zernike_mode(Noll, 232), std::nullopt);  // radial order 21
    EXPECT_EQ(zernike_index(Fringe, {6, 6}), std::nullopt);
}

// The Fringe polynomials as written out term by term, at rho 0.7, theta 0.3.
TEST(ZernikeValue, RadialPartsAreTheWrittenOutPolynomials)
{
    const double r = 0.7, t = 0.3;
    const struct {
        ZernikeMode mode;
        double expected;
    } rows[] = {
        {{0, 0}, 1.0},
        {{4, 2}, (4 * std::pow(r, 4) - 3 * r * r) * std::cos(2 * t)},
        {{5, -3}, (5 * std::pow(r, 5) - 4 * std::pow(r, 3)) * std::sin(3 * t)},
        {{12, 0},
         924 * std::pow(r, 12) - 2772 * std::pow(r, 10) + 3150 * std::pow(r, 8) -
             1680 * std::pow(r, 6) + 420 * std::pow(r, 4) - 42 * r * r + 1},
    };
    for (const auto &row : rows)
        EXPECT_NEAR(zernike_value(row.mode, r, t), row.expected, 1e-13) << row.mode.n;
}

// sqrt(2 (n + 1)) for m != 0 and sqrt(n + 1) for m = 0 make the RMS over the unit disc 1:
// checked by the midpoint rule on 400 rings of 400 angles.
TEST(ZernikeValue, RmsNormalisedTermsHaveUnitRmsOverTheDisc)
{
    for (const ZernikeMode mode : {ZernikeMode{3, 1}, ZernikeMode{6, 0}, ZernikeMode{8, -4}}) {
        double sum = 0, area = 0;
        for (int a = 0; a < 400; a++) {
            const double rho = (a + 0.5) / 400;
            for (int b = 0; b < 400; b++) {
                const double value = zernike_rms_factor(mode) *
                                     zernike_value(mode, rho, 2 * std::numbers::pi * b / 400);
                sum += value * value * rho;
                area += rho;
            }
        }
        EXPECT_NEAR(sum / area, 1.0, 1e-3) << mode.n << "," << mode.m;
    }
}

TEST(ZernikeSets, ConvertingToAnotherConventionAndBackIsTheIdentity)
{
    ZernikeSet noll{Noll, ZernikeNormalisation::Rms, {}};
    for (int j = 1; j <= 66; j++) noll.terms.emplace_back(j, 0.01 * j - 0.3);
    const ZernikeSet ansi = convert_zernikes(noll, Ansi, ZernikeNormalisation::Peak);
    const ZernikeSet back = convert_zernikes(ansi, Noll, ZernikeNormalisation::Rms);
    ASSERT_EQ(back.terms.size(), noll.terms.size());
    for (std::size_t k = 0; k < noll.terms.size(); k++) {
        EXPECT_EQ(back.terms[k].first, noll.terms[k].first);
        EXPECT_NEAR(back.terms[k].second, noll.terms[k].second, 1e-15);
    }
    // Noll 4 is sqrt(3) (2 rho^2 - 1): 0.1 of it is 0.1 sqrt(3) of Fringe 4.
    const ZernikeSet fringe = convert_zernikes({Noll, ZernikeNormalisation::Rms, {{4, 0.1}}},
                                               Fringe, ZernikeNormalisation::Peak);
    EXPECT_NEAR(fringe.terms.at(0).second, 0.1 * std::sqrt(3.0), 1e-15);
}

class ZernikeFitTest : public OpticsTest {};

// A pupil of radius 32 built from Noll terms, two of them beyond the Fringe set (35 is (7, -7),
// 60 is (10, 4)), fitted in each ordering and normalisation, gives the terms back.
TEST_F(ZernikeFitTest, FitOfAPupilBuiltFromTermsReturnsThemInEveryConvention)
{
    clear_phase();
    set_both(pupilradius, 32, ncenter, 31.5f);
    const ZernikeSet built{
        Noll, ZernikeNormalisation::Rms, {{4, 0.1}, {11, -0.05}, {35, 0.04}, {60, -0.02}}};
    apply_zernike_set(built);
    pillbox_input();
    for (const ZernikeOrdering ordering : {Noll, Ansi}) {
        for (const auto normalisation : {ZernikeNormalisation::Rms, ZernikeNormalisation::Peak}) {
            std::string problem;
            const ZernikeFit fit = fit_zernikes(ordering, normalisation, 66, problem);
            ASSERT_EQ(problem, "");
            const ZernikeSet expected = convert_zernikes(built, ordering, normalisation);
            for (const auto &[index, value] : expected.terms) {
                const int at = index - first_zernike_index(ordering);
                EXPECT_NEAR(fit.set.terms.at(at).second, value, 1e-4) << index;
            }
            EXPECT_LT(fit.residual_rms, 1e-6);
        }
    }
}

TEST(ZernikeFile, RefusesWhatIsNotACoefficientFileNamingTheLine)
{
    const std::string head = "# ordering=noll normalisation=rms unit=nm\n";
    const struct {
        std::string text, problem;
    } rows[] = {
        {head + "4,50\n11,-25\n", ""},  // 0.1 and -0.05 wave at 500 nm
        {"4,0.1\n", "line 1: needs # ordering=... normalisation=... unit=..."},
        {"#ordering=noll unit=nm normalisation=rms\n4,50\n11,-25\n", ""},  // any order
        {"# ordering=zigzag normalisation=rms unit=nm\n",
         "line 1: ordering must be fringe, noll or "
         "ansi, not 'zigzag'"},
        {"# ordering=noll normalisation=rms unit=mm\n",
         "line 1: unit must be waves, nm or um, not 'mm'"},
        {head + "0,1\n", "line 2: the noll ordering has no index 0"},
        {head + "4,1\n4,2\n", "line 3: index 4 is given twice"},
        {head + "4;1\n", "line 2: needs index,value, not '4;1'"},
    };
    for (const auto &row : rows) {
        ZernikeSet set;
        EXPECT_EQ(parse_zernike_file(row.text, 500, set), row.problem) << row.text;
        if (row.problem.empty()) {
            EXPECT_EQ(set.terms, (std::vector<std::pair<int, double>>{{4, 0.1}, {11, -0.05}}));
        }
    }
}

}  // namespace
