// The builders fill only their own fields of the cleared record; everything else stays 0 or
// null, which is the neutral setting of every option. The legend is off (style 2) and the XY
// chart numbers its x axis whatever the record asks, so neither legend titles nor an item
// style are given.
#include "views/plot_builders.h"

#include <algorithm>
#include <cmath>

#include "charts/zcolor.h"
#include "optics/domains.h"
#include "optics/transfer_function.h"
#include "optics/settings.h"

namespace {

// Axis titles are empty texts, not missing ones: the chart writes nothing for them but still
// keeps their room.
const char kNoTitle[] = "";

void common_fields(zGraphStruct &g, const PlotDescription &plot)
{
    g.NumPoints = static_cast<std::int32_t>(plot.z.size());
    g.AxisColor = RGB_color(0);
    g.BkgColor = RGB_color(15);
    g.LegendStyle = 2;
    g.bDrawLines = 1;
    g.bDrawSymbols = 0;
    g.DigitFormat = 2;
    g.PenStyle = 2;
}

// The extents: the first and last coordinate filled, 0 when the zoom window is empty.
double first_of(const std::vector<double> &v) { return v.empty() ? 0 : v.front(); }
double last_of(const std::vector<double> &v) { return v.empty() ? 0 : v.back(); }

// The x and y ranges of a grid: from its first to its last column and row.
void grid_extents(zGraphStruct &g, const PlotDescription &plot)
{
    g.XMin = first_of(plot.x);
    g.XMax = last_of(plot.x);
    g.YMin = first_of(plot.y);
    g.YMax = last_of(plot.y);
}

}  // namespace

ValueRange PlotValueRange(const std::vector<double> &values, bool withZero)
{
    double high = -1e10, low = 1e10;
    const auto take = [&](double value) {
        if (value > high) high = value;
        if (value < low) low = value;
    };
    for (double value : values) take(value);
    if (withZero) take(0.0);
    return {low, high + 0.001};
}

void Make_F2D_Graph(PlotDescription &plot)
{
    zGraphStruct &g = plot.graph;
    common_fields(g, plot);
    g.XAxisTitle = kNoTitle;
    g.YAxisTitle = kNoTitle;
    g.bShowGrid = 1;
    g.bAutoScale = 0;
    g.DigitPrecision = 3;
    g.XMin = first_of(plot.x);
    g.XMax = last_of(plot.x);
    const ValueRange range = PlotValueRange(plot.z);
    g.YMin = range.low;
    g.YMax = range.high;
    // An MTF runs from 0 to 1 and is told from the diffraction limit by a legend under it.
    if (plot.view->plot.source == PlotSource::MTF) {
        static const char *const names[10] = {"MTF", "Diffraction limit"};
        g.YMin = 0;
        g.YMax = 1;
        g.LegendStyle = 1;
        for (int k = 0; k < 10; k++) g.LegendTitles[k] = names[k];
    }
}

void Make_XYZ_Graph(PlotDescription &plot)
{
    zGraphStruct &g = plot.graph;
    common_fields(g, plot);
    g.bShowGrid = 1;
    g.bAutoScale = 0;
    g.DigitPrecision = 0;
    grid_extents(g, plot);
    // A zoomed surface keeps 0 in its range, as if the grid outside the zoom window were
    // there with the value 0.
    const bool zoomed = plot.z.size() < static_cast<std::size_t>(GRID_VALUES);
    const ValueRange range = PlotValueRange(plot.z, zoomed);
    g.ZMin = range.low;
    g.ZMax = range.high;
    g.Formula = kNoTitle;  // an empty formula: plot the data
}

void Make_Contour_Graph(PlotDescription &plot, int mode)
{
    zGraphStruct &g = plot.graph;
    common_fields(g, plot);
    g.XAxisTitle = kNoTitle;
    g.YAxisTitle = kNoTitle;
    g.bShowGrid = mode == CONTOUR_LINES_ONLY ? 1 : 0;
    g.bAutoScale = 1;
    g.XAxisDivisions = -1;
    g.YAxisDivisions = -1;
    g.DigitPrecision = 1;
    g.XMin = 0;
    g.XMax = plot.columns;
    g.YMin = 0;
    g.YMax = plot.rows;
    g.NumContours = plot.view->plot.contours;
}

void Make_Image_Graph(PlotDescription &plot, zColourMap map)
{
    zGraphStruct &g = plot.graph;
    common_fields(g, plot);
    switch (plot.view->plot.source) {
    case PlotSource::PSF: plot.axisTitle = std::string("x and y in") + psf_unit_words(); break;
    case PlotSource::MTF:
        plot.axisTitle = std::string("x and y frequency in ") + frequency_unit_name();
        break;
    default: plot.axisTitle = "x and y in millimeters"; break;
    }
    g.YAxisTitle = kNoTitle;
    g.DigitFormat = 1;
    g.DigitPrecision = 4;
    grid_extents(g, plot);
    g.NumContours = plot.columns;
    g.GradedColorScheme = static_cast<std::int32_t>(map);
    g.bAutoScale = 1;
    if (plot.logDecades) {
        g.bAutoScale = 0;
        g.ZMin = -*plot.logDecades;
        g.ZMax = g.ZMin;
        for (double v : plot.z)
            if (std::isfinite(v)) g.ZMax = std::max(g.ZMax, v);
    } else if (plot.view->plot.source == PlotSource::Phase) {
        double largest = 0;
        for (double v : plot.z)
            if (std::isfinite(v)) largest = std::max(largest, std::fabs(v));
        g.bAutoScale = 0;
        g.ZMin = -largest;
        g.ZMax = largest;
    }
}
