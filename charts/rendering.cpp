// The drawing steps: background, frame and axis numbers, titles, grids and data points.
#include "charts/graph.h"

void zGraph::zFillBackground() {}
void zGraph::zFillBkgWithGradedColor() {}
HPALETTE zGraph::zCreateGradedColorPalette() { return nullptr; }
void zGraph::zCalculateRGBValues(unsigned char, unsigned char &red, unsigned char &green, unsigned char &blue)
{
    red = green = blue = 0;
}
void zGraph::zDrawGraphAxes() { zzDrawGraphAxes(1, 1); }
void zGraph::zzDrawGraphAxes(int, int) {}
void zGraph::zShowXAxisNumbers() {}
void zGraph::zzShowXAxisNumbers(int, int) {}
void zGraph::zShowYAxisNumbers() {}
void zGraph::zzShowYAxisNumbers(int, int) {}
void zGraph::zShowGraphTitles() {}
void zGraph::zDrawGrid()
{
    if (b3D)
        zDraw3DGrid();
    else
        zDraw2DGrid();
}
void zGraph::zDraw2DGrid() {}
void zGraph::zDraw3DGrid() {}
int zGraph::zDrawDataPoints() { return 0; }
