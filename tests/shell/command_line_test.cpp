// The program from its command line: --eval, the window program with and without a window
// system, and the batch job: its report of figures, refused arguments, files and pictures.
#include <algorithm>
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
        {"fnumber --out ", "'fnumber' is not NAME=VALUE"}, {"--out", "--out needs a file name"},
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
            EXPECT_TRUE(row.dark ? v.at(name) == "n/a" : number(v, name) > 0) << name << ": " << v.at(name);
        }
        EXPECT_TRUE(!row.dark || v.at("max_phase_step") == "0") << v.at("max_phase_step");
        EXPECT_EQ(r.err, row.warning) << row.args;
    }
    // The ending .fits chooses the FITS layout: 2880-byte blocks that open with SIMPLE = T.
    ASSERT_EQ(run_orvinta(dir, "--batch --out psf.fits").status, 0);
    EXPECT_EQ(slurp(dir + "/psf.fits").substr(0, 30), "SIMPLE  =                    T");
    EXPECT_EQ(fs::file_size(dir + "/psf.fits") % 2880, 0u);
}

TEST(EvalCommand, PrintsTheValueOrASyntaxErrorOrAUsageError)
{
    struct Row { std::vector<std::string> args; int status; const char *out, *err_start; };  // args: after --eval
    const Row rows[] = {
        {{"x*y", "2", "3"}, 0, "6\n", ""}, {{"x/y", "1", "4"}, 0, "0.25\n", ""},
        {{"0.1", "0", "0"}, 0, "0.10000000000000001\n", ""},  // 17 digits of the double nearest 0.1
        {{"-x", "-1.5e2", "0"}, 0, "150\n", ""}, {{"1/0", "0", "0"}, 0, "inf\n", ""},
        {{"sqrt(-1)", "0", "0"}, 0, "nan\n", ""}, {{"SIN X", "1", "1"}, 1, "", "Syntax Error in F(X,Y)...\n"},
        {{"", "1", "1"}, 1, "", "Syntax Error in F(X,Y)...\n"}, {{"1"}, 2, "", "orvinta: --eval takes 3 arguments"},
        {{}, 2, "", "orvinta: --eval takes 3 arguments"},
        {{"1", "2", "3", "4"}, 2, "", "orvinta: --eval takes 3 arguments"},
        {{"1", "a", "2"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
        {{"1", "2", "3x"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
        {{"1", "", "2"}, 2, "", "orvinta: --eval: X and Y must be numbers"},
    };
    for (const Row &row : rows) {
        std::vector<std::string> storage = row.args;
        std::vector<char *> argv;
        for (std::string &a : storage) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::string name;
        for (const std::string &a : row.args) name += " [" + a + "]";
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = eval_main(static_cast<int>(row.args.size()), argv.data());
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, row.status) << "args=" << name;
        EXPECT_EQ(out, row.out) << "args=" << name;
        EXPECT_EQ(err.rfind(row.err_start, 0), 0u) << "args=" << name << " stderr=" << err;
        EXPECT_TRUE(row.status != 2 || err.find('\n') == err.size() - 1) << "one line; args=" << name;
        // The argument itself is left as given.
        EXPECT_EQ(storage, row.args) << "args=" << name;
    }
}

using WindowProgram = TempFolderTest;

TEST_F(WindowProgram, StartsAndQuitsByItsEntryPointsExitStatus)
{
    const char *const headless = "env QT_QPA_PLATFORM=offscreen ORVINTA_QUIT_WHEN_IDLE=1";
    const char *const noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
    const struct { const char *name, *environment, *args; int status; } rows[] = {
        {"headless window run that quits when idle", headless, "", 0},
        {"same with an unreadable data file", headless, "/nonexistent/psf.txt", 0},
        {"offscreen counts as a window system", "env QT_QPA_PLATFORM=offscreen", "--has-window-system", 0},
        {"no display at all", noDisplay, "--has-window-system", 1},
        {"no display: the window cannot start", noDisplay, "", 1},
    };
    for (const auto &row : rows) EXPECT_EQ(run_orvinta(dir, row.args, row.environment).status, row.status) << row.name;
}

class PlotExport : public TempFolderTest {
protected:
    Invocation run(const std::string &args) { return run_orvinta(dir, "--batch " + args); }
    bool exists(const std::string &name) const { return fs::exists(dir + "/" + name); }
};

TEST_F(PlotExport, RefusedOptionsExitWithTwoNamingTheCulprit)
{
    struct Row { std::string args, named; } rows[] = {
        {"--plot psf-4d A.svg", "psf-4d"}, {"--size 15x600 --plot psf-3d A.svg", "15x600"},
        {"--size 800x8193 --plot psf-3d A.svg", "800x8193"}, {"--size 800x --plot psf-3d A.svg", "800x"},
        {"--size 800X600 --plot psf-3d A.svg", "800X600"}, {"--plot psf-3d A.jpg", "A.jpg"},
        {"--plot psf-3d A.SVG", "A.SVG"},
    };
    for (const Row &row : rows) {
        const Invocation r = run(row.args);
        EXPECT_EQ(r.status, 2) << row.args;
        EXPECT_NE(r.err.find(row.named), std::string::npos) << row.args << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << row.args << ": " << r.err;
        EXPECT_FALSE(exists("A.svg")) << row.args;
    }
}

TEST_F(PlotExport, AFailedWriteKeepsTheEarlierPicturesAndStops)
{
    const Invocation r = run("--plot psf-x-slice " + dir + "/a.png --plot psf-y-slice " + dir +
                             "/missing/b.svg --plot phase-3d " + dir + "/c.svg");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(dir + "/missing/b.svg"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
    EXPECT_TRUE(exists("a.png"));
    EXPECT_FALSE(exists("c.svg"));
}

TEST_F(PlotExport, SvgKeepsTheTitleAsOneTextElementInDevicePixels)
{
    const Invocation r = run("--size 640x480 --plot psf-x-slice " + dir + "/x.svg");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string svg = slurp(dir + "/x.svg");
    EXPECT_NE(svg.find("viewBox=\"0 0 640 480\""), std::string::npos);
    const std::string title = ">X-Slice (Y=0) of Point Spread Function</text>";
    const std::size_t at = svg.find(title);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(svg.find(title, at + 1), std::string::npos) << "the title is written once";
    EXPECT_NE(svg.find("<polyline"), std::string::npos) << "the curve is a vector element";
}

TEST_F(PlotExport, AChartsOwnMessageGoesToStandardErrorAndThePictureIsStillWritten)
{
    // A dark pupil gives an all-zero PSF; 400 decades clip it at a float 0, whose logarithm
    // is not a number the contour map can trace.
    const Invocation r = run("nCurrentObscuration=1 LinearObscuration=2 PSFPlotType=177 nPSFdecades=400 "
                             "--plot psf-contour " + dir + "/c.png");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("orvinta: psf-contour: Contour Data Must Be Finite!\n"), std::string::npos) << r.err;
    EXPECT_TRUE(exists("c.png"));
}

}  // namespace
