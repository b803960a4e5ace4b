// The plot views. Their charts are not drawn yet; the window frame, sizing, closing and the
// registry already work for them through ChildWndProc.
#include "views/plot.h"

void PaintPlot(HWND, HDC, int) {}
