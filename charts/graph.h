// The graph description record and the graph object every chart is drawn by.
//
// A caller fills one zGraphStruct (device context, window rectangle, data pointers, display
// options) and hands it to an entry function (XYGraph, XYZGraph, ContourGraph). The entry
// function builds a short-lived zGraph (or a subclass) from it, runs the drawing sequence
// zGraph::zDraw and destroys the object before returning. The graph copies pointers, not the
// data or texts they point to, so the record and everything it points to must outlive the call.
//
// Some fields mean one thing to one chart type and another to the next; the chart classes read
// them through accessors named for their meaning (zContour::zLinesOnly, zContour::zGridColumns,
// zContour::zGridRows, zContour::zLevelsAsked, zXYZGraph's option bits in charts/surface.h).
#pragma once

#include <climits>
#include <cstdint>

#include "charts/zlowlevel.h"

// Fields in this order; an all-zero record is the neutral starting point.
struct zGraphStruct {
    HDC hDC;                  // surface to draw into
    const RECT *pWindowRect;  // part of the surface the whole chart occupies
    double *pXData;           // x of each point (XY, 3-D)
    double *pYData;           // y of each point, the plotted value of an XY chart
    double *pZData;           // z of each point (3-D, contour)
    std::int32_t *pSymbols;   // per-point symbol code; a change of |code| starts a data set
    std::int32_t NumPoints;   // points in each data array
    COLORREF AxisColor;       // axes, frame, grid, text
    COLORREF BkgColor;
    const COLORREF *pGraphColors;  // 10 data-set colours; null selects the defaults
    std::int32_t BrushStyle;       // 0 solid, 1 hatched, 2 8x8 pattern, otherwise solid
    const char *Title;
    const char *XAxisTitle;
    const char *YAxisTitle;
    const char *LegendTitles[10];  // one per data set
    const char *ItemTitles[30];    // labels under the x divisions instead of numbers
    std::int32_t LegendStyle;      // 0 column left of the axes, 1 strip below, 2 no legend
    std::int32_t ItemStyle;        // x labels: 0 item titles, 1 numbers, 2 none
    std::int32_t bDrawLines;
    std::int32_t bDrawSymbols;
    std::int32_t bShowGrid;          // XY: grid lines; contour: lines only, no filled bands
    std::int32_t bAutoScale;         // ranges from the data; 0: from the limits, data clipped
    std::int32_t b3D;                // frame drawn as a 3-D box
    std::int32_t GradedBkg;          // nonzero: graded background of this mode
    std::int32_t GradedColorScheme;  // 0..15
    std::int32_t XAxisDivisions;     // 0 means 5; negative asks for the best fit
    std::int32_t YAxisDivisions;
    std::int32_t DigitFormat;  // -1, 0, 1 or 2, see zGraph::zConvertValue
    std::int32_t DigitPrecision;
    std::int32_t PenStyle;    // grid pen: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot
    std::int32_t ShadeShift;  // right shift that darkens side faces
    double XMin, XMax;        // limits used when bAutoScale is 0; contour: XMax columns
    double YMin, YMax;        // contour: YMax rows
    double ZMin, ZMax;
    std::int32_t NumContours;  // contour: number of levels; 3-D: option bits
    const char *Formula;       // 3-D: F(X,Y) to plot instead of the data; empty plots the data
};

// Axis labels and legend titles pass through work buffers of this many characters (the
// terminating zero included); longer texts are cut to fit.
constexpr int zLabelBufferSize = 175;
// The sizing text of the legend holds at most this many letters.
constexpr int zMaxLegendSizingLength = 80;
// A point whose position cannot be computed (a coordinate that is not a finite number) holds
// this in the pixel arrays; it is not drawn and no line joins it.
constexpr int zNoPixel = INT_MIN;
// Device positions are kept within this many pixels of the window, however far outside the
// axes a value lies, so that clipping still works and no coordinate overflows.
constexpr int zPixelMargin = 32767;

class zGraph : public zLowLevelGraphics {
public:
    // A null record reads as an all-zero one.
    explicit zGraph(const zGraphStruct *record);
    // Runs zGraph's own termination (a no-op when it has run already). Virtual so that a
    // chart deleted through a zGraph pointer still runs its own destructor first.
    virtual ~zGraph();

    zGraph(const zGraph &) = delete;
    zGraph &operator=(const zGraph &) = delete;

    // Draws the whole chart. Every chart type runs this one sequence of virtual steps and
    // changes what a step does (or makes it do nothing), never the order:
    //    1. zCheckBeforeInit     a record refused here leaves the device untouched
    //    2. zInitGraph           background and layout
    //    3. zPrepareData         ranges and device positions of the data
    //    4. zDrawGraphAxes       frame and axis numbers
    //    5. zDrawGrid
    //    6. zDrawDataPoints
    //    7. zDrawOverData        what must lie on top of the data
    //    8. zDrawLegend(zLegendSamples())
    //    9. zShowGraphTitles
    //   10. zTerminateGraph
    // A step of 1 to 3 that fails (returns 0 after its message) ends the drawing; the graph is
    // terminated all the same.
    void zDraw();

