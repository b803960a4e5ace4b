// The graph object's lifecycle: construction from the record, the setters that copy it, the
// default colours, the data sets, the drawing sequence every chart runs, and termination.
#include "charts/graph.h"

#include <cstring>
#include <utility>

#include "charts/legend.h"
#include "platform/win32.h"

zGraph::zGraph(const zGraphStruct *record)
    : bInitialized(0), bShowGrid(0), AxesHeight(0), AxesWidth(0), RAxes{0, 0, 0, 0}, XDivisions(5),
      YDivisions(5), AxesLeft(0), AxesRight(0), AxesTop(0), AxesBottom(0),
      XAxisTitle(nullptr), ItemTitles{}, LegendTitles{}, Title(nullptr), YAxisTitle(nullptr),
      XMax(0), XMin(0), YMax(0), YMin(0), ZMax(0), ZMin(0), LimitMin{}, LimitMax{}, NumPoints(0),
      pXData(nullptr), pYData(nullptr), pZData(nullptr), pSymbols(nullptr), pXPixels(nullptr),
      pYPixels(nullptr), pScaledY(nullptr), b3D(0), bAutoScale(0), DigitFormat(0),
      DigitPrecision(0), GradedBkg(0), GradedColorScheme(0), Formula(nullptr), LegendStyle(0),
      ItemStyle(0), bDrawLines(0), NumSets(0), NumSamples(0),
      NumContours(0), RLegend{0, 0, 0, 0}, RLegendEntry{0, 0, 0, 0}, bDrawSymbols(0), bTitlesSet(0),
      YScale(0), YOffset(0)
{
    zInitGraphData(record);
    bInitialized = 1;
}

zGraph::~zGraph() { zGraph::zTerminateGraph(); }

void zGraph::zInitGraphData(const zGraphStruct *record)
{
    static const zGraphStruct kEmptyRecord{};
    const zGraphStruct &g = record ? *record : kEmptyRecord;

    pXPixels = nullptr;
    pYPixels = nullptr;
    pScaledY = nullptr;
    bPensActive = 0;
    bBrushesActive = 0;

    hDC = g.hDC;
    RWindow = g.pWindowRect ? *g.pWindowRect : RECT{0, 0, 0, 0};
    if (RWindow.right < RWindow.left) std::swap(RWindow.left, RWindow.right);
    if (RWindow.top > RWindow.bottom) std::swap(RWindow.top, RWindow.bottom);

    GradedBkg = g.GradedBkg;
    GradedColorScheme = g.GradedColorScheme;
    zSetGraphColors(g.AxisColor, g.BkgColor, g.pGraphColors);
    zSetGraphTitles(g.Title, g.XAxisTitle, g.YAxisTitle);
    LegendStyle = g.LegendStyle;
    ItemStyle = g.ItemStyle;
    zSetLegendTitles(g.LegendTitles);
    zSetItemTitles(g.ItemTitles);
    zSetData(g.NumPoints, g.pXData, g.pYData, g.pZData);
    LimitMin[0] = g.XMin;
    LimitMax[0] = g.XMax;
    LimitMin[1] = g.YMin;
    LimitMax[1] = g.YMax;
    LimitMin[2] = g.ZMin;
    LimitMax[2] = g.ZMax;
    zSetSymbols(g.pSymbols);
    ShadeShift = g.ShadeShift;
    bAutoScale = g.bAutoScale;
    bDrawLines = g.bDrawLines;
    bDrawSymbols = g.bDrawSymbols;
    bShowGrid = g.bShowGrid;
    b3D = g.b3D;
    BrushStyle = g.BrushStyle;
    PenStyle = g.PenStyle;
    NumContours = g.NumContours;
    Formula = g.Formula;
    zSetAxisDivisions(g.XAxisDivisions, g.YAxisDivisions);
    zSetDigitFormat(g.DigitFormat);
    zSetDigitPrecision(g.DigitPrecision);
}

void zGraph::zSetGraphTitles(const char *title, const char *xAxisTitle, const char *yAxisTitle)
{
    Title = title;
    XAxisTitle = xAxisTitle;
    YAxisTitle = yAxisTitle;
    bTitlesSet = 1;
}

