// The views: what a plot hands its chart, the settings and titles it composes, a table's cells,
// scrolling and keys, the right-click menus, and the registry that opens and closes views.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <iomanip>
#include <tuple>

#include "optics/domains.h"
#include "optics/farfield.h"
#include "optics/nrutil.h"
#include "optics/pupil.h"
#include "platform/dc.h"
#include "views/child.h"
#include "views/plot.h"
#include "views/plot_menu.h"
#include "views/program_windows.h"
#include "views/quality_box.h"
#include "views/readout.h"
#include "views/table.h"
#include "tests/shell/program_harness.h"

namespace {

// Start-up settings and pupil; every chart message is answered by the test support. The
// start-up pupil step is 10 mm / (2 x 19.5) = 10 / 39 mm.
class PlotViews : public ::testing::Test {
protected:
    void SetUp() override
    {
        optics_startup();
        testing_begin();
        dc = CreateRecordingDC(640, 300);
    }
    void TearDown() override
    {
        DeleteDC(dc);
        testing_end();
        optics_shutdown();
    }
    PlotDescription describe(int kind) { return DescribePlot(kind, RECT{0, 0, 400, 300}); }
    PlotDescription describe(int kind, int zoom)
    {
        izoom = zoom;
        return describe(kind);
    }
    HDC dc = nullptr;
};

constexpr double kPupilStep = 10.0 / 39;

TEST_F(PlotViews, PointsSpanTheZoomWindow)
{
    // first, last: x of the first and last point in steps (PSF samples on the index, 65 at 0;
    // pupil samples at 64.5 at 0; zoom 2 shows 33..96); side: a grid's columns and rows, else 0.
    struct Row {
        int kind, zoom, points;
        double first, last;
        int side;
    } rows[] = {
        {7, 1, 128, -64, 63, 0},     {14, 2, 64, -32, 31, 0},   {17, 1, 128, -63.5, 63.5, 0},
        {16, 2, 64, -31.5, 31.5, 0}, {8, 2, 4096, -32, 31, 64}, {11, 1, 16384, -63.5, 63.5, 128},
        {9, 2, 4096, -32, 31, 64},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE("kind " + std::to_string(row.kind));
        const PlotDescription plot = describe(row.kind, row.zoom);
        const bool psf = row.kind == 7 || row.kind == 14 || row.kind == 8 || row.kind == 9;
        const double step = psf ? XPSFStep : kPupilStep;
        ASSERT_EQ(plot.z.size(), static_cast<std::size_t>(row.points));
        EXPECT_DOUBLE_EQ(plot.x.front(), row.first * step);
        EXPECT_DOUBLE_EQ(plot.x.back(), row.last * step);
        // A slice is one data set; a grid has one set per column j, coded j + 65.
        EXPECT_EQ(plot.sym[0], row.side ? (row.zoom == 1 ? 1 : 33) + 65 : 42);
        EXPECT_EQ(std::tie(plot.columns, plot.rows), std::tie(row.side, row.side));
        if (row.side) {
            EXPECT_DOUBLE_EQ(plot.y.back(), row.last * step);
        }
    }
}

// The start-up PSF's MTF: the cut-off 1 / (0.0005 mm x 5.6) = 357.142857 cycles/mm lies
// 2 ncenter = 39 steps out. A slice holds the MTF, then the diffraction limit, from zero
// frequency to the cut-off, each starting at 1; the map spans -39 .. 39 steps both ways.
TEST_F(PlotViews, MtfPlotsSpanZeroFrequencyToTheCutOff)
{
    do_FFT();
    const double cutoff = 1 / (0.0005 * 5.6);
    const PlotDescription slice = describe(20);
    ASSERT_EQ(slice.z.size(), 80u);
    EXPECT_EQ(std::tuple(slice.x[0], slice.z[0], slice.sym[0], slice.z[40], slice.sym[40]),
              std::tuple(0.0, 1.0, 42, 1.0, 43));
    EXPECT_NEAR(slice.x[79], cutoff, 1e-9);
    EXPECT_EQ(std::tuple(slice.graph.YMin, slice.graph.YMax), std::tuple(0.0, 1.0));
    const PlotDescription map = describe(23);
    ASSERT_EQ(map.z.size(), 79u * 79u);
    EXPECT_NEAR(map.x.front(), -cutoff, 1e-9);
    EXPECT_NEAR(map.y.back(), cutoff, 1e-9);
    EXPECT_EQ(map.z[39 * 79 + 39], 1.0);  // zero frequency in the middle
}

// The PSF X-slice through row 65: zero at i = 10, below any clip at 20, 10 at 30 and the
// peak 100 at 65.
void set_psf_slice()
{
    for (int i = 1; i <= GRID; i++) m_output[i][65] = 0.0f;
    m_output[20][65] = 0.0005f;
    m_output[30][65] = 10.0f;
    m_output[65][65] = 100.0f;
}

TEST_F(PlotViews, LogPsfPlotsPowersOfTenClippedDecadesBelowThePeak)
{
    // The clip 10^(2 - decades) as a float: for 4 decades 1.0000000475e-3, whose logarithm in
    // double is -3 + 4.7497451e-8 / ln 10; for 3 the float 10^-2 is 0.0099999998, so the floor
    // plots at -2 - 2.2351742e-8 / ln 10, strictly below the contour level -2 traced around it.
    const double floor4 = -3.0 + 4.7497451305389404e-8 / std::log(10.0);
    const double floor3 = -2.0 - 2.2351741790771484e-8 / std::log(10.0);
    const struct {
        int decades, i;
        double log;
    } rows[] = {{4, 10, floor4}, {4, 20, floor4}, {4, 30, 1.0}, {4, 65, 2.0}, {3, 10, floor3}};
    set_psf_slice();
    PSFPlotType = PSF_LOGARITHMIC;
    for (const auto &row : rows) {
        nPSFdecades = row.decades;
        EXPECT_NEAR(describe(7, 1).z[row.i - 1], row.log, 1e-14)
            << row.decades << " decades, i = " << row.i;
    }
}

TEST_F(PlotViews, LogPsfImageColoursDecadesBelowOneHundredDownToTheDecades)
{
    // Row j = 65 of the whole grid: 100 is 10^0 of 100, 10 is 10^-1, 0.0005 (10^-5.3) and 0
    // lie below three decades and colour as -3.
    const struct {
        int i;
        double log;
    } rows[] = {{65, 0.0}, {30, -1.0}, {20, -3.0}, {10, -3.0}};
    set_psf_slice();
    PSFPlotType = PSF_LOGARITHMIC;
    nPSFdecades = 3;
    const PlotDescription image = describe(24, 1);
    ASSERT_EQ(image.z.size(), std::size_t(GRID_VALUES));
    EXPECT_EQ(image.graph.ZMin, -3.0);
    for (const auto &row : rows)
        EXPECT_NEAR(image.z[(65 - 1) * GRID + row.i - 1], row.log, 1e-12) << "i = " << row.i;
}

TEST_F(PlotViews, ReadoutNamesTheSampleUnderThePointerInsideTheAxes)
{
    // Axes (60, 45)-(296, 255), 3 columns of 236 / 3 pixels (column 1 from x = 60 + 79, as
    // 79 x 3 / 236 = 1.004), 2 rows of 105. An image's first row is at the bottom, a contour
    // map's at the top, where its grid points lie on the edges. A slice takes the nearest x:
    // at x = 177 the axis reads -1 + 117.5 / 236 x 2 = -0.004. log10(12.41 / 100) = -0.906,
    // log10(0.5) = -0.301, log10(0.06 / 100) = -3.222.
    using enum PlotReadout::Kind;
    const struct {
        PlotReadout::Kind kind;
        int x, y;
        const char *text;
    } rows[] = {
        {Image, 60, 45, "x = -1 \xB5m, y = 0.5 \xB5m, PSF = 12.41 (log -0.906)"},
        {Image, 295, 254, "x = 1 \xB5m, y = -0.5 \xB5m, PSF = 100 (log 0.000)"},
        {Image, 138, 149, "x = -1 \xB5m, y = 0.5 \xB5m, PSF = 12.41 (log -0.906)"},
        {Image, 139, 150, "x = 0 \xB5m, y = -0.5 \xB5m, PSF = 50 (log -0.301)"},
        {Image, 60, 254, "x = -1 \xB5m, y = -0.5 \xB5m, PSF = 0"},
        {Contour, 60, 45, "x = -1 \xB5m, y = -0.5 \xB5m, PSF = 0"},
        {Contour, 295, 254, "x = 1 \xB5m, y = 0.5 \xB5m, PSF = 0.06 (log -3.222)"},
        {Slice, 177, 100, "x = 0 \xB5m, PSF = 50 (log -0.301)"},
        {Image, 296, 100, ""},
        {Image, 59, 100, ""},
        {Contour, 100, 255, ""},
        {Slice, 100, 44, ""},
        {None, 100, 100, ""},
    };
    PlotReadout readout;
    readout.axes = RECT{60, 45, 296, 255};
    readout.columns = 3;
    readout.rows = 2;
    readout.xs = {-1, 0, 1};
    readout.ys = {-0.5, 0.5};
    readout.values = {0, 50, 100, 12.41, 75, 0.06};
    readout.low = -1;
    readout.high = 1;
    readout.unit = "\xB5m";
    readout.name = "PSF";
    readout.withLog = true;
    for (const auto &row : rows) {
        readout.kind = row.kind;
        EXPECT_EQ(ReadoutText(readout, row.x, row.y), row.text) << row.x << ", " << row.y;
    }
}

TEST_F(PlotViews, LinearPsfPlotsTheRawValues)
{
    set_psf_slice();
    PSFPlotType = PSF_LINEAR;
    const PlotDescription linear = describe(7, 1);
    for (int i : {10, 20, 30, 65}) EXPECT_EQ(linear.z[i - 1], m_output[i][65]) << "i = " << i;
}

TEST_F(PlotViews, ValueRangesRunFromTheLowestToTheHighestPlusOneThousandth)
{
    // Every pupil sample set to `value`; a zoomed surface counts the grid outside its window
    // as 0, a slice or a whole surface only its points.
    struct Row {
        const char *name;
        int kind, zoom;
        float value;
        double low, high;
    } rows[] = {{"flat slice", 17, 1, 0.5f, 0.5, 0.5 + 0.001},
                {"zero slice", 15, 2, 0.0f, 0.0, 0.001},
                {"whole surface", 10, 1, 0.5f, 0.5, 0.5 + 0.001},
                {"zoomed surface", 10, 2, 0.5f, 0.0, 0.5 + 0.001},
                {"zoomed negative surface", 12, 2, -0.25f, -0.25, 0.001}};
    for (const Row &row : rows) {
        for (float **array : {r_input, phase_input})
            for (int i = 1; i <= GRID; i++) std::fill(&array[i][1], &array[i][1] + GRID, row.value);
        const zGraphStruct g = describe(row.kind, row.zoom).graph;
        const bool slice = row.kind >= 14;
        EXPECT_EQ(slice ? g.YMin : g.ZMin, row.low) << row.name;
        EXPECT_EQ(slice ? g.YMax : g.ZMax, row.high) << row.name;
    }
}

// A text field as "null" or its quoted text, so that null and empty differ.
std::string quoted(const char *text) { return text ? '"' + std::string(text) + '"' : "null"; }

// Every field of a record, one per line; pointers by address (Title too: the record points at
// the description's own title), numbers in full.
std::string record_text(const zGraphStruct &g)
{
    std::ostringstream s;
    s << std::setprecision(17);
    s << "hDC " << g.hDC << "\nrect " << g.pWindowRect << "\nx " << g.pXData << "\ny " << g.pYData
      << "\nz " << g.pZData << "\nsymbols " << g.pSymbols << "\npoints " << g.NumPoints
      << "\naxis colour " << g.AxisColor << "\nbackground " << g.BkgColor << "\ncolours "
      << g.pGraphColors << "\nbrush " << g.BrushStyle << "\ntitle "
      << static_cast<const void *>(g.Title) << "\nx title " << quoted(g.XAxisTitle) << "\ny title "
      << quoted(g.YAxisTitle) << "\nlegend style " << g.LegendStyle << "\nitem style "
      << g.ItemStyle << "\nlines " << g.bDrawLines << "\nsymbols " << g.bDrawSymbols << "\ngrid "
      << g.bShowGrid << "\nautoscale " << g.bAutoScale << "\n3-D " << g.b3D
      << "\ngraded background " << g.GradedBkg << "\ngraded scheme " << g.GradedColorScheme
      << "\nx divisions " << g.XAxisDivisions << "\ny divisions " << g.YAxisDivisions
      << "\ndigit format " << g.DigitFormat << "\nprecision " << g.DigitPrecision << "\npen "
      << g.PenStyle << "\nshade " << g.ShadeShift << "\nx " << g.XMin << " to " << g.XMax << "\ny "
      << g.YMin << " to " << g.YMax << "\nz " << g.ZMin << " to " << g.ZMax << "\ncontours "
      << g.NumContours << "\nformula " << quoted(g.Formula);
    for (const char *title : g.LegendTitles) s << "\nlegend " << quoted(title);
    for (const char *title : g.ItemTitles) s << "\nitem " << quoted(title);
    return s.str();
}

// The fields every builder sets alike: axes black, background white, no legend (style 2),
// lines without symbols, a dotted grid pen (2), axis numbers in format 2; all else 0 or null.
zGraphStruct chart_basics()
{
    zGraphStruct g{};
    g.AxisColor = 0x000000;
    g.BkgColor = 0xFFFFFF;
    g.LegendStyle = 2;
    g.bDrawLines = 1;
    g.bShowGrid = 1;
    g.DigitFormat = 2;
    g.PenStyle = 2;
    return g;
}

// The builders' fields for the start-up pupil (transmission 1 inside, 0 outside). Drawn, the
// record points at the description's own buffers, named by letter per row.
TEST_F(PlotViews, BuildersFillExactlyTheirFields)
{
    const double whole = 63.5 * kPupilStep;
    const double quarter = 31.5 * kPupilStep;
    zGraphStruct slice = chart_basics();
    slice.NumPoints = 128;
    slice.XAxisTitle = "";
    slice.YAxisTitle = "";
    slice.DigitPrecision = 3;
    slice.XMin = -whole;
    slice.XMax = whole;
    slice.YMax = 1 + 0.001;
    zGraphStruct surface = chart_basics();
    surface.NumPoints = 64 * 64;
    surface.XMin = -quarter;
    surface.XMax = quarter;
    surface.YMin = -quarter;
    surface.YMax = quarter;
    surface.ZMax = 1 + 0.001;
    surface.Formula = "";
    zGraphStruct contour = chart_basics();
    contour.NumPoints = 128 * 128;
    contour.XAxisTitle = "";
    contour.YAxisTitle = "";
    contour.bAutoScale = 1;
    contour.XAxisDivisions = -1;
    contour.YAxisDivisions = -1;
    contour.DigitPrecision = 1;
    contour.XMax = 128;
    contour.YMax = 128;
    contour.NumContours = 4;
    // data: the buffers behind pXData, pYData, pZData and pSymbols, '-' for none.
    struct Row {
        const char *name;
        int kind, zoom;
        const zGraphStruct *want;
        const char *data;
    };
    const Row rows[] = {
        {"X-slice", 17, 1, &slice, "xz-s"},
        {"3-D, zoomed", 10, 2, &surface, "xyzs"},
        {"contour", 11, 1, &contour, "--z-"},
    };
    for (const Row &row : rows) {
        PlotDescription plot = describe(row.kind, row.zoom);
        DrawPlot(plot, dc);
        const auto buffer = [&plot](char name) {
            return name == 'x'   ? plot.x.data()
                   : name == 'y' ? plot.y.data()
                   : name == 'z' ? plot.z.data()
                                 : nullptr;
        };
        zGraphStruct want = *row.want;
        want.hDC = dc;
        want.pWindowRect = &plot.window;
        want.pXData = buffer(row.data[0]);
        want.pYData = buffer(row.data[1]);
        want.pZData = buffer(row.data[2]);
        want.pSymbols = row.data[3] == 's' ? plot.sym.data() : nullptr;
        want.pGraphColors = plot.colours;
        want.Title = plot.title.c_str();
        EXPECT_EQ(record_text(plot.graph), record_text(want)) << row.name;
    }
}

TEST_F(PlotViews, EachPlotTakesItsOwnPaletteStartAndContourLevels)
{
    // Colours count down the palette from the view's start, below 0 black: the surfaces start
    // at 7 (light grey, grey, purple), the PSF contours at 14 (yellow, magenta, red), the others
    // at 0. Contour maps ask for 2 levels of the PSF, 4 of the transmission, 6 of the phase.
    const struct {
        int kind;
        COLORREF first, third;
        int contours;
    } views[] = {{8, RGB(192, 192, 192), RGB(128, 0, 128), 0},
                 {9, RGB(255, 255, 0), RGB(255, 0, 0), 2},
                 {11, 0, 0, 4},
                 {13, 0, 0, 6}};
    for (const auto &view : views) {
        const PlotDescription plot = describe(view.kind, 1);
        EXPECT_EQ(std::tuple(plot.colours[0], plot.colours[2], plot.graph.NumContours),
                  std::tuple(view.first, view.third, view.contours))
            << "kind " << view.kind;
    }
}

TEST_F(PlotViews, ThreeDecadeLogContourTracesTheLevelAroundTheClippedFloor)
{
    // A 16 x 16 block of 100 in a zero PSF, zoom 2 (64 x 64 samples, 1/16 lit). Log, 3 decades:
    // floor -2 - 9.7e-9, block 2; mean -1.75, deviation 4 sqrt(15) / 16 = 0.968, so 2 levels
    // step 4 x 0.968 / 2 = 1.94, rounded 2, from floor(-1.75 / 2) x 2 = -2: levels -2 and 0.
    // Linear: mean 6.25, step 48.4, rounded 50, from 0: only level 50 lies above the floor. Each
    // traced level is one closed line through the 64 faces around the block, 64 segments.
    for (int j = 1; j <= GRID; j++)
        for (int i = 1; i <= GRID; i++)
            m_output[i][j] = i >= 57 && i <= 72 && j >= 57 && j <= 72 ? 100.0f : 0.0f;
    const auto lines = [&] {
        ClearRecordedOps(dc);
        PlotDescription plot = describe(9, 2);
        DrawPlot(plot, dc);
        const auto line = [](const RecordedOp &op) { return op.kind == RecordedKind::Line; };
        return std::ranges::count_if(RecordedOps(dc), line);
    };
    const auto linear = lines();
    PSFPlotType = PSF_LOGARITHMIC;
    nPSFdecades = 3;
    EXPECT_EQ(lines() - linear, 64) << "the level -2 line around the block";
}

TEST_F(PlotViews, ASettingChangesOnlyWhenThePaintAppliesIt)
{
    // A logarithmic PSF plot leaves its clip, 10^-(4 - 1), in PSFthold; the PSF 3-D view sets
    // sig to 3. Each row starts from PSFthold 0 and sig 10.
    struct Row {
        const char *name;
        int kind, type;
        float thold;
        int sig;
    } rows[] = {{"log PSF slice", 7, PSF_LOGARITHMIC, 0.001f, 10},
                {"PSF 3-D", 8, PSF_LINEAR, 0.0f, 3},
                {"linear PSF slice", 7, PSF_LINEAR, 0.0f, 10},
                {"log setting, pupil slice", 15, PSF_LOGARITHMIC, 0.0f, 10}};
    nPSFdecades = 4;
    for (const Row &row : rows) {
        PSFthold = 0.0f;
        sig = 10;
        PSFPlotType = row.type;
        const PlotDescription plot = describe(row.kind);
        EXPECT_EQ(std::tuple(PSFthold, sig), std::tuple(0.0f, 10)) << row.name << ": described";
        ApplyPlotSettings(plot);
        EXPECT_EQ(std::tuple(PSFthold, sig), std::tuple(row.thold, row.sig)) << row.name;
    }
}

TEST_F(PlotViews, ComposedTitlesCarryTheFigures)
{
    wavesrms = 1.0f / 3.0f;  // 0.333333343267...
    xpsfcent = 2.0f;         // in steps
    ypsfcent = 1e30f;
    set_domains();  // PSF step 109.2 / 128 = 0.853125, so x = 1.70625 and y = 8.53125e29
    // The RMS takes sig significant digits; the centroids always three.
    struct Row {
        int kind, sig;
        const char *title;
    } rows[] = {{12, 10, "0.3333333433 waves RMS"},
                {12, 3, "0.333 waves RMS"},
                {8, 10, "Centroids: x = 1.71     y = 8.53e+29"}};
    for (const Row &row : rows) {
        sig = row.sig;
        EXPECT_EQ(describe(row.kind).title, row.title) << "kind " << row.kind;
    }
}

// The text drawn with its top right corner at (x, y) and its alignment; "(none)" if none.
std::pair<std::string, UINT> text_at(HDC dc, int x, int y)
{
    for (const RecordedOp &op : RecordedOps(dc))
        if (op.kind == RecordedKind::Text && !op.points.empty() && op.points[0].x == x &&
            op.points[0].y == y)
            return {op.text, op.textAlign};
    return {"(none)", 0xFFFF};
}

TEST_F(PlotViews, TableCellsAreRightAlignedInColumnsOfTenCharacters)
{
    // With characters of 8 x 15 pixels, column j ends at (10 j - characters scrolled) x 8
    // pixels; row i's top is at (i - lines scrolled) x 15. Metrics and positions put back.
    const std::pair metrics(cxChar, cyChar);
    cxChar = 8;
    cyChar = 15;
    float **const *arrays[5] = {&r_input, &phase_input, &r_output, &i_output, &m_output};
    struct Row {
        const char *name;
        int kind, j, i;
        float value;
        int line, character, x, y;
        const char *text;
    } rows[] = {
        {"transmission, scrolled to the middle", 0, 64, 65, 1.0f, 60, 600, 320, 75, " 1.000"},
        {"phase, negative", 1, 2, 3, -0.125f, 0, 0, 160, 45, " -0.125"},
        {"field phase, negative", 3, 1, 2, -2.5f, 0, 0, 80, 30, "  -2.500"},
        {"PSF, wider than its field", 6, 2, 4, -123456.75f, 0, 0, 160, 60, " -123456.750"},
        {"amplitude, the largest float is not cut", 2, 1, 6, -FLT_MAX, 0, 0, 80, 90,
         " -340282346638528859811704183484516925440.000"},
    };
    for (const Row &row : rows) {
        float &cell = (*arrays[row.kind == 6 ? 4 : row.kind])[row.j][row.i];
        cell = row.value;
        iVscrollPos[row.kind] = row.line;
        iHscrollPos[row.kind] = row.character;
        ClearRecordedOps(dc);
        PaintTable(dc, row.kind, RECT{0, 0, 640, 300});
        const std::pair expected(std::string(row.text), UINT{TA_RIGHT | TA_TOP});
        EXPECT_EQ(text_at(dc, row.x, row.y), expected) << row.name;
        cell = 0.0f;
        iVscrollPos[row.kind] = 0;
        iHscrollPos[row.kind] = 0;
    }
    std::tie(cxChar, cyChar) = metrics;
}

// Opens a view and lets the toolkit settle its real size, so no later layout overrides the
// tests' sizes.
HWND open_view(UINT id, HWND *handle)
{
    testing_send_command(mainhwnd, id);
    testing_process_events();
    return *handle;
}

// The transmission table given size, scroll and key messages, sized 40 lines high and 100
// characters narrower than its line (128 columns of 10 characters and a margin of 22 capitals,
// in the default font measured here): lines 0..129 + 2 - 40 = 91 (a page is 40), characters
// 0..10 + 100 = 110 (a page is 8), each first at half its range. Each row starts at its own
// line and character.
struct ScrollRequest {
    const char *name;
    UINT message;
    WPARAM param;
    int fromLine, fromChar, line, character;
};
const ScrollRequest kScrollRequests[] = {
    {"line up", WM_VSCROLL, SB_LINEUP, 45, 55, 44, 55},
    {"line down", WM_VSCROLL, SB_LINEDOWN, 45, 55, 46, 55},
    {"page up", WM_VSCROLL, SB_PAGEUP, 45, 55, 5, 55},
    {"page down", WM_VSCROLL, SB_PAGEDOWN, 45, 55, 85, 55},
    {"page up at the top", WM_VSCROLL, SB_PAGEUP, 5, 55, 0, 55},
    {"top", WM_VSCROLL, SB_TOP, 45, 55, 0, 55},
    {"end", WM_VSCROLL, SB_BOTTOM, 45, 55, 91, 55},
    {"drag", WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 45, 55, 45, 55},
    {"thumb", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 45, 55, 10, 55},
    {"thumb past the end", WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 200), 45, 55, 91, 55},
    {"line left", WM_HSCROLL, SB_LINELEFT, 45, 55, 45, 54},
    {"line right", WM_HSCROLL, SB_LINERIGHT, 45, 55, 45, 56},
    {"page left", WM_HSCROLL, SB_PAGELEFT, 45, 55, 45, 47},
    {"page right", WM_HSCROLL, SB_PAGERIGHT, 45, 55, 45, 63},
    {"page right at 105", WM_HSCROLL, SB_PAGERIGHT, 45, 105, 45, 110},
    {"thumb", WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 7), 45, 55, 45, 7},
    {"Page Down", WM_KEYDOWN, VK_NEXT, 45, 55, 85, 55},
    {"Left: a page", WM_KEYDOWN, VK_LEFT, 45, 55, 45, 47},
    {"a letter does nothing", WM_KEYDOWN, 'A', 45, 55, 45, 55},
};

