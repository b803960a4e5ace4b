// The axes rectangle and the legend box, as fixed fractions of the window.
#include "charts/layout.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "charts/graph.h"

zLayoutFractions zAxesFractions(int legendStyle)
{
    switch (legendStyle) {
    case zLegendStrip: return {0.15, 0.15, 0.85, 0.7};
    case zNoLegend: return {0.15, 0.15, 0.85, 0.85};
    case zLegendColourBar: return {0.15, 0.15, 0.74, 0.85};
    default: return {0.35, 0.15, 0.85, 0.85};  // a column, also for any unknown placement
    }
}

zLayoutFractions zLegendFractions(int legendStyle)
{
    if (legendStyle == zLegendStrip) return {0.15, 0.825, 0.85, 0.975};
    if (legendStyle == zLegendColourBar) return {0.78, 0.15, 0.82, 0.85};
    return {0.05, 0.2, 0.25, 0.8};
}

namespace {

// Moves the edges of r (a copy of the window) inward by the fractions of a W x H window.
void place(RECT &r, const zLayoutFractions &f, int W, int H)
{
    r.left += zRound(f.left * W);
    r.top += zRound(f.top * H);
    r.right += zRound(f.right * W - W);
    r.bottom += zRound(f.bottom * H - H);
}

}  // namespace

RECT zAxesRectFor(const RECT &window, int legendStyle)
{
    RECT r = window;
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    const int W = r.right - r.left, H = r.bottom - r.top;
    place(r, zAxesFractions(legendStyle), W, H);
    return r;
}

void zGraph::zSetGraphAxesRect()
{
    if (RWindow.right < RWindow.left) std::swap(RWindow.left, RWindow.right);
    if (RWindow.bottom < RWindow.top) std::swap(RWindow.top, RWindow.bottom);
    RWork = RWindow;
    RAxes = zAxesRectFor(RWindow, LegendStyle);
    AxesLeft = RAxes.left;
    AxesRight = RAxes.right;
    AxesTop = RAxes.top;
    AxesBottom = RAxes.bottom;
    AxesHeight = zRectHeight(&RAxes);
    AxesWidth = zRectWidth(&RAxes);
}

void zGraph::zSetLegendRect()
{
    if (LegendStyle == zNoLegend) return;
    RWork = RWindow;
    RLegend = RWindow;
    place(RLegend, zLegendFractions(LegendStyle), zRectWidth(&RWindow), zRectHeight(&RWindow));
}

void zGraph::zGetLongestLegendString(char *out)
{
    std::size_t longest = 0;
    for (int k = 0; k < 10 && k < NumSets; ++k)
        if (LegendTitles[k]) longest = std::max(longest, std::strlen(LegendTitles[k]));
    longest = std::min<std::size_t>(longest, zMaxLegendSizingLength);
    std::memset(out, 'A', longest);
    out[longest] = '\0';
}
