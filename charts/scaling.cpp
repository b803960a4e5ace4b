// Axis ranges, tick selection, device positions of the data, and axis number texts.
#include "charts/graph.h"

void zGraph::zSizeData() {}
int zGraph::zScaleData() { return 1; }
void zGraph::zGetBestFitAxisDivisions() {}
void zGraph::zCalcTicks(double &, double &, int &) {}
void zGraph::zFindBestFit(double, double, int &, double &) {}
int zGraph::zScaleYData(int) { return 1; }
int zGraph::zScale3DGraphData() { return 1; }
void zGraph::zConvertValue(double, char *out) { out[0] = '\0'; }