void zGraph::zSetLegendTitles(const char *const *titles)
{
    if (LegendStyle == 2 || !titles) return;
    for (int k = 0; k < 10; ++k) LegendTitles[k] = titles[k];
}

void zGraph::zSetItemTitles(const char *const *titles)
{
    if (ItemStyle == 2 || !titles) return;
    for (int k = 0; k < 30; ++k) ItemTitles[k] = titles[k];
}

void zGraph::zSetGraphColors(COLORREF axisColor, COLORREF bkgColor, const COLORREF *colors)
{
    if (colors)
        for (int k = 0; k < 10; ++k) GraphColors[k] = colors[k];
    else
        zSelectDefaultGraphColors();
    AxisColor = axisColor;
    BkgColor = bkgColor;
}

void zGraph::zSelectDefaultGraphColors()
{
    // Navy, green, teal, maroon, purple, olive, silver, grey, blue, lime.
    for (int k = 0; k < 10; ++k) GraphColors[k] = RGB_color(k + 1);
    AxisColor = RGB_color(15);
}

void zGraph::zSetData(int count, double *x, double *y, double *z)
{
    NumPoints = count < 0 ? 0 : count;
    pXData = x;
    pYData = y;
    pZData = z;
}

void zGraph::zSetSymbols(std::int32_t *symbols) { pSymbols = symbols; }

void zGraph::zSetAxisDivisions(int xDivisions, int yDivisions)
{
    XDivisions = xDivisions == 0 ? 5 : xDivisions;
    YDivisions = yDivisions == 0 ? 5 : yDivisions;
}

void zGraph::zSetDigitFormat(int format) { DigitFormat = format; }

void zGraph::zSetDigitPrecision(int precision) { DigitPrecision = precision; }

void zGraph::zGetSetsAndSamples()
{
    // Raw codes are compared here, so a negative code (a break in the line) also starts a
    // new run; NumSamples is the length of the first run.
    NumSamples = 0;
    NumSets = 1;
    for (int i = 0; i < NumPoints; ++i) {
        if (i > 0 && pSymbols && pSymbols[i] != pSymbols[i - 1]) ++NumSets;
        if (NumSets == 1) ++NumSamples;
    }
}

void zGraph::zDeleteArrays()
{
    delete[] pXPixels;
    delete[] pYPixels;
    delete[] pScaledY;
    pXPixels = nullptr;
    pYPixels = nullptr;
    pScaledY = nullptr;
}

void zGraph::zSetUpGraphLayout()
{
    zSetGraphAxesRect();
    zSetLegendRect();
}

// ---- The drawing sequence -------------------------------------------------------------------

void zGraph::zDraw()
{
    if (zCheckBeforeInit() && zInitGraph() && zPrepareData()) {
        zDrawGraphAxes();
        zDrawGrid();
        zDrawDataPoints();
        zDrawOverData();
        zDrawLegend(zLegendSamples());
        zShowGraphTitles();
    }
    zTerminateGraph();
}

int zGraph::zCheckBeforeInit() { return 1; }

int zGraph::zCheckForLegalData()
{
    zGetSetsAndSamples();
    return 1;
}

void zGraph::zDrawOverData() {}

int zGraph::zLegendSamples() { return zLegendLineSamples; }

int zGraph::zPrepareData() { return zScaleData(); }

int zGraph::zInitGraph()
{
    if (!hDC) {
        zDisplayError("Error--HDC Invalid or Not Set!");
        return 0;
    }
    if (RWindow.right == 0) {
        zDisplayError("Error--Window Rectangle [RWindow] Invalid/Not Set");
        return 0;
    }
    zSaveGraphics();
    zGetDefaultTextSize();
    zFillBackground();
    zSetUpGraphLayout();
    SetBkMode(hDC, TRANSPARENT);
    return 1;
}

void zGraph::zTerminateGraph()
{
    if (bInitialized) {
        zDeleteArrays();
        zRestoreGraphics();
        zDeletePens();
        zDeleteBrushes();
    }
    bInitialized = 0;
}
