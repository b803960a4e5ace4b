// Whole contour charts as the plot windows draw them: the start-up PSF (128 x 128, 2 levels)
// and an aberrated pupil phase (6 levels), lines only, into an image the size of a large plot
// window.
#include <benchmark/benchmark.h>

#include <vector>

#include "charts/contour.h"
#include "optics/farfield.h"
#include "optics/pupil.h"
#include "optics/settings.h"
#include "platform/dc.h"

namespace {

// The grid of an array [1..128][1..128] in the plot windows' order: columns j outside, rows i
// inside, so the first index runs fastest.
std::vector<double> grid_of(float **array)
{
    std::vector<double> grid;
    grid.reserve(128 * 128);
    for (int j = 1; j <= 128; ++j)
        for (int i = 1; i <= 128; ++i) grid.push_back(array[i][j]);
    return grid;
}

void contour_chart(benchmark::State &state, std::vector<double> &grid, const char *title,
                   int levels, int firstColor)
{
    HDC dc = CreateImageDC(1600, 1000);
    const RECT window{0, 0, 1600, 1000};
    COLORREF colors[10];
    for (int k = 0; k < 10; ++k) colors[k] = RGB_color(firstColor - k);
    zGraphStruct g{};
    g.hDC = dc;
    g.pWindowRect = &window;
    g.pZData = grid.data();
    g.NumPoints = 128 * 128;
    g.AxisColor = RGB_color(0);
    g.BkgColor = RGB_color(15);
    g.pGraphColors = colors;
    g.Title = title;
    g.XAxisTitle = "";
    g.YAxisTitle = "";
    g.LegendStyle = 2;
    g.bDrawLines = 1;
    g.bShowGrid = 1;
    g.bAutoScale = 1;
    g.XAxisDivisions = g.YAxisDivisions = -1;
    g.DigitFormat = 2;
    g.DigitPrecision = 1;
    g.PenStyle = 2;
    g.XMax = 128;
    g.YMax = 128;
    g.NumContours = levels;
    for (auto _ : state) ContourGraph(&g);
    DeleteDC(dc);
}

void BM_ContourStartupPSF(benchmark::State &state)
{
    optics_startup();
    do_FFT();
    std::vector<double> psf = grid_of(m_output);
    optics_shutdown();
    contour_chart(state, psf, "Point Spread Function", 2, 14);
}
BENCHMARK(BM_ContourStartupPSF)->Unit(benchmark::kMillisecond);

void BM_ContourPupilPhase(benchmark::State &state)
{
    optics_startup();
    HasSpherical = HasComa = HasAstigmatism = 1;
    spherical = 0.5f;
    coma = 0.3f;
    astigmatism = 0.2f;
    pillbox_input();
    std::vector<double> phase = grid_of(phase_input);
    optics_shutdown();
    contour_chart(state, phase, "Wavefront Phase Contours", 6, 0);
}
BENCHMARK(BM_ContourPupilPhase)->Unit(benchmark::kMillisecond);

}  // namespace
