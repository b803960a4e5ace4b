// Colours and rounding shared by every chart.
#pragma once

#include "platform/win32types.h"

// r | g << 8 | b << 16, the COLORREF of a colour.
COLORREF zMakeColor(unsigned char r, unsigned char g, unsigned char b);
// Entry i of the fixed 64-colour table; outside 0..63, entry 0 (black).
COLORREF RGB_color(int i);
// Halves round up: 2.5 gives 3, -2.5 gives -2.
int zRound(double x);