TEST(TableScroll, EachRequestOrKeyMovesTheTableToItsLineAndCharacter)
{
    run_program([] {
        const HWND view = open_view(IDM_TABLE_TRANSMISSION, &hwndChildRealInput);
        ASSERT_NE(view, nullptr);
        TEXTMETRICA tm{};
        HDC dc = GetDC(mainhwnd);
        GetTextMetricsA(dc, &tm);
        ReleaseDC(mainhwnd, dc);
        const int cx = static_cast<int>(tm.tmAveCharWidth);
        const int caps = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? 3 * cx / 2 : cx;
        const int cy = static_cast<int>(tm.tmHeight + tm.tmExternalLeading);
        const int width = (128 * 10 - 100) * cx + 22 * caps;
        SendMessageA(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, 40 * cy));
        ASSERT_EQ(std::tie(iVscrollMax[0], iVscrollPos[0], iHscrollMax[0], iHscrollPos[0]),
                  std::make_tuple(91, 45, 110, 55))
            << "sized";
        for (const ScrollRequest &row : kScrollRequests) {
            iVscrollPos[0] = row.fromLine;
            iHscrollPos[0] = row.fromChar;
            SetScrollPos(view, SB_VERT, row.fromLine, TRUE);
            SetScrollPos(view, SB_HORZ, row.fromChar, TRUE);
            EXPECT_EQ(SendMessageA(view, row.message, row.param, 0), 0) << row.name;
            EXPECT_EQ(std::tuple(iVscrollPos[0], iHscrollPos[0], GetScrollPos(view, SB_VERT),
                                 GetScrollPos(view, SB_HORZ)),
                      std::tuple(row.line, row.character, row.line, row.character))
                << row.name;
        }
    });
}

