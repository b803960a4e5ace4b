// Contour levels and tracing: the chart's entry and lifecycle, the level plan from the data's
// statistics, and the walk that follows each level through the grid.
//
// A cell (i, j) has corners 0 (i, j), 1 (i, j+1), 2 (i+1, j+1), 3 (i+1, j) and faces k from
// corner k to corner k+1, so the faces go round the cell in one sense:
//
//            face 0
//      (i,j) ------ (i,j+1)            across face 0 lies cell (i-1, j)
//        |             |               across face 1 lies cell (i, j+1)
//  face 3|             |face 1         across face 2 lies cell (i+1, j)
//        |             |               across face 3 lies cell (i, j-1)
//    (i+1,j) ------ (i+1,j+1)
//            face 2
//
// A line enters a cell through a face whose first corner is at or above the level and whose
// second corner is below it, and leaves through the face it crosses next; the shared face is
// numbered (k + 2) mod 4 in the neighbour, where it runs the other way.
#include "charts/contour.h"

#include <cmath>
#include <cstring>
#include <new>

#include "charts/legend.h"

namespace {

const char kGridSizeMessage[] =
    "Contour Grid Needs 2 to 65536 Points Each Way and at Most 65536 in All!";
const char kNoMemoryMessage[] = "Insufficient Memory--Contour Graph";

// Grid offsets of corners 0..3 of a cell.
constexpr int kCornerDi[4] = {0, 0, 1, 1};
constexpr int kCornerDj[4] = {0, 1, 1, 0};

bool all_finite(const double *data, long count)
{
    for (long k = 0; k < count; ++k)
        if (!std::isfinite(data[k])) return false;
    return true;
}

// The byte and bit of the mark of face k of cell (i, j): the byte of the face's lower-numbered
// end, bit 1 for a face along the second index, bit 2 for one along the first index.
struct FaceMark {
    long index;
    std::uint8_t bit;
};

FaceMark face_mark(int i, int j, int face, int rows)
{
    switch (face & 3) {
    case 0: return {static_cast<long>(j) * rows + i + 1, 1};      // (i, j) to (i, j+1)
    case 1: return {static_cast<long>(j + 1) * rows + i + 1, 2};  // (i, j+1) to (i+1, j+1)
    case 2: return {static_cast<long>(j) * rows + i + 2, 1};      // (i+1, j) to (i+1, j+1)
    default: return {static_cast<long>(j) * rows + i + 1, 2};     // (i, j) to (i+1, j)
    }
}

}  // namespace

zContour::zContour(const zGraphStruct *record)
    : zGraph(record), NumLevels(8), NumPolys(0), NumColumns(0), NumRows(0), bTraceDraws(1),
      pPolyStore(nullptr), pWork(nullptr)
{
}

zContour::~zContour() { zReleaseContourStore(); }

void zContour::zReleaseContourStore()
{
    delete pWork;
    pWork = nullptr;
    delete[] pPolyStore;
    pPolyStore = nullptr;
    NumPolys = 0;
}

void ContourGraph(const zGraphStruct *record)
{
    zContour graph(record);
    graph.zDraw();
}

int zContour::zInitGraph()
{
    const int ok = zGraph::zInitGraph();
    if (!pWork) pWork = new (std::nothrow) zContourData{};
    if (!pPolyStore) pPolyStore = new (std::nothrow) zContourPoly[zPolyStoreSize];
    if (!pWork || !pPolyStore) {
        zDisplayError(kNoMemoryMessage);
        return 0;
    }
    NumPolys = 0;
    return ok;
}

int zContour::zPrepareData() { return zCheckForLegalData(); }

