// The legend: a framed box with one sample and title per data set.
#include "charts/graph.h"

void zGraph::zDrawLegend(int) {}