using PlotWindowMenu = TempFolderTest;

// A plot's menu saves or copies its picture; a far-field view's also offers Image Quality,
// whose box gives the figures, the sampling 128 / (2 x 19.5) = 3.28205128 samples per lambda F
// at the start-up radius, widths in microns. A pupil table has no menu.
TEST_F(PlotWindowMenu, OnlyTheFarFieldViewsOfferImageQuality)
{
    const std::string sampling = "\nSampling Q: 3.28205128 samples per lambda F\n";
    // items: the menu's length, 0 for no menu.
    const struct {
        UINT command;
        HWND *view;
        std::size_t items;
        bool quality;
    } rows[] = {{IDM_PLOT_PSF_CONTOUR, &hwndChildOutPlotCont, 3, true},
                {IDM_TABLE_PSF, &hwndChildModulusOutput, 1, true},
                {IDM_TABLE_TRANSMISSION, &hwndChildRealInput, 0, false},
                {IDM_PLOT_TRANS_XSLICE, &hwndChildTransPlotXslice, 2, false}};
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const auto &row : rows) {
            SCOPED_TRACE("command " + std::to_string(row.command));
            testing_choose_menu_item(mainhwnd, row.command);
            testing_answer_popup_menus(row.quality ? std::vector<UINT>{IDM_IMAGE_QUALITY}
                                                   : std::vector<UINT>{});
            const std::size_t menus = testing_popup_menus().size();
            testing_clear_records();
            SendMessageA(*row.view, WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
            const auto &popups = testing_popup_menus();
            EXPECT_EQ(popups.size() == menus ? 0 : popups.back().size(), row.items);
            ASSERT_EQ(testing_message_boxes().size(), row.quality ? 1u : 0u);
            if (row.quality) {
                const TestMessageBox &box = testing_message_boxes()[0];
                EXPECT_EQ(box.caption, "Image Quality");
                EXPECT_EQ(box.text.rfind("Strehl ratio: ", 0), 0u) << box.text;
                EXPECT_NE(box.text.find(" microns\nFWHM along y: "), std::string::npos) << box.text;
                EXPECT_NE(box.text.find(sampling), std::string::npos) << box.text;
            }
        }
    });
}