int zContour::zCheckForLegalData()
{
    NumColumns = zRound(zGridColumns());
    NumRows = zRound(zGridRows());
    if (NumColumns < 1 || NumRows < 1) {
        zDisplayError("Did Not Specify Number of Rows or Columns In Data!");
        return 0;
    }
    // A single row or column has no cells (and its normalisation would divide by zero); more
    // than 65536 values would wrap the 16-bit grid index.
    const long points = static_cast<long>(NumRows) * NumColumns;
    if (NumRows < 2 || NumColumns < 2 || points > zMaxContourGridPoints) {
        zDisplayError(kGridSizeMessage);
        return 0;
    }
    if (pZData && !all_finite(pZData, points)) {
        zDisplayError("Contour Data Must Be Finite!");
        return 0;
    }
    if (zLevelsAsked() > 0) {
        NumLevels = zLevelsAsked();
        if (NumLevels > 10 && !zLinesOnly()) {  // only ten band colours
            zDisplayError("You Requested Too Many Contour Levels!");
            NumLevels = 10;
        }
    }
    NumSets = NumLevels;  // one legend entry per level
    return 1;
}

void zContour::zDrawGraphAxes() { zGraph::zzDrawGraphAxes(0, 0); }

void zContour::zDrawGrid() {}

int zContour::zLegendSamples() { return zLegendBarSamples; }

void zContour::zTerminateGraph()
{
    zReleaseContourStore();
    zGraph::zTerminateGraph();
}

void zContour::zDrawContourLines()
{
    NumPolys = 0;
    PlotContours(pZData, NumRows, NumColumns, 0.0);
}

void zContour::PlotContours(const double *data, int rows, int cols, double interval)
{
    // The grid checks keep rows and cols within 2..32768 and their product within 65536.
    if (!pWork || !data || rows < 2 || cols < 2 ||
        static_cast<long>(rows) * cols > zMaxContourGridPoints)
        return;
    zContourData &w = *pWork;
    w.pData = data;
    w.Rows = static_cast<std::int16_t>(rows);
    w.Cols = static_cast<std::int16_t>(cols);
    const long cells = static_cast<long>(rows) * cols;
    w.pFaceMarks = new (std::nothrow) std::uint8_t[(rows + 1) * static_cast<long>(cols)];
    w.pLinePoints = new (std::nothrow) dPoint[2 * cells];
    if (!w.pFaceMarks || !w.pLinePoints) {
        zDisplayError(kNoMemoryMessage);
    } else if (scaleData(interval)) {
        startLine();
    }
    delete[] w.pFaceMarks;
    delete[] w.pLinePoints;
    w.pFaceMarks = nullptr;
    w.pLinePoints = nullptr;
    w.NumLinePoints = 0;
}

// The level plan. The step is four standard deviations shared out over the requested levels
// and rounded to one significant digit, so the levels are the multiples of a round number
// that fall between the smallest and the largest value. Worked example, a 3 x 3 grid of
// zeros with 1 in the middle and 8 levels: mean 1/9, standard deviation 1/3, step
// 4 x (1/3) / 8 = 1/6, rounded 0.2; first level 0 - floor(7 x 0.5) x 0.2 = -0.6.
int zContour::scaleData(double interval)
{
    zContourData &w = *pWork;
    const long count = static_cast<long>(w.Rows) * w.Cols;
    double sum = 0.0, sumSquares = 0.0, n = 0.0;
    for (long k = 0; k < count; ++k) {
        const double v = w.pData[k];
        if (k == 0) {
            w.MaxValue = w.MinValue = v;
        } else if (v > w.MaxValue) {
            w.MaxValue = v;
        } else if (v < w.MinValue) {
            w.MinValue = v;
        }
        sum += v;
        sumSquares += v * v;
        n += 1.0;
    }
    w.MeanValue = sum / n;
    if (w.MinValue == w.MaxValue) return 0;
    w.StdDev = std::sqrt((sumSquares - sum * sum / n) / (n - 1.0));
    if (!std::isfinite(interval)) return 0;

    const double range = w.MaxValue - w.MinValue;
    double step;
    double levels;  // n of the plan, kept as a double so that no count overflows
    if (interval > 0.0) {
        step = interval;
        levels = static_cast<double>(zRound(range / step)) + 1.0;
        while (levels > 40.0) {
            step *= 2.0;
            levels = static_cast<double>(zRound(range / step)) + 1.0;
        }
    } else {
        const double magnitude = std::fabs(interval);
        levels = magnitude < 1e-6 ? NumLevels : std::trunc(magnitude);
        step = 4.0 * w.StdDev / levels;
        const double p = std::pow(10.0, std::floor(std::log10(step)));
        step = std::floor((step + 0.5 * p) / p) * p;
    }
    // A step that is not a positive number (levels 0, a spread lost to rounding) or so small
    // that the levels cannot be counted out plans nothing.
    if (!(step > 0.0) || !std::isfinite(step) || range / step > zMaxContourLevels) return 0;

    // Data that straddle zero get their levels about the mean, others from the minimum; only
    // the levels strictly between the extremes cross anything.
    const double base = w.MaxValue * w.MinValue < 0.0 ? w.MeanValue : w.MinValue;
    double level = std::floor(base / step) * step - std::floor((levels - 1.0) * 0.5) * step;
    while (level - step > w.MinValue && level - step < level) level -= step;
    if ((w.MaxValue - level) / step > zMaxContourLevels) return 0;
    w.FirstLevel = level;
    w.LevelStep = step;
    return 1;
}

