// The plot views. A paint turns the current array into points: a slice runs along one row or
// column through the array centre, a surface or contour map takes the whole zoom window, one
// data set per column. Pupil samples are plotted at their centres (half a step off the index,
// the pupil centre lying between samples 64 and 65), PSF samples at the sample points, so
// that the PSF centre sample 65 sits at 0.
#include "views/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "charts/zcolor.h"
#include "optics/domains.h"
#include "optics/settings.h"
#include "views/plot_builders.h"

std::int32_t sym[128 * 128];
int ij = 0;
int numplotpts = 0;
int numxplotpts = 0, numyplotpts = 0;
int num_contours = 1;
double graph_xneg_extent = 0, graph_xpos_extent = 0;
double graph_yneg_extent = 0, graph_ypos_extent = 0;
COLORREF PlotColorArray[10];
zGraphStruct zG;
RECT theRect;
const char *const LegendNames[10] = {"FFT",     "A = 2",    "A = 4",   "Portland", "Phoenix",
                                     "San Diego", "Nashville", "Atlanta", "Honolulu", "Richmond"};

const PlotViewName kPlotViewNames[12] = {
    {7, "psf-x-slice"},     {8, "psf-3d"},          {9, "psf-contour"},
    {10, "transmission-3d"}, {11, "transmission-contour"}, {12, "phase-3d"},
    {13, "phase-contour"},  {14, "psf-y-slice"},    {15, "phase-x-slice"},
    {16, "phase-y-slice"},  {17, "transmission-x-slice"}, {18, "transmission-y-slice"},
};

int PlotKindForName(const char *name)
{
    for (const PlotViewName &view : kPlotViewNames)
        if (name && !std::strcmp(view.name, name)) return view.kind;
    return -1;
}

const char *PlotNameForKind(int kind)
{
    for (const PlotViewName &view : kPlotViewNames)
        if (view.kind == kind) return view.name;
    return nullptr;
}

