// The legend: a framed box with one sample and title per data set, as a column left of the
// axes or a strip under them.
#include "charts/legend.h"

#include <algorithm>
#include <cstdlib>

#include "charts/graph.h"
#include "charts/layout.h"
#include "charts/rendering.h"

void zGraph::zDrawLegend(int samples)
{
    if (LegendStyle == zNoLegend) return;
    const bool bars = samples != zLegendLineSamples;
    zKeepPenAndBrush keep(hDC);
    const bool strip = LegendStyle == zLegendStrip;
    const int W = zRectWidth(&RWindow), H = zRectHeight(&RWindow);
    const POINT centre = zRectCenter(&RWindow);
    const int N = NumSets, s = AveCharWidth;

    // The box grows with the number of sets along its free dimension.
    const double rs = 0.05 * 0.5 * H, cs = 0.07 * 0.375 * W;
    const int bh = zRound(0.05 * H * (1.5 * N + 0.5));
    const int bw = zRound(0.07 * W * N + (N - 1) * cs);
    if (strip) {
        const int e = 3 * s + bw / 2;
        RLegend.left = centre.x - e;
        RLegend.right = centre.x + e;
    } else {
        RLegend.top = centre.y - bh / 2;
        RLegend.bottom = centre.y + bh / 2;
    }
    const int boxHeight = zRectHeight(&RLegend), boxWidth = zRectWidth(&RLegend);
    const int eh = strip ? zRound(0.5 * boxHeight) : zRound(0.05 * H);
    const int ew = strip ? zRound(0.07 * W) : zRound(0.333 * boxWidth);
    const POINT middle = zRectCenter(&RLegend);
    int x0 = strip ? middle.x - bw / 2 : middle.x - s / 2 - ew;
    const int xt = strip ? x0 : middle.x;

    RLegendEntry = RLegend;
    zDrawRect(&RLegendEntry);
    zSelectAxisColor();
    char sizing[zMaxLegendSizingLength + 1];
    zGetLongestLegendString(sizing);
    if (bars) zActivateBrushes();

    int j = 0;  // first point of the set whose symbol the sample shows
    for (int i = 0; i < zMaxLegendEntries && i < N; ++i) {
        int y;
        if (strip) {
            y = middle.y - zRound(0.1 * boxHeight);
            if (i > 0) x0 += zRound(ew + cs);
        } else {
            y = (i + 1) * zRound(rs) + RLegend.top + eh * i;
        }

        if (bars) {
            zDraw3DBar(x0, y, x0 + ew, y + eh, 0, hBrushes[i], hAxisPen);
        } else {
            zSelectGraphColor(i);
            const int ly = strip ? y + eh / 4 : y + eh / 2;
            zDrawLine(x0, ly, x0 + ew, ly);
            // Runs of equal raw codes, looked for among the first points only.
            if (i > 0 && pSymbols) {
                const std::int32_t code = j < NumPoints ? pSymbols[j] : 0;
                while (j < zLegendSymbolSearchLimit && j < NumPoints && pSymbols[j] == code) ++j;
            }
            if (bDrawSymbols && pSymbols && j < NumPoints) {
                const int kind = static_cast<int>(std::llabs(static_cast<long long>(pSymbols[j])));
                zDraw_Symbol(static_cast<unsigned>(x0), static_cast<unsigned>(ly - s / 2), kind, i);
                zDraw_Symbol(static_cast<unsigned>(x0 + ew), static_cast<unsigned>(ly - s / 2),
                             kind, i);
            }
        }

        RECT text;
        if (strip) {
            text = RECT{x0, RLegend.top + zRound(0.15 * boxHeight), x0 + ew,
                        RLegend.top + zRound(0.325 * boxHeight)};
        } else {
            text = RECT{xt + zRound(0.05 * boxWidth), y + zRound(0.15 * eh),
                        RLegend.right - zRound(0.05 * boxWidth), y + zRound(0.85 * eh)};
        }
        // One font for every entry: the one the longest title needs.
        char title[zLabelBufferSize];
        zCopyToWorkBuffer(title, LegendTitles[i]);
        zShowStringInRect(sizing, title, &text, 1, 0);
    }
}
