// The plain two-dimensional chart: curves of y against x, one per data set, in a framed and
// numbered axes rectangle with optional grid, legend and titles.
#pragma once

#include "charts/graph.h"

// Draws the whole chart described by the record into its device context and returns when
// it is done; the record and everything it points to must stay valid until then.
void XYGraph(const zGraphStruct *record);
