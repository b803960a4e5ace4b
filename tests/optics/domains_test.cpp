#include <vector>

#include "optics/domains.h"
#include "tests/optics/optics_test.h"

namespace {

using Domains = OpticsTest;

TEST_F(Domains, StartUpStepsAndExtentsInEachUnit)
{
    // 10 mm over 39 samples; 1 / step = 3.9 cycles/mm. Microns: 3.9 * 56 * 0.5 = 109.2.
    // Milliradians: 3.9 * 0.5 = 1.95. Arc seconds: 1.95e-3 rad * 3600 * 180 / 3.14159.
    const double arcsec = 1.95e-3 * 3600 * 180 / 3.14159;
    const struct { int units; double extent, tolerance; } rows[] = {
        {PSF_MICRONS, 109.2, 1e-4}, {PSF_MILLIRADIANS, 1.95, 1e-6}, {PSF_ARCSECONDS, arcsec, 1e-3}};
    for (const auto &row : rows) {
        nCurrentPSFUnits = row.units;
        set_domains();
        EXPECT_NEAR(XPupilStep, 10.0 / 39, 1e-7) << row.units;
        EXPECT_EQ(YPupilStep, XPupilStep);
        EXPECT_NEAR(pupil_graph_extent, 127 * 10.0 / 39, 1e-5) << row.units;
        EXPECT_NEAR(psf_graph_extent, row.extent, row.tolerance) << row.units;
        EXPECT_NEAR(XPSFStep, row.extent / 127, row.tolerance / 100) << row.units;
        EXPECT_EQ(YPSFStep, XPSFStep);
    }
}

TEST_F(Domains, ZoomWindow)
{
    const struct { int izoom, start, stop; } rows[] = {{1, 1, 128}, {2, 33, 96}, {7, 33, 96} /* unchanged */};
    for (const auto &row : rows) {
        izoom = row.izoom;
        SetZoom();
        EXPECT_EQ(std::vector({istart, jstart, istop, jstop}), std::vector({row.start, row.start, row.stop, row.stop}))
            << row.izoom;
    }
}

}  // namespace
