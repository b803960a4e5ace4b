// The readout maps the pointer back to data with the chart's own geometry: the axes rectangle
// of the layout step, the whole-pixel blocks of the image raster, the grid lines of the
// contour map and the linear x axis of a slice.
#include "views/readout.h"

#include <cmath>
#include <cstdio>

#include "charts/layout.h"
#include "optics/domains.h"
#include "optics/transfer_function.h"

namespace {

std::string number(const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Positions in the plot's unit, the micrometre with its sign (Latin-1 0xB5).
std::string unit_of(PlotSource source)
{
    switch (source) {
    case PlotSource::PSF: {
        const std::string name = psf_unit_name();
        return name == "um" ? "\xB5m" : name;
    }
    case PlotSource::MTF: return frequency_unit_name();
    default: return "mm";
    }
}

std::string name_of(const PlotDescription &plot)
{
    switch (plot.view->plot.source) {
    case PlotSource::PSF: return plot.logClip ? "log PSF" : "PSF";
    case PlotSource::Transmission: return "transmission";
    case PlotSource::Phase: return "phase";
    case PlotSource::MTF: return "MTF";
    case PlotSource::None: break;
    }
    return {};
}

// The column (or row) of pixel p of a side of length n showing count samples.
int block(int p, int n, int count)
{
    return static_cast<int>(static_cast<long long>(p) * count / n);
}

std::string value_text(const PlotReadout &r, double value)
{
    std::string text = r.name + " = " + number("%.4g", value) + r.valueUnit;
    if (r.withLog && value > 0) text += " (log " + number("%.3f", std::log10(value / 100)) + ")";
    return text;
}

std::string position(const PlotReadout &r, const char *name, double value)
{
    return std::string(name) + " = " + number("%.3g", value == 0 ? 0.0 : value) + " " + r.unit;
}

}  // namespace

PlotReadout ReadoutOf(const PlotDescription &plot)
{
    PlotReadout r;
    if (!plot.view) return r;
    const ViewEntry &view = *plot.view;
    const bool mtf = view.plot.source == PlotSource::MTF;
    r.unit = unit_of(view.plot.source);
    r.name = name_of(plot);
    r.valueUnit = view.plot.source == PlotSource::Phase ? " waves" : "";
    r.xName = mtf ? "fx" : "x";
    r.yName = mtf ? "fy" : "y";
    r.axes = zAxesRectFor(plot.window, plot.graph.LegendStyle);
    switch (view.shape) {
    case ViewShape::Image:
        r.kind = PlotReadout::Kind::Image;
        r.axes = zAxesRectFor(plot.window, zLegendColourBar);
        r.columns = plot.columns;
        r.rows = plot.rows;
        r.xs = plot.x;
        r.ys = plot.y;
        r.values = plot.raw;
        r.withLog = view.plot.source == PlotSource::PSF;
        break;
    case ViewShape::Contour:
        // The map runs its inner index (the array's first, along x) across and its outer
        // index down; both have the same sample steps.
        r.kind = PlotReadout::Kind::Contour;
        r.columns = plot.rows;
        r.rows = plot.columns;
        for (int k = 0; k < plot.rows; k++) r.xs.push_back(plot.y[static_cast<std::size_t>(k)]);
        for (int k = 0; k < plot.columns; k++)
            r.ys.push_back(plot.x[static_cast<std::size_t>(k) * plot.rows]);
        r.values = plot.z;
        break;
    case ViewShape::XSlice:
    case ViewShape::YSlice:
        r.kind = PlotReadout::Kind::Slice;
        r.xName = mtf ? "f" : view.shape == ViewShape::YSlice ? "y" : "x";
        // The first data set only: the MTF, not the diffraction limit drawn with it.
        for (std::size_t k = 0; k < plot.x.size() && plot.sym[k] == plot.sym[0]; k++) {
            r.xs.push_back(plot.x[k]);
            r.values.push_back(plot.z[k]);
        }
        r.low = plot.graph.XMin;
        r.high = plot.graph.XMax;
        break;
    case ViewShape::Surface:
    case ViewShape::Table: break;
    }
    return r;
}

std::string ReadoutText(const PlotReadout &r, int x, int y)
{
    const RECT &a = r.axes;
    const int w = a.right - a.left, h = a.bottom - a.top;
    if (r.kind == PlotReadout::Kind::None || x < a.left || x >= a.right || y < a.top ||
        y >= a.bottom || w <= 0 || h <= 0)
        return {};
    if (r.kind == PlotReadout::Kind::Slice) {
        if (r.xs.empty() || r.high == r.low) return {};
        const double at = r.low + (x - a.left + 0.5) / w * (r.high - r.low);
        std::size_t nearest = 0;
        for (std::size_t k = 1; k < r.xs.size(); k++)
            if (std::fabs(r.xs[k] - at) < std::fabs(r.xs[nearest] - at)) nearest = k;
        return position(r, r.xName, r.xs[nearest]) + ", " + value_text(r, r.values[nearest]);
    }
    if (r.columns < 1 || r.rows < 1) return {};
    int column = 0, row = 0;
    if (r.kind == PlotReadout::Kind::Image) {
        column = block(x - a.left, w, r.columns);
        row = r.rows - 1 - block(y - a.top, h, r.rows);
    } else {
        // Grid points lie on the lines from edge to edge: the nearest one.
        column =
            static_cast<int>(std::lround(static_cast<double>(x - a.left) / w * (r.columns - 1)));
        row = static_cast<int>(std::lround(static_cast<double>(y - a.top) / h * (r.rows - 1)));
    }
    const double value = r.values[static_cast<std::size_t>(row) * r.columns + column];
    return position(r, r.xName, r.xs[static_cast<std::size_t>(column)]) + ", " +
           position(r, r.yName, r.ys[static_cast<std::size_t>(row)]) + ", " + value_text(r, value);
}
