// The image chart: a grid of values drawn as a raster into the axes rectangle, one flat
// rectangle of colour per sample, with a colour bar right of the axes.
//
// The grid is the record's z array, NumContours columns of NumPoints / NumContours values
// each way: the first index (columns) varies fastest in memory and runs left to right, the
// second (rows) runs bottom to top. XMin and XMax are the x of the first and last columns'
// centres, YMin and YMax the y of the first and last rows' centres; the axes reach half a
// sample beyond them. The colours span ZMin to ZMax (the record's limits, or the data's
// finite range when bAutoScale is set) in the map GradedColorScheme names (a zColourMap).
#pragma once

#include <vector>

#include "charts/colour_map.h"
#include "charts/graph.h"

class zImage : public zGraph {
public:
    explicit zImage(const zGraphStruct *record);

    // The steps of the drawing sequence the image chart draws its own way: the data step
    // checks the grid and sizes the ranges, the axes carry ticks and numbers, the raster
    // covers the axes, the frame goes over it, and the legend is the colour bar.
    int zCheckForLegalData() override;       // grid shape
    int zPrepareData() override;             // zCheckForLegalData, then the ranges
    void zDrawGraphAxes() override;          // numbers and ticks along x and y
    void zDrawGrid() override;               // nothing
    int zDrawDataPoints() override;          // the raster
    void zDrawOverData() override;           // the frame
    void zDrawLegend(int samples) override;  // the colour bar with its numbers
    int zLegendSamples() override;           // 0: the bar has no samples

    // What the record's shared fields mean for an image chart.
    int zColumns() const { return NumContours; }
    int zRows() const { return NumContours > 0 ? NumPoints / NumContours : 0; }
    zColourMap zMap() const { return static_cast<zColourMap>(GradedColorScheme); }

    // The tick values of an axis or of the colour bar from low to high: multiples of the
    // step the chart's best fit finds (1, 2 or 5 times a power of ten, doubled when it gives
    // eight or more divisions) that lie within the range; low alone for an empty range.
    std::vector<double> zTickValues(double low, double high);
    // Where a value falls in the colour map: 0 at ZMin, 1 at ZMax, 0.5 for a flat range.
    double zMapPosition(double value) const;

private:
    // Whether a number of that width with its top left corner there lies across the window: a
    // number cut by a side of the window would read as another, so it is left out.
    bool fits(int left, int top, int width) const;
    void zBlit(const std::vector<std::uint32_t> &pixels, int width, int height, const RECT &to);
};

// Draws the image chart the record describes into its device context and returns when it is
// done; the record and everything it points to must stay valid until then.
void ImageGraph(const zGraphStruct *record);
