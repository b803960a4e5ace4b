#include "charts/xy_graph.h"

#include <new>

void XYGraph(const zGraphStruct *record)
{
    zGraph *graph = new (std::nothrow) zGraph(record);
    if (!graph) return;
    // The XY chart has no class of its own: it is zGraph driven through its steps.
    if (graph->zInitGraph() && graph->zScaleData()) {
        graph->ItemStyle = 1;  // numbers under the x axis, whatever the record asked for
        graph->zDrawGraphAxes();
        graph->zDrawGrid();
        graph->zDrawDataPoints();
        graph->zDrawLegend(0);
        graph->zShowGraphTitles();
    }
    graph->zTerminateGraph();
    delete graph;
}