    // The steps, zGraph's own as the XY chart draws them.
    virtual int zCheckBeforeInit();    // 1: go on; the XY chart checks nothing here
    virtual int zCheckForLegalData();  // counts sets and samples; 1 when the data can be drawn
    virtual void zDrawGraphAxes();     // numbers and frame
    virtual int zDrawDataPoints();     // returns the number of data sets drawn
    virtual void zDrawGrid();          // zDraw3DGrid when b3D, else zDraw2DGrid
    virtual void zDraw2DGrid();
    virtual void zDraw3DGrid();
    virtual void zDrawLegend(int samples);  // zLegendLineSamples or zLegendBarSamples
    virtual void zDrawOverData();           // nothing
    virtual int zInitGraph();               // 1 ok, 0 failed after a message
    virtual int zLegendSamples();           // zLegendLineSamples
    virtual int zPrepareData();             // zScaleData
    virtual int zScaleData();               // 1 ok, 0 failed after a message
    virtual void zShowGraphTitles();
    virtual void zShowXAxisNumbers();
    virtual void zShowYAxisNumbers();
    virtual void zTerminateGraph();  // releases everything the graph made; safe to repeat

    // Copying the record (graph.cpp).
    void zInitGraphData(const zGraphStruct *record);
    void zSetGraphTitles(const char *title, const char *xAxisTitle, const char *yAxisTitle);
    void zSetLegendTitles(const char *const *titles);
    void zSetItemTitles(const char *const *titles);
    void zSetGraphColors(COLORREF axisColor, COLORREF bkgColor, const COLORREF *colors);
    void zSelectDefaultGraphColors();
    void zSetData(int count, double *x, double *y, double *z);
    void zSetSymbols(std::int32_t *symbols);
    void zSetAxisDivisions(int xDivisions, int yDivisions);
    void zSetDigitFormat(int format);
    void zSetDigitPrecision(int precision);
    void zGetSetsAndSamples();
    void zDeleteArrays();
    void zSetUpGraphLayout();

    // Ranges, ticks and device positions (scaling.cpp).
    void zSizeData();
    void zGetBestFitAxisDivisions();
    void zCalcTicks(double &min, double &max, int &divisions);
    void zFindBestFit(double min, double max, int &divisions, double &step);
    int zScaleYData(int topOffset);
    int zScale3DGraphData();
    // Writes the axis number into out, which holds zLabelBufferSize characters.
    void zConvertValue(double value, char *out);

    // Axes and legend rectangles (layout.cpp).
    void zSetGraphAxesRect();
    void zSetLegendRect();
    // Writes as many 'A' as the longest legend title (at most 80) into out, which holds 81.
    void zGetLongestLegendString(char *out);

    // Background, frame, numbers and titles (rendering.cpp).
    void zFillBackground();
    void zFillBkgWithGradedColor();
    HPALETTE zCreateGradedColorPalette();
    void zCalculateRGBValues(unsigned char intensity, unsigned char &red, unsigned char &green,
                             unsigned char &blue);
    void zzDrawGraphAxes(int showXNumbers, int showYNumbers);
    void zzShowXAxisNumbers(int left, int right);
    void zzShowYAxisNumbers(int bottom, int top);

    std::int32_t bInitialized;  // cleared by the first zTerminateGraph
    std::int32_t bShowGrid;
    std::int32_t AxesHeight, AxesWidth;
    RECT RAxes;  // the axes rectangle from the layout
    std::int32_t XDivisions, YDivisions;
    std::int32_t AxesLeft, AxesRight, AxesTop, AxesBottom;
    const char *XAxisTitle;
    const char *ItemTitles[30];
    const char *LegendTitles[10];
    const char *Title, *YAxisTitle;
    double XMax, XMin, YMax, YMin, ZMax, ZMin;  // working ranges
    double LimitMin[3];                         // x, y, z limits from the record
    double LimitMax[3];
    std::int32_t NumPoints;
    double *pXData, *pYData, *pZData;  // borrowed
    std::int32_t *pSymbols;            // borrowed
    int *pXPixels, *pYPixels;          // owned: device position of every point, or zNoPixel
    double *pScaledY;                  // owned: y as a height above the base of a 3-D frame
    std::int32_t b3D, bAutoScale;
    std::int32_t DigitFormat, DigitPrecision;
    std::int32_t GradedBkg, GradedColorScheme;
    const char *Formula;
    std::int32_t LegendStyle, ItemStyle;
    std::int32_t bDrawLines;
    std::int32_t NumSets, NumSamples;  // data sets; points in the first set
    std::int32_t NumContours;
    RECT RLegend;       // legend box
    RECT RLegendEntry;  // the finished legend box its frame is drawn from
    std::int32_t bDrawSymbols;
    std::int32_t bTitlesSet;
    double YScale, YOffset;  // y to pixels for the 3-D frame
};
