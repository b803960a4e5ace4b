// A plot view's full repaint at 1920 x 1080 into an image-backed device context, for each of
// the twelve views and the four MTF views after Create PSF at the start-up settings, and for the
// four image views over the whole 128 x 128 grid; and the batch export of every plot view as
// SVG documents.
#include <benchmark/benchmark.h>

#include <string>

#include "optics/farfield.h"
#include "optics/settings.h"
#include "platform/dc.h"
#include "platform/msgbox.h"
#include "views/plot.h"
#include "views/plot_picture.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

void ComputeStartUpPSF()
{
    static bool computed = false;
    if (computed) return;
    optics_startup();
    do_FFT();
    computed = true;
}

// Describes and draws the plot of the benchmark's kind at the size above, once per iteration.
void repaint(benchmark::State &state)
{
    const int kind = static_cast<int>(state.range(0));
    HDC dc = CreateImageDC(kWidth, kHeight);
    const RECT client = {0, 0, kWidth, kHeight};
    for (auto _ : state) {
        PlotDescription plot = DescribePlot(kind, client);
        DrawPlot(plot, dc);
    }
    DeleteDC(dc);
    state.SetLabel(PlotNameForKind(kind));
}

void BM_PlotRepaint(benchmark::State &state)
{
    ComputeStartUpPSF();
    repaint(state);
}
BENCHMARK(BM_PlotRepaint)->DenseRange(7, 18)->DenseRange(20, 23)->Unit(benchmark::kMillisecond);

// The image views with the zoom window at the whole grid: 128 x 128 samples (the MTF image
// shows the part of its map that holds the cut-off).
void BM_ImageRepaint(benchmark::State &state)
{
    ComputeStartUpPSF();
    const int zoom = izoom;
    izoom = 1;
    repaint(state);
    izoom = zoom;
}
BENCHMARK(BM_ImageRepaint)->DenseRange(24, 27)->Unit(benchmark::kMillisecond);

void BM_ExportEverySvg(benchmark::State &state)
{
    ComputeStartUpPSF();
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const ViewEntry &view : kViewRegistry) {
            if (!view.plot.name) continue;  // a table
            std::string svg;
            PlotPicture(view.kind, 800, 600, PictureFormat::Svg, svg);
            bytes += svg.size();
        }
    }
    benchmark::DoNotOptimize(bytes);
}
BENCHMARK(BM_ExportEverySvg)->Unit(benchmark::kMillisecond);

}  // namespace
