// The plot views. A description turns the current array into points: a slice runs along one
// row or column through the array centre, a surface or contour map takes the whole zoom
// window, one data set per column. Pupil samples are plotted at their centres (half a step off
// the index, the pupil centre lying between samples 64 and 65), PSF samples at the sample
// points, so that the PSF centre sample 65 sits at 0.
#include "views/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "charts/contour.h"
#include "charts/image.h"
#include "charts/surface.h"
#include "charts/xy_graph.h"
#include "charts/zcolor.h"
#include "optics/domains.h"
#include "optics/number_text.h"
#include "optics/settings.h"
#include "optics/transfer_function.h"
#include "views/plot_builders.h"

namespace {

// A slice runs through the PSF centre sample, for the pupil as for the PSF.
constexpr int CENTRE = PSF_CENTRE;
constexpr double PUPIL_CENTRE = 64.5;  // between the two middle pupil samples

float **array_of(PlotSource source)
{
    switch (source) {
    case PlotSource::PSF: return m_output;
    case PlotSource::Transmission: return r_input;
    case PlotSource::Phase: return phase_input;
    case PlotSource::MTF:  // filled when asked for, by compute_mtf_output
    case PlotSource::None: break;
    }
    return nullptr;
}

// A logarithmic PSF clips at 10^-(decades - 1) of the peak of 100 and plots the power of ten.
std::optional<float> log_clip(const ViewEntry &view)
{
    if (view.plot.source != PlotSource::PSF || PSFPlotType != PSF_LOGARITHMIC) return {};
    return static_cast<float>(1.0 / std::pow(10.0, nPSFdecades - 1));
}

double plotted_value(const PlotDescription &plot, float value)
{
    if (!plot.logClip) return value;
    if (value < *plot.logClip) value = *plot.logClip;
    // In double: a float clip value lies just off its power of ten, and the levels traced
    // around the clipped floor depend on which side.
    return std::log10(static_cast<double>(value));
}

int first_index(int start) { return std::max(start, 1); }
int last_index(int stop) { return std::min(stop, GRID); }

// A slice has abscissas and values; y stays empty.
void fill_slice(PlotDescription &plot)
{
    float **array = array_of(plot.view->plot.source);
    const bool psf = plot.view->plot.source == PlotSource::PSF;
    const bool alongI = plot.view->shape == ViewShape::XSlice;
    const double centre = psf ? CENTRE : PUPIL_CENTRE;
    const double step = psf ? XPSFStep : XPupilStep;  // Y-slices too
    const int first = first_index(alongI ? istart : jstart);
    const int last = last_index(alongI ? istop : jstop);
    for (int k = first; k <= last; k++) {
        const float value = alongI ? array[k][CENTRE] : array[CENTRE][k];
        plot.x.push_back((k - centre) * step);
        plot.z.push_back(plotted_value(plot, value));
        plot.sym.push_back(42);
    }
}

void fill_grid(PlotDescription &plot)
{
    float **array = array_of(plot.view->plot.source);
    const bool psf = plot.view->plot.source == PlotSource::PSF;
    const double centre = psf ? CENTRE : PUPIL_CENTRE;
    const double xstep = psf ? XPSFStep : XPupilStep, ystep = psf ? YPSFStep : YPupilStep;
    for (int j = first_index(jstart); j <= last_index(jstop); j++) {
        for (int i = first_index(istart); i <= last_index(istop); i++) {
            plot.x.push_back((j - centre) * xstep);
            plot.y.push_back((i - centre) * ystep);
            plot.z.push_back(plotted_value(plot, array[i][j]));
            plot.sym.push_back(j + 65);
        }
        plot.columns++;
    }
    plot.rows = plot.columns;  // the zoom window is square
}

// An MTF slice runs from zero frequency to the cut-off: the MTF, then the diffraction limit of
// the same transmission as a second data set. Empty for a dark PSF.
void fill_mtf_slice(PlotDescription &plot)
{
    const bool alongX = plot.view->shape == ViewShape::XSlice;
    const std::vector<double> curves[] = {psf_mtf_curve(alongX),
                                          diffraction_limited_mtf_curve(alongX)};
    if (curves[0].empty()) return;
    const double step = frequency_step();
    for (int set = 0; set < 2; set++)
        for (int f = 0; f <= mtf_slice_steps(); f++) {
            plot.x.push_back(f * step);
            plot.z.push_back(curves[set][f]);
            plot.sym.push_back(42 + set);
        }
}

// The part of the MTF map that holds the cut-off, centred on zero frequency, laid out as the
// PSF's grid is.
void fill_mtf_grid(PlotDescription &plot)
{
    compute_mtf_output();
    const double step = frequency_step();
    const int first = std::max(1, PSF_CENTRE - mtf_slice_steps());
    const int last = std::min(GRID, PSF_CENTRE + mtf_slice_steps());
    for (int j = first; j <= last; j++) {
        for (int i = first; i <= last; i++) {
            plot.x.push_back((j - PSF_CENTRE) * step);
            plot.y.push_back((i - PSF_CENTRE) * step);
            plot.z.push_back(mtf_output[i][j]);
            plot.sym.push_back(j + 65);
        }
        plot.columns++;
    }
    plot.rows = plot.columns;
}

// The image of an array over the zoom window (the MTF: over the part that holds the cut-off),
// first index along x, left to right, second along y, bottom to top.
void fill_image(PlotDescription &plot, const ImageOptions &options)
{
    const PlotSource source = plot.view->plot.source;
    const bool psf = source == PlotSource::PSF, mtf = source == PlotSource::MTF;
    float **array = mtf ? (compute_mtf_output(), mtf_output) : array_of(source);
    const double centre = psf || mtf ? CENTRE : PUPIL_CENTRE;
    const double xstep = mtf ? frequency_step() : psf ? XPSFStep : XPupilStep;
    const double ystep = mtf ? frequency_step() : psf ? YPSFStep : YPupilStep;
    int ifirst = first_index(istart), ilast = last_index(istop);
    int jfirst = first_index(jstart), jlast = last_index(jstop);
    if (mtf) {
        ifirst = jfirst = std::max(1, PSF_CENTRE - mtf_slice_steps());
        ilast = jlast = std::min(GRID, PSF_CENTRE + mtf_slice_steps());
    }
    if (psf && ImageIsLogarithmic(options)) plot.logDecades = nPSFdecades;
    for (int i = ifirst; i <= ilast; i++) plot.x.push_back((i - centre) * xstep);
    for (int j = jfirst; j <= jlast; j++) plot.y.push_back((j - centre) * ystep);
    for (int j = jfirst; j <= jlast; j++)
        for (int i = ifirst; i <= ilast; i++) {
            const double value = array[i][j];
            plot.raw.push_back(value);
            if (!plot.logDecades)
                plot.z.push_back(value);
            else  // in decades below 100, the floor for zero and below
                plot.z.push_back(value > 0
                                     ? std::max(std::log10(value / 100), -1.0 * *plot.logDecades)
                                     : -*plot.logDecades);
        }
    plot.columns = ilast >= ifirst ? ilast - ifirst + 1 : 0;
    plot.rows = jlast >= jfirst ? jlast - jfirst + 1 : 0;
}

// The composed titles: "Centroids: x = <g3>     y = <g3>" for the PSF 3-D view, in PSF units,
// and "<g sig> waves RMS" for the pupil phase 3-D view.
std::string title_of(const ViewEntry &view)
{
    if (view.plot.title) return view.plot.title;
    if (view.kind == 8)
        return "Centroids: x = " + gN(xpsfcent * XPSFStep, 3) +
               "     y = " + gN(ypsfcent * YPSFStep, 3);
    return gN(wavesrms, sig) + " waves RMS";
}

}  // namespace

