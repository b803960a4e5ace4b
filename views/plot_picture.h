// A plot view as a picture file: the chart drawn as its window paints it into a client
// rectangle of a given size, as SVG (vector elements in device pixels) or PNG (the pixels).
#pragma once

#include <string>

#include "platform/win32.h"

enum class PictureFormat { None, Svg, Png };

// From the ending of a file name, ".svg" or ".png" in any case; None for anything else.
PictureFormat PictureFormatForPath(const std::string &path);

// Draws plot kind into dc as its window paints it when its client rectangle is window, the
// change to the settings included: a picture of a view is that view.
void DrawPlotPicture(HDC dc, const RECT &window, int kind);

// The bytes of the picture of plot kind at width x height; false when no drawing surface
// could be made.
bool PlotPicture(int kind, int width, int height, PictureFormat format, std::string &bytes);