// The image view's menu keeps its choice: a map, or the logarithmic PSF turned on and off
// again, which its caption follows; the pointer over the picture shows its sample on the status bar
// until it leaves.
TEST_F(PlotWindowMenu, ImageViewKeepsItsMapAndScaleAndReadsOutUnderThePointer)
{
    const struct {
        UINT choice;
        zColourMap map;
        bool logarithmic;
    } rows[] = {{IDM_MAP_GREY, zColourMap::Grey, false},
                {IDM_LOGARITHMIC, zColourMap::Grey, true},
                {IDM_MAP_DIVERGING, zColourMap::Diverging, true},
                {IDM_LOGARITHMIC, zColourMap::Diverging, false}};
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        testing_choose_menu_item(mainhwnd, IDM_PLOT_PSF_IMAGE);
        for (const auto &row : rows) {
            testing_answer_popup_menus({row.choice});
            SendMessageA(hwndChildOutPlotImage, WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
            EXPECT_EQ(ImageOptionsFor(24)->map, row.map) << row.choice;
            EXPECT_EQ(ImageIsLogarithmic(*ImageOptionsFor(24)), row.logarithmic) << row.choice;
            char caption[256] = "";
            GetWindowTextA(hwndChildOutPlotImage, caption, sizeof caption);
            EXPECT_EQ(std::strncmp(caption, "Log PSF vs. ", 12) == 0, row.logarithmic) << caption;
        }
        RECT client{};
        GetClientRect(hwndChildOutPlotImage, &client);
        UpdateWindow(hwndChildOutPlotImage);
        char text[256] = "";
        const LPARAM middle = MAKELPARAM(client.right * 44 / 100, client.bottom / 2);
        SendMessageA(hwndChildOutPlotImage, WM_MOUSEMOVE, 0, middle);
        GetWindowTextA(hwndStatus, text, sizeof text);
        EXPECT_EQ(std::string(text).rfind("x = ", 0), 0u) << text;
        SendMessageA(hwndChildOutPlotImage, WM_MOUSELEAVE, 0, 0);
        GetWindowTextA(hwndStatus, text, sizeof text);
        EXPECT_STREQ(text, "");
    });
}

