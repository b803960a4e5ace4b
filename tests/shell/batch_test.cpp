// The batch job: its report of figures, refused arguments, and the files it writes.
#include <cmath>

#include "tests/shell/program_harness.h"

namespace {

using BatchJob = TempFolderTest;

TEST_F(BatchJob, StartUpAndDerivedSettingsPrintTheWorkedFigures)
{
    const struct { const char *args; double rms, xcent, step, extent; const char *peak; bool centroid; } rows[] = {
        {"", 0.160, 2.51, 10.0 / 39, 109.2, "67 65", false},
        // Case-insensitive names; ncenter from the radius; milliradians: (79 / 10) * 0.5.
        {"hascoma=0 HASZERN26=0 nDoCentroidError=1 NumPixels=4 pupilradius=40 nCurrentPSFUnits=171", 0.0, NAN,
         10.0 / 79, 7.9 * 0.5, "65 65", true},
    };
    for (const auto &row : rows) {
        const Invocation r = run_orvinta(dir, std::string("--batch ") + row.args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto v = lines_of(r.out);
        EXPECT_NEAR(number(v, "wavesrms"), row.rms, row.rms ? 0.0005 : 1e-6) << row.args;
        if (!std::isnan(row.xcent)) {
            EXPECT_NEAR(number(v, "xpsfcent"), row.xcent, 0.005);
            EXPECT_NEAR(number(v, "ypsfcent"), 0.0, 0.001);
        }
        EXPECT_EQ(v.at("peak"), row.peak) << row.args;
        EXPECT_NEAR(number(v, "XPupilStep"), row.step, 1e-7) << row.args;
        EXPECT_NEAR(number(v, "psf_graph_extent"), row.extent, 1e-5) << row.args;
        EXPECT_EQ(v.count("rmsx") + v.count("rmsy"), row.centroid ? 2u : 0u) << row.args;
    }
}

TEST_F(BatchJob, RefusedArgumentsExitWithStatus2AndWriteNothing)
{
    const std::string out = dir + "/refused.txt";
    const struct { const char *args, *message; } rows[] = {
        {"nosuch=1 --out " , "unknown setting 'nosuch'"},
        {"fnumber=abc --out ", "orvinta: F-number (fnumber) must be a number."},
        {"PhasePatternPeriod=0 --out ", "orvinta: Pattern period (steps) (PhasePatternPeriod) must be at least 1, not 0."},
        {"fnumber --out ", "'fnumber' is not NAME=VALUE"},
        {"--out", "--out needs a file name"},
    };
    for (const auto &row : rows) {
        const std::string args = row.args;
        const Invocation r = run_orvinta(dir, "--batch " + args + (args == "--out" ? "" : out));
        EXPECT_EQ(r.status, 2) << row.args;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.args << ": " << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        EXPECT_FALSE(fs::exists(out)) << row.args;
    }
}

TEST_F(BatchJob, WritesTheChosenArrayAndReportsWriteFailures)
{
    const std::string out = dir + "/out.txt";
    const Invocation ok = run_orvinta(dir, "--batch nCurrentDataSave=540 --out " + out);
    ASSERT_EQ(ok.status, 0) << ok.err;
    const std::string text = slurp(out);
    ASSERT_EQ(text.size(), 196736u);
    // Row 45 of the start-up transmission: ones at columns 64 and 65.
    const std::string row45 = text.substr(44 * 1537, 1537);
    EXPECT_EQ(row45.substr(62 * 12, 36), "    0.000000    1.000000    1.000000");
    const Invocation bad = run_orvinta(dir, "--batch --out " + dir + "/none/psf.txt");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find(dir + "/none/psf.txt: No such file or directory"), std::string::npos) << bad.err;
}

TEST_F(BatchJob, ImageQualityFiguresWarningsAndTheFitsFile)
{
    const struct {
        const char *args;
        double q;   // 127 / (2 (radius - 0.5)) PSF samples per lambda F
        bool dark;  // no light: every figure of the PSF is undefined
        const char *warning;
    } rows[] = {
        {"", 127.0 / 39, false, ""},
        {"pupilradius=40 nCurrentObscuration=1 LinearObscuration=2", 127.0 / 79, true,
         "warning: the PSF is undersampled (Q = 1.61, below 2): FWHM and encircled energy are not reliable\n"},
    };
    for (const auto &row : rows) {
        const Invocation r = run_orvinta(dir, std::string("--batch ") + row.args);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto v = lines_of(r.out);
        EXPECT_NEAR(number(v, "sampling_q"), row.q, 1e-8) << row.args;
        for (const char *name : {"strehl", "fwhm_x", "fwhm_y", "ee50_radius", "ee80_radius"}) {
            ASSERT_EQ(v.count(name), 1u) << name;
            if (row.dark) EXPECT_EQ(v.at(name), "n/a") << name;
            else EXPECT_GT(number(v, name), 0) << name;
        }
        if (row.dark) EXPECT_EQ(v.at("max_phase_step"), "0");
        EXPECT_EQ(r.err, row.warning) << row.args;
    }
    // The ending .fits chooses the FITS layout: 2880-byte blocks that open with SIMPLE = T.
    ASSERT_EQ(run_orvinta(dir, "--batch --out psf.fits").status, 0);
    EXPECT_EQ(slurp(dir + "/psf.fits").substr(0, 30), "SIMPLE  =                    T");
    EXPECT_EQ(fs::file_size(dir + "/psf.fits") % 2880, 0u);
}

}  // namespace
