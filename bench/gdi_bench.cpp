// Drawing costs: a table window's paint (every cell formatted and written right-aligned, most
// of them outside the window), data-point symbols, and text fitted into rectangles.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "charts/zlowlevel_open.h"
#include "platform/dc.h"

namespace {

void BM_TablePaintTextOut(benchmark::State &state)
{
    HDC dc = CreateImageDC(1280, 800);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    char cell[32];
    for (auto _ : state) {
        for (int i = 1; i <= 128; ++i)
            for (int j = 1; j <= 128; ++j) {
                const int length = std::snprintf(cell, sizeof cell, " %9.3f", i * 0.5 + j);
                SetTextAlign(dc, TA_RIGHT | TA_TOP);
                TextOutA(dc, (10 * j - 600) * tm.tmAveCharWidth, (i - 40) * tm.tmHeight, cell,
                         length);
                SetTextAlign(dc, TA_LEFT | TA_TOP);
            }
    }
    state.SetItemsProcessed(state.iterations() * 128 * 128);
    DeleteDC(dc);
}
BENCHMARK(BM_TablePaintTextOut)->Unit(benchmark::kMillisecond);

void BM_SymbolsWithLines(benchmark::State &state)
{
    HDC dc = CreateImageDC(800, 600);
    zOpenGraphics g;
    g.hDC = dc;
    for (int k = 0; k < 10; ++k) g.GraphColors[k] = RGB_color(k + 9);
    g.AveCharWidth = 8;
    static const int kinds[6] = {1, 2, 4, 30, 31, 254};
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const int x = 20 + (i * 7) % 760, y = 20 + (i * 13) % 560;
            g.zSelectGraphColor(i / 100);
            g.zDraw_Symbol(static_cast<unsigned>(x), static_cast<unsigned>(y), kinds[i % 6],
                           i / 100);
            g.zLineTo(x, y);
        }
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    g.zDeletePens();
    g.zDeleteBrushes();
    DeleteDC(dc);
}
BENCHMARK(BM_SymbolsWithLines)->Unit(benchmark::kMillisecond);

void BM_ShowStringInRect(benchmark::State &state)
{
    HDC dc = CreateImageDC(400, 300);
    zOpenGraphics g;
    g.hDC = dc;
    g.zGetDefaultTextSize();
    RECT r{102, 11, 298, 34};
    const char *title = "Pupil Phase Contour Map, RMS 0.123 wv.";
    for (auto _ : state) g.zShowStringInRect(title, title, &r, 0, 1);
    g.zDeletePens();
    DeleteDC(dc);
}
BENCHMARK(BM_ShowStringInRect)->Unit(benchmark::kMicrosecond);

}  // namespace