PlotDescription DescribePlot(int kind, const RECT &window)
{
    PlotDescription plot;
    plot.view = ViewForKind(kind);
    if (!plot.view || plot.view->plot.source == PlotSource::None) {
        plot.view = nullptr;
        return plot;
    }
    const ViewEntry &view = *plot.view;
    set_domains();
    for (int k = 0; k < 10; k++) plot.colours[k] = RGB_color(view.plot.colourStart - k);
    plot.window = window;
    SetZoom();
    plot.logClip = log_clip(view);
    const bool slice = view.shape == ViewShape::XSlice || view.shape == ViewShape::YSlice;
    const bool mtf = view.plot.source == PlotSource::MTF;
    if (view.shape == ViewShape::Image)
        fill_image(plot, *ImageOptionsFor(kind));
    else if (slice)
        mtf ? fill_mtf_slice(plot) : fill_slice(plot);
    else
        mtf ? fill_mtf_grid(plot) : fill_grid(plot);
    plot.title = title_of(view);

    switch (view.shape) {
    case ViewShape::XSlice:
    case ViewShape::YSlice: Make_F2D_Graph(plot); break;
    case ViewShape::Surface: Make_XYZ_Graph(plot); break;
    case ViewShape::Contour: Make_Contour_Graph(plot, CONTOUR_LINES_ONLY); break;
    case ViewShape::Image: Make_Image_Graph(plot, ImageOptionsFor(kind)->map); break;
    case ViewShape::Table: break;
    }
    return plot;
}

void DrawPlot(PlotDescription &plot, HDC dc)
{
    if (!plot.view) return;
    zGraphStruct &g = plot.graph;
    g.hDC = dc;
    g.pWindowRect = &plot.window;
    g.pGraphColors = plot.colours;
    g.Title = plot.title.c_str();
    switch (plot.view->shape) {
    case ViewShape::XSlice:
    case ViewShape::YSlice:
        g.pXData = plot.x.data();
        g.pYData = plot.z.data();
        g.pSymbols = plot.sym.data();
        XYGraph(&g);
        break;
    case ViewShape::Surface:
        g.pXData = plot.x.data();
        g.pYData = plot.y.data();
        g.pZData = plot.z.data();
        g.pSymbols = plot.sym.data();
        XYZGraph(&g);
        break;
    case ViewShape::Contour:
        g.pZData = plot.z.data();
        ContourGraph(&g);
        break;
    case ViewShape::Image:
        g.pZData = plot.z.data();
        g.XAxisTitle = plot.axisTitle.c_str();
        ImageGraph(&g);
        break;
    case ViewShape::Table: break;
    }
}

ImageOptions *ImageOptionsFor(int kind)
{
    static ImageOptions options[] = {{}, {}, {zColourMap::Diverging, {}}, {}};
    static constexpr int kFirstImageKind = 24;
    const ViewEntry *view = ViewForKind(kind);
    if (!view || view->shape != ViewShape::Image) return nullptr;
    return &options[kind - kFirstImageKind];
}

bool ImageIsLogarithmic(const ImageOptions &options)
{
    return options.logarithmic.value_or(PSFPlotType == PSF_LOGARITHMIC);
}

void ApplyPlotSettings(const PlotDescription &plot)
{
    if (!plot.view || plot.view->shape == ViewShape::Image) return;
    if (plot.logClip && !plot.z.empty()) PSFthold = *plot.logClip;
    if (plot.view->kind == 8) sig = 3;
}