void zContour::startLine()
{
    zContourData &w = *pWork;
    const long marks = static_cast<long>(w.Rows) * w.Cols;
    double level = w.FirstLevel;
    for (long tried = 0; level < w.MaxValue && tried <= zMaxContourLevels; ++tried) {
        w.bAboveMean = level >= w.MeanValue;
        // A level at or below the smallest value crosses no face.
        if (level > w.MinValue) {
            std::memset(w.pFaceMarks, 0, static_cast<std::size_t>(marks));
            for (std::uint8_t side = 0; side < 4; ++side) startEdge(level, side);
            startInterior(level);
        }
        const double next = level + w.LevelStep;  // repeated addition, as the levels were planned
        if (!(next > level)) break;
        level = next;
    }
}

// The sides are walked in one rotational sense: side 0 (first index 0) with j rising, side 1
// (last column) with i rising, side 2 (last row) with j falling, side 3 (column 0) with i
// falling. A face whose earlier corner is at or above the level and later corner below it
// starts a line into the grid; the opposite crossing is where some line leaves.
void zContour::startEdge(double level, std::uint8_t side)
{
    const zContourData &w = *pWork;
    const int rows = w.Rows, cols = w.Cols;
    const int faces = side % 2 == 0 ? cols - 1 : rows - 1;
    zPOINT p{};
    p.face = side;
    for (int step = 0; step < faces; ++step) {
        switch (side) {
        case 0:
            p.i = 0;
            p.j = static_cast<std::int16_t>(step);
            break;
        case 1:
            p.i = static_cast<std::int16_t>(step);
            p.j = static_cast<std::int16_t>(cols - 2);
            break;
        case 2:
            p.i = static_cast<std::int16_t>(rows - 2);
            p.j = static_cast<std::int16_t>(cols - 2 - step);
            break;
        default:
            p.i = static_cast<std::int16_t>(rows - 2 - step);
            p.j = 0;
            break;
        }
        const double a = getDataPoint(&p, 0);
        const double b = getDataPoint(&p, 1);
        if (a >= level && level > b) {
            zPOINT walk = p;
            drawLine(&walk, level);
        }
    }
}

// Closed lines: every face along the second index inside the grid whose mark is still clear.
// The scan reads the grid directly (value (i, j) at j x Rows + i); past the last column the
// second corner lies outside the grid.
void zContour::startInterior(double level)
{
    const zContourData &w = *pWork;
    const int rows = w.Rows, cols = w.Cols;
    for (int i = 1; i <= rows - 2; ++i) {
        const double *row = w.pData + i;
        double a = row[0];
        for (int j = 0; j <= cols - 1; ++j) {
            const double b = j + 1 < cols ? row[static_cast<long>(j + 1) * rows] : zOutOfGrid;
            if (a >= level && level > b &&
                !(w.pFaceMarks[static_cast<long>(j) * rows + i + 1] & 1)) {
                zPOINT walk{static_cast<std::int16_t>(i), static_cast<std::int16_t>(j), 0};
                drawLine(&walk, level);
            }
            a = b;
        }
    }
}

