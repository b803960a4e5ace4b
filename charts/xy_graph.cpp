#include "charts/xy_graph.h"

#include <new>

void XYGraph(const zGraphStruct *record)
{
    // The XY chart has no class of its own: it is zGraph's drawing sequence with zGraph's steps.
    zGraph *graph = new (std::nothrow) zGraph(record);
    if (!graph) return;
    // The x axis numbers are the only step that reads the item style, so setting it before
    // the sequence starts is setting it where they come.
    graph->ItemStyle = 1;  // numbers under the x axis, whatever the record asked for
    graph->zDraw();
    delete graph;
}
