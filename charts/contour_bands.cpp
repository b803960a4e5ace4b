// What becomes of each traced contour line: it is drawn into the axes rectangle and kept as a
// closed polygon; a line that ends on the boundary is closed along the boundary. The filled
// pass traces every level once without drawing, then paints the kept polygons largest first,
// each in the colour band of its level, so that the smaller polygons inside stay visible.
#include "charts/contour.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <numeric>
#include <vector>

namespace {

// A normalised point lies on an edge of the axes rectangle within a thousandth of it.
bool on_left(const dPoint &p) { return p.x < 0.001; }
bool on_right(const dPoint &p) { return p.x > 0.999; }
bool on_top(const dPoint &p) { return p.y < 0.001; }
bool on_bottom(const dPoint &p) { return p.y > 0.999; }
bool on_edge(const dPoint &p) { return on_left(p) || on_right(p) || on_top(p) || on_bottom(p); }

enum Edge { kNoEdge, kLeft, kRight, kTop, kBottom };

// Device pixels: the mapped coordinates truncated toward zero. Traced points map into the
// axes rectangle, so the values always fit.
POINT device_point(const dPoint &p) { return POINT{static_cast<int>(p.x), static_cast<int>(p.y)}; }

}  // namespace

int zContour::zDrawDataPoints()
{
    zActivatePens();
    zActivateBrushes();
    if (!zLinesOnly()) zDrawFilledContours();
    bTraceDraws = 1;
    zDrawContourLines();  // every line traced again and drawn over the bands
    return NumPolys;
}

void zContour::zDrawFilledContours()
{
    bTraceDraws = 0;
    zDrawContourLines();
    if (!pPolyStore || !pWork) return;
    for (int k = 0; k < NumPolys; ++k) {
        pPolyStore[k].bDrawn = 0;
        pPolyStore[k].Area = GetPolyArea(pPolyStore[k].PointCount, pPolyStore[k].Points);
    }
    // Largest area first; of equal areas the one kept first; a polygon without area never.
    // (A stable sort gives the order of repeatedly taking the strictly largest one left.)
    std::vector<int> order(static_cast<std::size_t>(NumPolys));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return pPolyStore[a].Area > pPolyStore[b].Area; });
    const double minValue = pWork->MinValue, maxValue = pWork->MaxValue;
    for (const int index : order) {
        zContourPoly &poly = pPolyStore[index];
        if (!(poly.Area > 0.0)) break;
        // The band follows the level's value: NumLevels bands between the extremes.
        int k = zRound(NumLevels * (poly.Level - minValue) / (maxValue - minValue) - 0.5);
        k = std::clamp(k, 0, 9);
        zDrawPolygon(poly.Points, poly.PointCount, hBrushes[k], hAxisPen);
        poly.bDrawn = 1;
    }
}

void zContour::SetPolyPoints(int count, const dPoint *points, double level)
{
    if (count < 2) return;
    // Once the store is full, lines are still drawn but no longer kept.
    zContourPoly *poly = pPolyStore && NumPolys < zPolyStoreSize ? &pPolyStore[NumPolys] : nullptr;
    const bool edgeLine = on_edge(points[0]);

    int stored = 0;
    const POINT start = device_point(ScalePoint(points[0]));
    zMoveTo(start.x, start.y);
    if (poly) poly->Points[0] = start;
    ++stored;
    if (bTraceDraws) zActivatePens();  // the axis pen
    int taken = 1;
    for (; taken < count && stored < zMaxPolyPoints; ++taken) {
        const POINT q = device_point(ScalePoint(points[taken]));
        if (bTraceDraws) zLineTo(q.x, q.y);
        if (poly) poly->Points[stored] = q;
        ++stored;
    }

    if (edgeLine) {
        dPoint extra[4];
        int n = 0;
        AddBoundaryPts(points[0], points[taken - 1], extra, n);
        for (int e = 0; e < n && stored < zMaxPolyPoints; ++e) {
            if (poly) poly->Points[stored] = device_point(ScalePoint(extra[e]));
            ++stored;
        }
    } else {
        if (poly) poly->Points[stored] = start;
        ++stored;
    }
    if (!poly) return;
    poly->PointCount = stored;
    poly->Level = level;
    ++NumPolys;
}

// Closes a line that ends on the boundary: back from its last point to its first along the
// boundary, through the corner two adjacent edges share, or between opposite edges round the
// side with the shorter route (on a tie the second route). extra[0] repeats the last point.
void zContour::AddBoundaryPts(const dPoint &first, const dPoint &last, dPoint *extra, int &n)
{
    n = 0;
    extra[0] = last;
    const Edge lastEdge = on_left(last)     ? kLeft
                          : on_right(last)  ? kRight
                          : on_top(last)    ? kTop
                          : on_bottom(last) ? kBottom
                                            : kNoEdge;
    const dPoint c00{0.0, 0.0}, c10{1.0, 0.0}, c01{0.0, 1.0}, c11{1.0, 1.0};
    auto route = [&](std::initializer_list<dPoint> corners) {
        n = 1;
        for (const dPoint &c : corners) extra[n++] = c;
        extra[n++] = first;
    };
    const double fx = first.x, fy = first.y, lx = last.x, ly = last.y;
    switch (lastEdge) {
    case kLeft:
        if (on_left(first))
            route({});
        else if (on_right(first)) {
            if (std::fabs(fy) + 1 + std::fabs(ly) < std::fabs(1 - fy) + 1 + std::fabs(1 - ly))
                route({c00, c10});
            else
                route({c01, c11});
        } else if (on_top(first))
            route({c00});
        else if (on_bottom(first))
            route({c01});
        break;
    case kRight:
        if (on_right(first))
            route({});
        else if (on_left(first)) {
            if (std::fabs(1 - fy) + 1 + std::fabs(1 - ly) < std::fabs(fy) + 1 + std::fabs(ly))
                route({c11, c01});
            else
                route({c10, c00});
        } else if (on_top(first))
            route({c10});
        else if (on_bottom(first))
            route({c11});
        break;
    case kTop:
        if (on_top(first))
            route({});
        else if (on_bottom(first)) {
            if (std::fabs(1 - lx) + 1 + std::fabs(1 - fx) < std::fabs(fx) + 1 + std::fabs(lx))
                route({c10, c11});
            else
                route({c00, c01});
        } else if (on_right(first))
            route({c10});
        else if (on_left(first))
            route({c00});
        break;
    case kBottom:
        if (on_bottom(first))
            route({});
        else if (on_top(first)) {
            if (std::fabs(fx) + 1 + std::fabs(lx) < std::fabs(1 - fx) + 1 + std::fabs(1 - lx))
                route({c01, c00});
            else
                route({c11, c10});
        } else if (on_right(first))
            route({c11});
        else if (on_left(first))
            route({c01});
        break;
    case kNoEdge: break;
    }
}

dPoint zContour::ScalePoint(dPoint p)
{
    return dPoint{AxesLeft + std::abs(AxesRight - AxesLeft) * p.x,
                  AxesTop + std::abs(AxesTop - AxesBottom) * p.y};
}

// Shoelace sum over the closed polygon, half its absolute value.
double zContour::GetPolyArea(int n, const POINT *points)
{
    if (n < 1 || !points) return 0.0;
    double sum = 0.0;
    for (int k = 0; k < n; ++k) {
        const POINT &a = points[k];
        const POINT &b = points[(k + 1) % n];
        sum += static_cast<double>(a.x) * static_cast<double>(b.y) -
               static_cast<double>(a.y) * static_cast<double>(b.x);
    }
    return 0.5 * std::fabs(sum);
}
