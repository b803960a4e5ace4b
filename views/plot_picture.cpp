#include "views/plot_picture.h"

#include "optics/output_file.h"
#include "platform/dc.h"
#include "views/plot.h"

PictureFormat PictureFormatForPath(const std::string &path)
{
    if (path.size() < 5) return PictureFormat::None;  // a name before the ending
    if (has_ending(path, ".svg")) return PictureFormat::Svg;
    if (has_ending(path, ".png")) return PictureFormat::Png;
    return PictureFormat::None;
}

void DrawPlotPicture(HDC dc, const RECT &window, int kind)
{
    PlotDescription plot = DescribePlot(kind, window);
    ApplyPlotSettings(plot);
    DrawPlot(plot, dc);
}

bool PlotPicture(int kind, int width, int height, PictureFormat format, std::string &bytes)
{
    if (format == PictureFormat::None) return false;
    HDC dc = format == PictureFormat::Svg ? CreateSvgDC(width, height, nullptr)
                                          : CreateImageDC(width, height);
    if (!dc) return false;
    DrawPlotPicture(dc, RECT{0, 0, width, height}, kind);
    const BOOL ok =
        format == PictureFormat::Svg ? GetSvgDocument(dc, &bytes) : GetImagePng(dc, &bytes);
    DeleteDC(dc);
    return ok != FALSE;
}
