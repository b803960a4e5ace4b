// A plot view as a picture file: the chart drawn as its window paints it into a client
// rectangle of a given size, as SVG (vector elements in device pixels) or PNG (the pixels).
#pragma once

#include <string>

enum class PictureFormat { None, Svg, Png };

// From the ending of a file name, ".svg" or ".png" in any case; None for anything else.
PictureFormat PictureFormatForPath(const std::string &path);

// The bytes of the picture of plot kind at width x height; false when no drawing surface
// could be made.
bool PlotPicture(int kind, int width, int height, PictureFormat format, std::string &bytes);
