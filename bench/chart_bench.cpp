// A whole XY chart: a PSF slice of 128 points with grid, axis numbers and titles, drawn into
// an image the size of a large plot window.
#include <benchmark/benchmark.h>

#include <cmath>

#include "charts/xy_graph.h"
#include "platform/dc.h"

namespace {

// An Airy-like slice: a central peak of 100 with rings, against position in microns.
struct Slice {
    double x[128], y[128];
    std::int32_t sym[128];
    Slice()
    {
        for (int i = 0; i < 128; ++i) {
            x[i] = (i - 64) * 0.25;
            const double r = 0.9 * x[i];
            const double a = r == 0 ? 1 : 2 * std::sin(r) / r * 0.5 * (1 + std::cos(r / 4)) / 2;
            y[i] = 100 * a * a;
            sym[i] = 1;
        }
    }
};

void BM_XYGraphSlice(benchmark::State &state)
{
    HDC dc = CreateImageDC(1600, 1000);
    static Slice slice;
    const RECT window{0, 0, 1600, 1000};
    zGraphStruct g{};
    g.hDC = dc;
    g.pWindowRect = &window;
    g.pXData = slice.x;
    g.pYData = slice.y;
    g.pSymbols = slice.sym;
    g.NumPoints = 128;
    g.AxisColor = RGB_color(0);
    g.BkgColor = RGB_color(15);
    g.Title = "PSF, X-Slice (Linear Scale)";
    g.XAxisTitle = "Microns";
    g.YAxisTitle = "Intensity";
    g.LegendStyle = 2;
    g.bDrawLines = 1;
    g.bShowGrid = 1;
    g.DigitFormat = 2;
    g.DigitPrecision = 3;
    g.PenStyle = 2;
    g.XMin = -16;
    g.XMax = 15.75;
    g.YMin = 0;
    g.YMax = 100.001;
    for (auto _ : state) XYGraph(&g);
    DeleteDC(dc);
}
BENCHMARK(BM_XYGraphSlice)->Unit(benchmark::kMillisecond);

}  // namespace