namespace {

enum class Shape { Slice, Surface, Contour };
enum class Source { PSF, Transmission, Phase };

struct PlotKind {
    int kind;
    Shape shape;
    Source source;
    bool alongI;         // a slice whose varying index is i (an X-slice)
    int colourStart;     // PlotColorArray[k] is palette entry colourStart - k
    const char *title;   // null: composed at paint time
    int contours;        // num_contours of a contour view
};

constexpr PlotKind kPlotKinds[12] = {
    {7, Shape::Slice, Source::PSF, true, 0, "X-Slice (Y=0) of Point Spread Function", 0},
    {8, Shape::Surface, Source::PSF, false, 7, nullptr, 0},
    {9, Shape::Contour, Source::PSF, false, 14, "Point Spread Function", 2},
    {10, Shape::Surface, Source::Transmission, false, 7, "Pupil Transmission", 0},
    {11, Shape::Contour, Source::Transmission, false, 0, "Pupil Transmission", 4},
    {12, Shape::Surface, Source::Phase, false, 7, nullptr, 0},
    {13, Shape::Contour, Source::Phase, false, 0, "Wavefront Phase Contours", 6},
    {14, Shape::Slice, Source::PSF, false, 0, "Y-Slice (X=0) of Point Spread Function", 0},
    {15, Shape::Slice, Source::Phase, true, 0, "X-Slice (Y=0) of Pupil Phase Function", 0},
    {16, Shape::Slice, Source::Phase, false, 0, "Y-Slice (X=0) of Pupil Phase Function", 0},
    {17, Shape::Slice, Source::Transmission, true, 0, "X-Slice (Y=0) of Pupil Transmission Function", 0},
    {18, Shape::Slice, Source::Transmission, false, 0, "Y-Slice (X=0) of Pupil Transmission Function", 0},
};

constexpr int CENTRE = 65;           // the fixed index of a slice, and the PSF centre sample
constexpr double PUPIL_CENTRE = 64.5;  // between the two middle pupil samples

// The composed titles: "Centroids: x = <g3>     y = <g3>" or "<g sig> waves RMS". A general
// number with at most 17 significant digits is under 30 characters, so both fit whatever
// the values.
char szPlotTitle[128];

// The general number format with ndigit significant digits (trailing zeros dropped), as the
// reports and the dialogs write numbers.
const char *general(double value, int ndigit, char *buffer, std::size_t size)
{
    std::snprintf(buffer, size, "%.*g", std::clamp(ndigit, 1, 17), value);
    return buffer;
}

float **array_of(Source source)
{
    switch (source) {
    case Source::PSF: return m_output;
    case Source::Transmission: return r_input;
    case Source::Phase: return phase_input;
    }
    return nullptr;
}

// A logarithmic PSF clips at 10^-(decades - 1) of the peak of 100 and plots the power of ten.
double plotted_value(const PlotKind &view, float value)
{
    if (view.source != Source::PSF || PSFPlotType != PSF_LOGARITHMIC) return value;
    PSFthold = static_cast<float>(1.0 / std::pow(10.0, nPSFdecades - 1));
    if (value < PSFthold) value = PSFthold;
    // In double: a float clip value lies just off its power of ten, and the levels traced
    // around the clipped floor depend on which side.
    return std::log10(static_cast<double>(value));
}

int first_index(int start) { return std::max(start, 1); }
int last_index(int stop) { return std::min(stop, GRID); }

void fill_slice(const PlotKind &view)
{
    float **array = array_of(view.source);
    const double centre = view.source == Source::PSF ? CENTRE : PUPIL_CENTRE;
    const double step = view.source == Source::PSF ? XPSFStep : XPupilStep;  // Y-slices too
    const int first = first_index(view.alongI ? istart : jstart);
    const int last = last_index(view.alongI ? istop : jstop);
    for (int k = first; k <= last; k++) {
        const float value = view.alongI ? array[k][CENTRE] : array[CENTRE][k];
        x[ij] = (k - centre) * step;
        z[ij] = plotted_value(view, value);
        sym[ij] = 42;
        ij++;
    }
}

void fill_grid(const PlotKind &view)
{
    float **array = array_of(view.source);
    const bool psf = view.source == Source::PSF;
    const double centre = psf ? CENTRE : PUPIL_CENTRE;
    const double xstep = psf ? XPSFStep : XPupilStep, ystep = psf ? YPSFStep : YPupilStep;
    const bool contour = view.shape == Shape::Contour;
    for (int j = first_index(jstart); j <= last_index(jstop); j++) {
        if (contour) numxplotpts++;
        for (int i = first_index(istart); i <= last_index(istop); i++) {
            x[ij] = (j - centre) * xstep;
            y[ij] = (i - centre) * ystep;
            z[ij] = plotted_value(view, array[i][j]);
            sym[ij] = j + 65;
            ij++;
        }
        if (contour) numyplotpts++;
    }
}

void set_title(const PlotKind &view)
{
    if (view.title) {
        zG.Title = view.title;
        return;
    }
    char a[32], b[32];
    if (view.kind == 8) {
        sig = 3;
        std::snprintf(szPlotTitle, sizeof szPlotTitle, "Centroids: x = %s     y = %s",
                      general(xpsfcent * XPSFStep, 3, a, sizeof a), general(ypsfcent * YPSFStep, 3, b, sizeof b));
    } else {
        std::snprintf(szPlotTitle, sizeof szPlotTitle, "%s waves RMS", general(wavesrms, sig, a, sizeof a));
    }
    zG.Title = szPlotTitle;
}

const PlotKind *plot_kind(int kind)
{
    for (const PlotKind &view : kPlotKinds)
        if (view.kind == kind) return &view;
    return nullptr;
}

}  // namespace

void DrawPlot(HDC dc, const RECT &client, int kind)
{
    const PlotKind *view = plot_kind(kind);
    if (!view) return;
    set_domains();
    for (int k = 0; k < 10; k++) PlotColorArray[k] = RGB_color(view->colourStart - k);

    hdc = dc;
    theRect = client;
    zG = zGraphStruct{};
    SetZoom();
    ij = 0;
    if (view->shape == Shape::Contour) numxplotpts = numyplotpts = 0;

    if (view->shape == Shape::Slice)
        fill_slice(*view);
    else
        fill_grid(*view);

    numplotpts = ij;
    // An empty index window (zoom never set) leaves the extents at 0 rather than reading
    // before the buffers.
    const int last = std::max(numplotpts - 1, 0);
    graph_xneg_extent = numplotpts ? x[0] : 0;
    graph_xpos_extent = numplotpts ? x[last] : 0;
    if (view->shape != Shape::Slice) {
        graph_yneg_extent = numplotpts ? y[0] : 0;
        graph_ypos_extent = numplotpts ? y[last] : 0;
    }

    set_title(*view);
    switch (view->shape) {
    case Shape::Slice: Make_F2D_Graph(); break;
    case Shape::Surface: Make_XYZ_Graph(SURFACE_MODE); break;
    case Shape::Contour:
        num_contours = view->contours;
        Make_Contour_Graph(CONTOUR_LINES_ONLY);
        break;
    }
}

void PaintPlot(HWND window, HDC dc, int kind)
{
    RECT client{};
    GetClientRect(window, &client);
    DrawPlot(dc, client, kind);
}
