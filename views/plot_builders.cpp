// The builders fill only their own fields of the cleared record; everything else stays 0 or
// null, which is the neutral setting of every option.
#include "views/plot_builders.h"

#include <algorithm>

#include "charts/contour.h"
#include "charts/surface.h"
#include "charts/xy_graph.h"
#include "charts/zcolor.h"
#include "optics/settings.h"
#include "views/plot.h"

namespace {

// Axis titles are empty texts, not missing ones: the chart writes nothing for them but still
// keeps their room.
const char kNoTitle[] = "";

void common_fields()
{
    zG.hDC = hdc;
    zG.pWindowRect = &theRect;
    zG.NumPoints = numplotpts;
    zG.AxisColor = RGB_color(0);
    zG.BkgColor = RGB_color(15);
    zG.pGraphColors = PlotColorArray;
    zG.LegendStyle = 2;
    zG.bDrawLines = 1;
    zG.bDrawSymbols = 0;
    zG.DigitFormat = 2;
    zG.PenStyle = 2;
}

void legend_names()
{
    for (int k = 0; k < 10; k++) zG.LegendTitles[k] = LegendNames[k];
}

}  // namespace

ValueRange PlotValueRange(const double *values, int count)
{
    double high = -1e10, low = 1e10;
    for (int k = 0; k < count; k++) {
        if (values[k] > high) high = values[k];
        if (values[k] < low) low = values[k];
    }
    return {low, high + 0.001};
}

void Make_F2D_Graph()
{
    common_fields();
    zG.pXData = x;
    zG.pYData = z;
    zG.pSymbols = sym;
    zG.XAxisTitle = kNoTitle;
    zG.YAxisTitle = kNoTitle;
    legend_names();
    zG.ItemStyle = 0;
    zG.bShowGrid = 1;
    zG.bAutoScale = 0;
    zG.DigitPrecision = 3;
    zG.XMin = graph_xneg_extent;
    zG.XMax = graph_xpos_extent;
    // The zoom window is square, so its j extent is the slice length of X- and Y-slices alike.
    const int length = std::clamp(jstop - jstart + 1, 0, GRID_VALUES);
    const ValueRange range = PlotValueRange(z, length);
    zG.YMin = range.low;
    zG.YMax = range.high;
    XYGraph(&zG);
}

void Make_XYZ_Graph(int)
{
    common_fields();
    zG.pXData = x;
    zG.pYData = y;
    zG.pZData = z;
    zG.pSymbols = sym;
    legend_names();
    zG.ItemStyle = 2;
    zG.bShowGrid = 1;
    zG.bAutoScale = 0;
    zG.DigitPrecision = 0;
    zG.XMin = graph_xneg_extent;
    zG.XMax = graph_xpos_extent;
    zG.YMin = graph_yneg_extent;
    zG.YMax = graph_ypos_extent;
    // The whole buffer, not only the points filled: a zoomed surface keeps 0 in its range,
    // since every rebuild of the pupil clears the buffers.
    const ValueRange range = PlotValueRange(z, GRID_VALUES);
    zG.ZMin = range.low;
    zG.ZMax = range.high;
    zG.Formula = kNoTitle;  // an empty formula: plot the data
    XYZGraph(&zG);
}

void Make_Contour_Graph(int mode)
{
    common_fields();
    zG.pZData = z;
    zG.XAxisTitle = kNoTitle;
    zG.YAxisTitle = kNoTitle;
    zG.ItemStyle = 0;
    zG.bShowGrid = mode == CONTOUR_LINES_ONLY ? 1 : 0;
    zG.bAutoScale = 1;
    zG.XAxisDivisions = -1;
    zG.YAxisDivisions = -1;
    zG.DigitPrecision = 1;
    zG.XMin = 0;
    zG.XMax = numxplotpts;
    zG.YMin = 0;
    zG.YMax = numyplotpts;
    zG.NumContours = num_contours;
    ContourGraph(&zG);
}
