// The plot views (kinds 7 to 18 and 20 to 27): slices, 3-D surfaces, contour maps and colour
// images of the pupil transmission, the pupil phase, the PSF and its MTF. A plot is a value:
// DescribePlot turns the current array and settings into a description that owns its points and its
// graph record, ApplyPlotSettings makes the one change a paint leaves in the settings, and DrawPlot
// hands the record to the view's chart. Nothing is kept from one paint to the next.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "charts/colour_map.h"
#include "charts/graph.h"
#include "platform/win32.h"
#include "views/registry.h"

struct PlotDescription {
    const ViewEntry *view = nullptr;  // the registry row; null for a kind that is no plot
    RECT window{};                    // the client rectangle the chart fills
    // Per point: abscissa, ordinate (surfaces and contour maps) and value; a slice keeps its
    // values in z, which its chart takes as the y data.
    std::vector<double> x, y, z;
    std::vector<std::int32_t> sym;  // symbol code; a change of code starts a data set
    int columns = 0, rows = 0;      // the grid of a surface or contour map, columns j by rows i
    std::optional<float> logClip;   // a logarithmic PSF: values below it plot at its logarithm
    // An image: x holds the centre of each column, y of each row, z the colour values, first
    // index fastest, and raw the values themselves (a logarithmic PSF image colours the power
    // of ten relative to 100, down to -logDecades).
    std::vector<double> raw;
    std::optional<int> logDecades;
    std::string title;
    std::string axisTitle;      // an image: under the x axis, the unit of both axes
    COLORREF colours[10] = {};  // data set k
    // Every option and limit of the chart. Its pointers are set by DrawPlot, to the members
    // above and the context drawn into, so a description may be copied and moved freely.
    zGraphStruct graph{};
};

// The plot of view kind for a client rectangle, from the current array, zoom window and
// settings. Refreshes the sampling steps and the zoom window first (set_domains, SetZoom).
PlotDescription DescribePlot(int kind, const RECT &window);
// Draws the whole chart into dc through the view's chart entry.
void DrawPlot(PlotDescription &plot, HDC dc);
// The choices of an image view's context menu, kept per view while the program runs: its colour
// map and, for the PSF, whether it is logarithmic (unset: as the Analysis Options say).
struct ImageOptions {
    zColourMap map = zColourMap::Viridis;
    std::optional<bool> logarithmic;
};
// The options of image view kind (the phase starts with the diverging map); null for a kind
// that is no image view.
ImageOptions *ImageOptionsFor(int kind);
// Whether the PSF image of these options shows powers of ten.
bool ImageIsLogarithmic(const ImageOptions &options);

// What painting a plot changes in the settings: a logarithmic PSF plot leaves its clip value
// in PSFthold, and the PSF 3-D view sets sig to 3, so that the pupil phase 3-D title and the
// Phase Plate dialog show three significant digits from then on.
void ApplyPlotSettings(const PlotDescription &plot);
