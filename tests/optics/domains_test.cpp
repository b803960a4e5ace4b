#include <gtest/gtest.h>

#include "optics/domains.h"
#include "optics/settings.h"

namespace {

class Domains : public testing::Test {
protected:
    void SetUp() override { optics_startup(); }
    void TearDown() override { optics_shutdown(); }
};

TEST_F(Domains, StartUpStepsAndExtentsInEachUnit)
{
    struct Row { int units; double extent, step, extent_tol, step_tol; };
    // 10 mm over 39 samples; 1 / step = 3.9 cycles/mm. Microns: 3.9 * 56 * 0.5 = 109.2.
    // Milliradians: 3.9 * 0.5 = 1.95. Arc seconds: 1.95e-3 rad * 3600 * 180 / 3.14159.
    const Row rows[] = {
        {PSF_MICRONS, 109.2, 109.2 / 127, 1e-4, 1e-6},
        {PSF_MILLIRADIANS, 1.95, 1.95 / 127, 1e-6, 1e-8},
        {PSF_ARCSECONDS, 1.95e-3 * 3600 * 180 / 3.14159, 1.95e-3 * 3600 * 180 / 3.14159 / 127, 1e-3, 1e-5},
    };
    for (const Row &row : rows) {
        nCurrentPSFUnits = row.units;
        set_domains();
        EXPECT_NEAR(XPupilStep, 10.0 / 39, 1e-7) << row.units;
        EXPECT_EQ(YPupilStep, XPupilStep);
        EXPECT_NEAR(pupil_graph_extent, 127 * 10.0 / 39, 1e-5) << row.units;
        EXPECT_NEAR(psf_graph_extent, row.extent, row.extent_tol) << row.units;
        EXPECT_NEAR(XPSFStep, row.step, row.step_tol) << row.units;
        EXPECT_EQ(YPSFStep, XPSFStep);
    }
}

TEST_F(Domains, ZoomWindow)
{
    struct Row { int izoom, start, stop; };
    const Row rows[] = {{1, 1, 128}, {2, 33, 96}, {7, 33, 96} /* unchanged from the row before */};
    for (const Row &row : rows) {
        izoom = row.izoom;
        SetZoom();
        EXPECT_EQ(istart, row.start) << row.izoom;
        EXPECT_EQ(jstart, row.start) << row.izoom;
        EXPECT_EQ(istop, row.stop) << row.izoom;
        EXPECT_EQ(jstop, row.stop) << row.izoom;
    }
}

}  // namespace
