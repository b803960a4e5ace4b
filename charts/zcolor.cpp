#include "charts/zcolor.h"

#include <cmath>
#include <limits>

COLORREF zMakeColor(unsigned char r, unsigned char g, unsigned char b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}

COLORREF RGB_color(int i)
{
    // The program's 64 colours: the 16 classic display colours first (0 black, 15 white).
    static const unsigned char table[64][3] = {
        {0, 0, 0},       {0, 0, 128},     {0, 128, 0},     {0, 128, 128},   {128, 0, 0},
        {128, 0, 128},   {128, 128, 0},   {192, 192, 192}, {128, 128, 128}, {0, 0, 255},
        {0, 255, 0},     {0, 255, 255},   {255, 0, 0},     {255, 0, 255},   {255, 255, 0},
        {255, 255, 255}, {64, 64, 64},    {224, 224, 224}, {255, 192, 192}, {255, 224, 192},
        {255, 255, 224}, {192, 255, 192}, {192, 255, 255}, {192, 192, 255}, {112, 112, 112},
        {192, 0, 0},     {192, 64, 0},    {192, 192, 0},   {0, 192, 0},     {0, 192, 192},
        {0, 0, 192},     {192, 0, 192},   {32, 32, 32},    {255, 128, 255}, {255, 128, 128},
        {255, 192, 128}, {255, 255, 128}, {128, 255, 128}, {128, 255, 255}, {128, 128, 255},
        {64, 64, 64},    {208, 208, 208}, {128, 64, 0},    {128, 128, 0},   {144, 144, 144},
        {0, 192, 255},   {255, 0, 128},   {32, 0, 32},     {80, 80, 80},    {224, 224, 224},
        {255, 192, 255}, {255, 128, 0},   {192, 255, 96},  {0, 128, 128},   {0, 32, 32},
        {32, 32, 0},     {48, 48, 48},    {64, 0, 0},      {128, 64, 64},   {64, 64, 0},
        {0, 64, 0},      {0, 64, 64},     {0, 0, 64},      {64, 0, 64},
    };
    if (i < 0 || i > 63) i = 0;
    return zMakeColor(table[i][0], table[i][1], table[i][2]);
}

int zRound(double x)
{
    // Coordinates computed from degenerate ranges can be huge or not a number; they end up at
    // the edge of the int range (0 for not a number) instead of in undefined conversion.
    if (std::isnan(x)) return 0;
    const double f = std::floor(x);
    const double rounded = x - f >= 0.5 ? f + 1 : f;
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}
