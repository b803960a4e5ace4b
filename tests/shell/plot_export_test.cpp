// The batch job's pictures: refused options, a failed write in the middle of several, and
// what an SVG picture holds.
#include <algorithm>

#include "tests/shell/program_harness.h"

namespace {

class PlotExport : public TempFolderTest {
protected:
    Invocation run(const std::string &args) { return run_orvinta(dir, "--batch " + args); }
    bool exists(const std::string &name) const { return fs::exists(dir + "/" + name); }
};

TEST_F(PlotExport, RefusedOptionsExitWithTwoNamingTheCulprit)
{
    struct Row { std::string args, named; } rows[] = {
        {"--plot psf-4d A.svg", "psf-4d"},
        {"--size 15x600 --plot psf-3d A.svg", "15x600"},
        {"--size 800x8193 --plot psf-3d A.svg", "800x8193"},
        {"--size 800x --plot psf-3d A.svg", "800x"},
        {"--size 800X600 --plot psf-3d A.svg", "800X600"},
        {"--plot psf-3d A.jpg", "A.jpg"},
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