// Save Picture As through the toolkit's dialog: the file the dialog asks about is the file
// written.
TEST_F(PlotWindowMenu, SavePictureAsWritesTheFileTheDialogNamedAndAskedAbout)
{
    // Typed, type (0: PNG as shown), reply to a box; then how many files the folder holds,
    // how `file` starts, the box.
    struct Row {
        const char *name, *typed;
        int type, reply;
        std::size_t files;
        const char *file, *start, *box;
    };
    const char *ask = "old.png already exists.\nDo you want to replace it?";
    const Row rows[] = {
        {"the type gives the ending", "plain", 2, 0, 2, "plain.svg", "<?xml", ""},
        {"replacing: asked for that file, yes", "old", 0, IDYES, 1, "old.png", "\x89PNG", ask},
        {"capitals in the ending", "UPPER.PNG", 2, 0, 2, "UPPER.PNG", "\x89PNG", ""},
        {"no such folder", "none/x", 0, 0, 1, "old.png", "old", "The folder does not exist."},
    };
    const std::string folder = dir;
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        const HWND view = open_view(IDM_PLOT_PSF_XSLICE, &hwndChildOutPlotXslice);
        for (const auto &row : rows) {
            SCOPED_TRACE(row.name);
            for (const auto &entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
            std::ofstream(folder + "/old.png") << "old";
            testing_begin(row.reply ? std::vector<int>{row.reply} : std::vector<int>{});
            testing_answer_popup_menus({IDM_SAVE_PICTURE});
            testing_filedlg_keyboard({testing_file_choice(folder + "/" + row.typed, row.type)});
            SendMessageA(view, WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
            const auto files = fs::directory_iterator(folder);
            EXPECT_EQ(static_cast<std::size_t>(std::distance(files, fs::directory_iterator{})),
                      row.files);
            EXPECT_EQ(slurp(folder + "/" + row.file).substr(0, std::strlen(row.start)), row.start);
            const std::vector<std::string> boxes = message_texts();
            ASSERT_EQ(boxes.size(), *row.box ? 1u : 0u);
            if (*row.box) {
                EXPECT_NE(boxes[0].find(row.box), std::string::npos) << boxes[0];
            }
        }
    });
}