// Follows one line from its entry face until it leaves the grid, comes back to a face it has
// crossed (a closed line) or meets a face already traced at this level. With corner f at or
// above the level and f+1 below, the corners f+2 and f+3 decide the exit:
//
//   c3 > level, c2 < level    straight through to f+2
//   c3 > level, c2 >= level   f+1
//   c3 <= level, c2 < level   f+3
//   c3 <= level, c2 >= level  a saddle: f+3 at or above the mean (the high corner f is cut
//                             off), f+1 below it; the other two faces stay free for the
//                             second line through the cell
void zContour::drawLine(zPOINT *p, double level)
{
    initPoint();
    for (;;) {
        if (!savePoint(p, level)) break;
        if (faceInUse(p, 2)) break;
        markInUse(p, 2);
        const double c2 = getDataPoint(p, 2);
        const double c3 = getDataPoint(p, 3);
        if (c2 == zOutOfGrid || c3 == zOutOfGrid) break;  // the line has left the grid
        std::uint8_t exitOffset;                          // exit face = entry face + offset
        if (c3 > level) {
            if (c2 < level) {
                exitOffset = 2;
                markInUse(p, 3);  // f+1
                markInUse(p, 1);  // f+3
            } else {
                exitOffset = 1;
                markInUse(p, 0);  // f+2
                markInUse(p, 1);  // f+3
            }
        } else if (c2 < level) {
            exitOffset = 3;
            markInUse(p, 3);  // f+1
            markInUse(p, 0);  // f+2
        } else {
            exitOffset = pWork->bAboveMean ? 3 : 1;
        }
        const int exitFace = (p->face + exitOffset) & 3;
        switch (exitFace) {
        case 0: --p->i; break;
        case 1: ++p->j; break;
        case 2: ++p->i; break;
        default: --p->j; break;
        }
        p->face = static_cast<std::uint8_t>((exitFace + 2) & 3);
    }
    lastPoint(level);
}

double zContour::getDataPoint(const zPOINT *p, std::uint8_t k)
{
    const zContourData &w = *pWork;
    const int corner = (p->face + k) & 3;
    const int i = p->i + kCornerDi[corner];
    const int j = p->j + kCornerDj[corner];
    if (i < 0 || i > w.Rows - 1 || j < 0 || j > w.Cols - 1) return zOutOfGrid;
    return w.pData[static_cast<std::uint16_t>(j * w.Rows + i)];
}

// k = 2 is the face the line came in through; k = 0, 1, 3 the faces face+2, face+3, face+1.
void zContour::markInUse(const zPOINT *p, std::uint8_t k)
{
    const FaceMark m = face_mark(p->i, p->j, p->face + k + 2, pWork->Rows);
    pWork->pFaceMarks[m.index] |= m.bit;
}

std::uint8_t zContour::faceInUse(const zPOINT *p, std::uint8_t k)
{
    const FaceMark m = face_mark(p->i, p->j, p->face + k + 2, pWork->Rows);
    return pWork->pFaceMarks[m.index] & m.bit;
}

void zContour::initPoint() { pWork->NumLinePoints = 0; }

// Appends where the level crosses the entry face, t of the way from its first corner to its
// second, in grid units normalised to 0..1 over the grid.
std::uint8_t zContour::savePoint(const zPOINT *p, double level)
{
    zContourData &w = *pWork;
    const double a = getDataPoint(p, 0);
    const double b = getDataPoint(p, 1);
    if (a == b) return 0;
    const double t = (a - level) / (a - b);
    double first = p->i, second = p->j;
    switch (p->face & 3) {
    case 0: second += t; break;
    case 1:
        first += t;
        second += 1.0;
        break;
    case 2:
        first += 1.0;
        second += 1.0 - t;
        break;
    default: first += 1.0 - t; break;
    }
    const dPoint point{first / (w.Rows - 1), second / (w.Cols - 1)};
    // Only the first 200 points of a line are ever drawn or kept, so a line longer than the
    // counter can hold keeps its first 65535 points and goes on being traced.
    if (w.NumLinePoints < UINT16_MAX) w.pLinePoints[w.NumLinePoints++] = point;
    return 1;
}

void zContour::lastPoint(double level)
{
    if (pWork->NumLinePoints > 0) SetPolyPoints(pWork->NumLinePoints, pWork->pLinePoints, level);
}
