// 3-D surfaces drawn into an image the size of a large plot window: the start-up PSF on the
// whole grid (128 x 128 points) and on its central quarter (64 x 64), and a formula on the
// finest grid (201 x 101 points, each one a fresh parse of the text).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "charts/surface.h"
#include "optics/farfield.h"
#include "optics/settings.h"
#include "platform/dc.h"

namespace {

// The PSF of the start-up settings, laid out as the surface views do: one run of rows per
// column j, the symbol code changing with the column.
struct PsfGrid {
    std::vector<double> z;
    std::vector<std::int32_t> sym;
    double zmin = 0, zmax = 0;
    PsfGrid(int first, int last)
    {
        static const bool computed = [] {
            optics_startup();
            do_FFT();
            return true;
        }();
        (void)computed;
        for (int j = first; j <= last; ++j)
            for (int i = first; i <= last; ++i) {
                z.push_back(m_output[i][j]);
                sym.push_back(j + 65);
            }
        zmin = *std::min_element(z.begin(), z.end());
        zmax = *std::max_element(z.begin(), z.end()) + 0.001;
    }
};

zGraphStruct surface_record(HDC dc, const RECT &window)
{
    zGraphStruct g{};
    g.hDC = dc;
    g.pWindowRect = &window;
    g.AxisColor = RGB_color(0);
    g.BkgColor = RGB_color(15);
    g.Title = "Centroids: x = 0     y = 0";
    g.LegendStyle = 2;
    g.ItemStyle = 2;
    g.bDrawLines = 1;
    g.bShowGrid = 1;
    g.DigitFormat = 2;
    g.PenStyle = 2;
    g.Formula = "";
    return g;
}

void draw_psf(benchmark::State &state, int first, int last)
{
    static const RECT window{0, 0, 1600, 1000};
    HDC dc = CreateImageDC(1600, 1000);
    const PsfGrid psf(first, last);
    zGraphStruct g = surface_record(dc, window);
    g.pXData = g.pYData = nullptr;
    g.pZData = const_cast<double *>(psf.z.data());
    g.pSymbols = const_cast<std::int32_t *>(psf.sym.data());
    g.NumPoints = static_cast<std::int32_t>(psf.z.size());
    g.XMin = g.YMin = first - 65;
    g.XMax = g.YMax = last - 65;
    g.ZMin = psf.zmin;
    g.ZMax = psf.zmax;
    for (auto _ : state) XYZGraph(&g);
    DeleteDC(dc);
}

void BM_XYZGraphWholePsf(benchmark::State &state) { draw_psf(state, 1, 128); }
BENCHMARK(BM_XYZGraphWholePsf)->Unit(benchmark::kMillisecond);

void BM_XYZGraphZoomedPsf(benchmark::State &state) { draw_psf(state, 33, 96); }
BENCHMARK(BM_XYZGraphZoomedPsf)->Unit(benchmark::kMillisecond);

void BM_XYZGraphFormulaFinestGrid(benchmark::State &state)
{
    static const RECT window{0, 0, 1600, 1000};
    HDC dc = CreateImageDC(1600, 1000);
    zGraphStruct g = surface_record(dc, window);
    g.Formula = "SIN(X)*COS(Y)";
    g.NumContours = zSurfaceFineGrid | zSurfaceColorBands;
    g.XMin = g.YMin = -6;
    g.XMax = g.YMax = 6;
    g.ZMin = -1;
    g.ZMax = 1;
    for (auto _ : state) XYZGraph(&g);
    DeleteDC(dc);
}
BENCHMARK(BM_XYZGraphFormulaFinestGrid)->Unit(benchmark::kMillisecond);

}  // namespace