// A closed view gives its menu command back; closing one leaves the others; a group function
// closes its own.
TEST(ViewRegistry, ClosingViewsGivesBackTheirCommandsOnly)
{
    const UINT kViewCommands[] = {55, 56, 61, 62, 63, 64, 70, 71, 72, 73,  74,  75,  76,
                                  77, 78, 79, 80, 83, 84, 85, 86, 87, 110, 111, 112, 113};
    const auto open_count = [] { return testing_child_windows(mainhwnd).size(); };
    // Which views survive, when all twenty-six are open.
    const struct {
        const char *name;
        void (*close)();
        std::vector<UINT> left;
    } rows[] = {
        {"DestroyInputChildWindows keeps the pupil slice plots",
         DestroyInputChildWindows,
         {61, 62, 63, 64, 70, 71, 74, 75, 78, 79, 80, 83, 84, 85, 86, 87, 110, 113}},
        {"Create PSF after a new pupil closes the PSF views and the pupil slice plots",
         [] {
             pillbox_input();
             EnableMenuItem(GetMenu(mainhwnd), IDM_CREATE_PSF, MF_BYCOMMAND | MF_ENABLED);
             testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
         },
         {55, 56, 72, 73, 76, 77, 111, 112}},
    };
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const auto &row : rows) {
            SCOPED_TRACE(row.name);
            for (UINT id : kViewCommands) testing_send_command(mainhwnd, id);
            EXPECT_EQ(open_count(), 26u);
            row.close();
            for (UINT id : kViewCommands) {
                const bool kept = std::find(row.left.begin(), row.left.end(), id) != row.left.end();
                EXPECT_EQ(testing_menu_item(mainhwnd, id).grayed, kept) << "id=" << id;
            }
            EXPECT_EQ(open_count(), row.left.size());
            DestroyInputChildWindows();
            DestroyOutputChildWindows();
            EXPECT_EQ(open_count(), 0u);
        }
    });
}

}  // namespace
