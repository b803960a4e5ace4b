// A table window's repaint: a maximized PSF table (1920 x 1080) drawn whole through an
// image-backed device context, once formatting only the cells that reach the window and
// once formatting all 16,384 and leaving the clipping to the drawing layer; and the strip a
// one-line scroll uncovers.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "optics/farfield.h"
#include "optics/settings.h"
#include "platform/dc.h"
#include "views/child.h"
#include "views/table.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kPSFTable = 6;

// The state a maximized PSF table is in after opening: metrics of the default font and the
// scroll position centred as a size message leaves it.
HDC PreparePSFTable()
{
    static bool computed = false;
    if (!computed) {
        optics_startup();
        do_FFT();
        computed = true;
    }
    HDC dc = CreateImageDC(kWidth, kHeight);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    cxChar = static_cast<int>(tm.tmAveCharWidth);
    cyChar = static_cast<int>(tm.tmHeight + tm.tmExternalLeading);
    cxCaps = 3 * cxChar / 2;
    iMaxWidth = GRID * TABLE_COLUMN_CHARS * cxChar + 22 * cxCaps;
    iVscrollMax[kPSFTable] = std::max(0, NUMLINES + 2 - kHeight / cyChar);
    iVscrollPos[kPSFTable] = iVscrollMax[kPSFTable] / 2;
    iHscrollMax[kPSFTable] = std::max(0, 10 + (iMaxWidth - kWidth) / cxChar);
    iHscrollPos[kPSFTable] = iHscrollMax[kPSFTable] / 2;
    return dc;
}

void BM_MaximizedTableRepaint(benchmark::State &state)
{
    HDC dc = PreparePSFTable();
    const RECT client = {0, 0, kWidth, kHeight};
    for (auto _ : state) PaintTable(dc, kPSFTable, client);
    DeleteDC(dc);
}
BENCHMARK(BM_MaximizedTableRepaint)->Unit(benchmark::kMillisecond);

// An update rectangle far larger than the window lets every cell through to TextOutA.
void BM_MaximizedTableRepaintEveryCell(benchmark::State &state)
{
    HDC dc = PreparePSFTable();
    const RECT everything = {-1000000, -1000000, 1000000, 1000000};
    for (auto _ : state) PaintTable(dc, kPSFTable, everything);
    DeleteDC(dc);
}
BENCHMARK(BM_MaximizedTableRepaintEveryCell)->Unit(benchmark::kMillisecond);

// A line down: the window's contents move up and only the uncovered bottom line is painted.
void BM_MaximizedTableLineScroll(benchmark::State &state)
{
    HDC dc = PreparePSFTable();
    const RECT strip = {0, kHeight - cyChar, kWidth, kHeight};
    for (auto _ : state) PaintTable(dc, kPSFTable, strip);
    DeleteDC(dc);
}
BENCHMARK(BM_MaximizedTableLineScroll)->Unit(benchmark::kMicrosecond);

}  // namespace
