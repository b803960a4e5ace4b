// The views: what a plot view hands its chart, the settings and titles its paint composes, a
// table paint's cells, the tables' scrolling and keys, the right-click menus, and the registry
// that opens and closes views.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <iomanip>
#include <tuple>

#include "optics/domains.h"
#include "optics/nrutil.h"
#include "optics/pupil.h"
#include "platform/dc.h"
#include "views/child.h"
#include "views/plot.h"
#include "views/plot_menu.h"
#include "views/quality_box.h"
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

// The PSF X-slice through row 65: zero, a value below the clip, 10 and the peak 100.
struct PsfSample {
    int i;
    float value;
};
constexpr PsfSample kPsfSlice[] = {{10, 0.0f}, {20, 0.0005f}, {30, 10.0f}, {65, 100.0f}};

void set_psf_slice()
{
    for (int i = 1; i <= GRID; i++) m_output[i][65] = 0.0f;
    for (const PsfSample &sample : kPsfSlice) m_output[sample.i][65] = sample.value;
}

TEST_F(PlotViews, LogPsfPlotsPowersOfTenClippedDecadesBelowThePeak)
{
    // Four decades below a peak of 100: clip value 10^-3 as a float, 1.0000000475e-3, whose
    // logarithm in double is -3 + 4.7497451e-8 / ln 10: everything below it plots there.
    const double floor4 = -3.0 + 4.7497451305389404e-8 / std::log(10.0);
    const double logs[] = {floor4, floor4, 1.0, 2.0};  // per sample of kPsfSlice
    set_psf_slice();
    nPSFdecades = 4;
    PSFPlotType = PSF_LOGARITHMIC;
    const PlotDescription log = describe(7, 1);
    for (int k = 0; k < 4; k++) {
        EXPECT_NEAR(log.z[kPsfSlice[k].i - 1], logs[k], 1e-14) << "i = " << kPsfSlice[k].i;
    }
}

TEST_F(PlotViews, ThreeDecadeLogFloorPlotsJustBelowTheLevelMinusTwo)
{
    // The float 10^-2 is 0.0099999998, so the floor plots at -2 - 2.2351742e-8 / ln 10,
    // strictly below the contour level -2 traced around it.
    set_psf_slice();
    nPSFdecades = 3;
    PSFPlotType = PSF_LOGARITHMIC;
    EXPECT_NEAR(describe(7, 1).z[9], -2.0 - 2.2351741790771484e-8 / std::log(10.0), 1e-14);
}

TEST_F(PlotViews, LinearPsfPlotsTheRawValues)
{
    set_psf_slice();
    PSFPlotType = PSF_LINEAR;
    const PlotDescription linear = describe(7, 1);
    for (const PsfSample &sample : kPsfSlice) {
        EXPECT_DOUBLE_EQ(linear.z[sample.i - 1], sample.value) << "i = " << sample.i;
    }
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

TEST_F(PlotViews, ColoursCountDownThePaletteFromEachViewsOwnStart)
{
    // Colours count down the palette from the view's start, below 0 black: the surfaces start
    // at 7 (light grey, grey, purple), the PSF contours at 14 (yellow, magenta, red), the others
    // at 0.
    const struct {
        int kind;
        COLORREF first, third;
    } views[] = {{8, RGB(192, 192, 192), RGB(128, 0, 128)},
                 {9, RGB(255, 255, 0), RGB(255, 0, 0)},
                 {11, 0, 0},
                 {13, 0, 0}};
    for (const auto &view : views) {
        const PlotDescription plot = describe(view.kind, 1);
        EXPECT_EQ(std::tuple(plot.colours[0], plot.colours[2]), std::tuple(view.first, view.third))
            << "kind " << view.kind;
    }
}

TEST_F(PlotViews, ContourMapsAskForTheirOwnNumberOfLevels)
{
    // 2 levels of the PSF, 6 of the phase (4 of the transmission: BuildersFillExactlyTheirFields).
    EXPECT_EQ(describe(9, 1).graph.NumContours, 2);
    EXPECT_EQ(describe(13, 1).graph.NumContours, 6);
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

// Tables with fixed character metrics (8 x 15 pixels), put back afterwards.
class TablePaint : public PlotViews {
protected:
    void SetUp() override
    {
        PlotViews::SetUp();
        cxChar = 8;
        cyChar = 15;
    }
    void TearDown() override
    {
        cxChar = metrics[0];
        cyChar = metrics[1];
        for (int kind : {0, 1, 2, 3, 6}) {
            iVscrollPos[kind] = 0;
            iHscrollPos[kind] = 0;
        }
        PlotViews::TearDown();
    }
    void paint(int kind, int line, int character)
    {
        iVscrollPos[kind] = line;
        iHscrollPos[kind] = character;
        ClearRecordedOps(dc);
        PaintTable(dc, kind, RECT{0, 0, 640, 300});
    }
    const int metrics[2] = {cxChar, cyChar};
};

// The text drawn with its top right corner at (x, y) and its alignment; "(none)" if none.
std::pair<std::string, UINT> text_at(HDC dc, int x, int y)
{
    for (const RecordedOp &op : RecordedOps(dc))
        if (op.kind == RecordedKind::Text && !op.points.empty() && op.points[0].x == x &&
            op.points[0].y == y)
            return {op.text, op.textAlign};
    return {"(none)", 0xFFFF};
}

TEST_F(TablePaint, CellsAreRightAlignedInColumnsOfTenCharacters)
{
    // Column j ends at (10 j - characters scrolled) x 8 pixels; row i's top is at
    // (i - lines scrolled) x 15.
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
        paint(row.kind, row.line, row.character);
        const auto [text, align] = text_at(dc, row.x, row.y);
        EXPECT_EQ(text, row.text) << row.name;
        EXPECT_EQ(align, static_cast<UINT>(TA_RIGHT | TA_TOP)) << row.name;
        cell = 0.0f;
    }
}

// Opens a view and lets the toolkit settle its real size, so no later layout overrides the
// tests' sizes.
HWND open_view(UINT id, HWND *handle)
{
    testing_send_command(mainhwnd, id);
    testing_process_events();
    return *handle;
}

LRESULT size_view(HWND view, int width, int height)
{
    return SendMessageA(view, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
}

// The default font, measured independently of the views: a character's width and height, and
// the width of a table's line, 128 columns of 10 characters and a margin of 22 capitals.
struct TableMetrics {
    int cx, cy, lineWidth;
};

TableMetrics measure_tables()
{
    TEXTMETRICA tm{};
    HDC dc = GetDC(mainhwnd);
    GetTextMetricsA(dc, &tm);
    ReleaseDC(mainhwnd, dc);
    const int cx = static_cast<int>(tm.tmAveCharWidth);
    const int caps = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? 3 * cx / 2 : cx;
    return {cx, static_cast<int>(tm.tmHeight + tm.tmExternalLeading), 128 * 10 * cx + 22 * caps};
}

// The transmission table driven through the running program, given size, scroll and key
// messages as the window system would send them. Sized 40 lines high and 100 characters
// narrower than its line: lines 0..129 + 2 - 40 = 91 (a page is 40), characters
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
    {"drag", WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7), 45, 55, 45, 55},
    {"thumb", WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 7), 45, 55, 45, 7},
    {"Page Up", WM_KEYDOWN, VK_PRIOR, 45, 55, 5, 55},
    {"Page Down", WM_KEYDOWN, VK_NEXT, 45, 55, 85, 55},
    {"End", WM_KEYDOWN, VK_END, 45, 55, 91, 55},
    {"Home", WM_KEYDOWN, VK_HOME, 45, 55, 0, 55},
    {"Up", WM_KEYDOWN, VK_UP, 45, 55, 44, 55},
    {"Down", WM_KEYDOWN, VK_DOWN, 45, 55, 46, 55},
    {"Left: a page", WM_KEYDOWN, VK_LEFT, 45, 55, 45, 47},
    {"Right: a page", WM_KEYDOWN, VK_RIGHT, 45, 55, 45, 63},
    {"a letter does nothing", WM_KEYDOWN, 'A', 45, 55, 45, 55},
};

// The transmission table sized as kScrollRequests count on.
HWND open_scrolled_transmission_table()
{
    const HWND view = open_view(IDM_TABLE_TRANSMISSION, &hwndChildRealInput);
    if (!view) return nullptr;
    const TableMetrics m = measure_tables();
    size_view(view, m.lineWidth - 100 * m.cx, 40 * m.cy);
    EXPECT_EQ(std::tie(iVscrollMax[0], iVscrollPos[0], iHscrollMax[0], iHscrollPos[0]),
              std::make_tuple(91, 45, 110, 55))
        << "set-up";
    return view;
}

// Places the transmission table at the request's starting line and character.
void place_table(HWND view, const ScrollRequest &row)
{
    iVscrollPos[0] = row.fromLine;
    iHscrollPos[0] = row.fromChar;
    SetScrollPos(view, SB_VERT, row.fromLine, TRUE);
    SetScrollPos(view, SB_HORZ, row.fromChar, TRUE);
}

LPARAM repeat_of(const ScrollRequest &row) { return row.message == WM_KEYDOWN ? 1 : 0; }

TEST(TableScroll, EachRequestOrKeyMovesTheTableToItsLineAndCharacter)
{
    run_program([] {
        const HWND view = open_scrolled_transmission_table();
        ASSERT_NE(view, nullptr);
        for (const ScrollRequest &row : kScrollRequests) {
            place_table(view, row);
            EXPECT_EQ(SendMessageA(view, row.message, row.param, repeat_of(row)), 0) << row.name;
            EXPECT_EQ(std::tuple(iVscrollPos[0], iHscrollPos[0], GetScrollPos(view, SB_VERT),
                                 GetScrollPos(view, SB_HORZ)),
                      std::tuple(row.line, row.character, row.line, row.character))
                << row.name;
        }
    });
}

using PlotWindowMenu = TempFolderTest;

// Copied, the PSF contour view at 360 x 250 puts a bitmap of its client size on the clipboard.
TEST_F(PlotWindowMenu, CopyPutsABitmapOfTheViewsSizeOnTheClipboard)
{
    run_program([] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        const HWND view = open_view(IDM_PLOT_PSF_CONTOUR, &hwndChildOutPlotCont);
        ASSERT_NE(view, nullptr);
        MoveWindow(view, 0, 0, 360, 250, TRUE);
        testing_process_events();
        RECT client{};
        GetClientRect(view, &client);
        testing_answer_popup_menus({IDM_COPY_PICTURE});
        SendMessageA(view, WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
        BITMAP bm{};
        HGDIOBJ copied = static_cast<HGDIOBJ>(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
        ASSERT_NE(copied, nullptr);
        GetObjectA(copied, sizeof bm, &bm);
        EXPECT_EQ(std::tie(bm.bmWidth, bm.bmHeight), std::tie(client.right, client.bottom));
    });
}

// A plot's menu saves or copies its picture; a far-field view's also offers Image Quality,
// whose box gives the figures, the sampling 128 / (2 x 19.5) = 3.28205128 samples per lambda F
// at the start-up radius, widths in microns. A pupil table has no menu.
TEST_F(PlotWindowMenu, OnlyTheFarFieldViewsOfferImageQuality)
{
    const std::string sampling = "\nSampling Q: 3.28205128 samples per lambda F\n";
    const struct {
        UINT command;
        HWND *view;
        std::vector<std::string> items;
        bool quality;
    } rows[] = {
        {IDM_PLOT_PSF_CONTOUR,
         &hwndChildOutPlotCont,
         {"&Save Picture As...", "&Copy Picture", "&Image Quality..."},
         true},
        {IDM_TABLE_PSF, &hwndChildModulusOutput, {"&Image Quality..."}, true},
        {IDM_TABLE_TRANSMISSION, &hwndChildRealInput, {}, false},
        {IDM_PLOT_TRANS_XSLICE,
         &hwndChildTransPlotXslice,
         {"&Save Picture As...", "&Copy Picture"},
         false},
    };
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
            ASSERT_EQ(testing_popup_menus().size() - menus, row.items.empty() ? 0u : 1u);
            if (!row.items.empty()) {
                EXPECT_EQ(testing_popup_menus().back(), row.items);
            }
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

// The folder's files, by name in order, one blank apart.
std::string file_list(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    std::string list;
    for (const std::string &name : names) list += (list.empty() ? "" : " ") + name;
    return list;
}

// Save Picture As through the toolkit's dialog: the file the dialog asks about is the file
// written.
TEST_F(PlotWindowMenu, SavePictureAsWritesTheFileTheDialogNamedAndAskedAbout)
{
    const std::string replace = "old.png already exists.\nDo you want to replace it?";
    // Typed, type (0: PNG as shown), reply to a box; then the folder's files, how `file`
    // starts, the box.
    struct Row {
        const char *name, *typed;
        int type, reply;
        const char *files, *file, *start, *box;
    };
    const char *png = "\x89PNG";
    const char *refused = "The folder does not exist.";
    const char *ask = replace.c_str();
    const Row rows[] = {
        {"the type gives the ending", "plain", 2, 0, "old.png plain.svg", "plain.svg", "<?xml", ""},
        {"replacing: asked for that file, yes", "old", 0, IDYES, "old.png", "old.png", png, ask},
        {"capitals in the ending", "UPPER.PNG", 2, 0, "UPPER.PNG old.png", "UPPER.PNG", png, ""},
        {"a missing folder is refused in the dialog", "none/x", 0, 0, "old.png", "", "", refused},
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
            EXPECT_EQ(file_list(folder), row.files);
            const std::string bytes = *row.file ? slurp(folder + "/" + row.file) : "";
            EXPECT_EQ(bytes.substr(0, std::strlen(row.start)), row.start);
            const std::vector<std::string> boxes = message_texts();
            ASSERT_EQ(boxes.size(), *row.box ? 1u : 0u);
            if (*row.box) {
                EXPECT_NE(boxes[0].find(row.box), std::string::npos) << boxes[0];
            }
        }
    });
}

// A click on a view brings it to the top, above the views opened after it.
TEST(ViewStacking, AClickBringsAViewToTheTop)
{
    run_program([] {
        for (UINT id : {IDM_PLOT_TRANS_XSLICE, IDM_PLOT_TRANS_YSLICE})
            testing_send_command(mainhwnd, id);
        SendMessageA(hwndChildTransPlotXslice, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        testing_process_events();
        EXPECT_EQ(GetTopWindow(mainhwnd), hwndChildTransPlotXslice);
    });
}

// A closed view gives its menu command back; closing one leaves the others; a group function
// closes its own.
TEST(ViewRegistry, ClosingViewsGivesBackTheirCommandsOnly)
{
    const UINT kViewCommands[] = {55, 56, 61, 62, 63, 70, 71, 72, 73,
                                  74, 75, 76, 77, 78, 79, 80, 83};
    const auto open_count = [] { return testing_child_windows(mainhwnd).size(); };
    // Which views survive, when all seventeen are open.
    const struct {
        const char *name;
        void (*close)();
        std::vector<UINT> left;
    } rows[] = {
        {"DestroyInputChildWindows keeps the pupil slice plots",
         DestroyInputChildWindows,
         {61, 62, 63, 70, 71, 74, 75, 78, 79, 80, 83}},
        {"Create PSF after a new pupil closes the PSF views and the pupil slice plots",
         [] {
             pillbox_input();
             EnableMenuItem(GetMenu(mainhwnd), IDM_CREATE_PSF, MF_BYCOMMAND | MF_ENABLED);
             testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
         },
         {55, 56, 72, 73, 76, 77}},
    };
    run_program([&] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        for (const auto &row : rows) {
            SCOPED_TRACE(row.name);
            for (UINT id : kViewCommands) testing_send_command(mainhwnd, id);
            EXPECT_EQ(open_count(), 17u);
            row.close();
            for (UINT id : kViewCommands) {
                const bool kept = std::find(row.left.begin(), row.left.end(), id) != row.left.end();
                EXPECT_EQ(testing_menu_item(mainhwnd, id).grayed, kept) << "id=" << id;
            }
            EXPECT_EQ(open_count(), row.left.size());
            for (const TestWindow &w : testing_child_windows(mainhwnd))
                EXPECT_NE(ChildKind(w.hwnd), CHILD_KIND_NONE) << w.title;
            DestroyInputChildWindows();
            DestroyOutputChildWindows();
            EXPECT_EQ(open_count(), 0u);
        }
    });
}

TEST(ViewRegistry, AWindowThatIsNoViewHasNoKind)
{
    run_program([] {
        EXPECT_EQ(ChildKind(mainhwnd), CHILD_KIND_NONE);
        EXPECT_EQ(ChildKind(nullptr), CHILD_KIND_NONE);
        // Scroll messages for a window that is not a view go to default processing.
        EXPECT_EQ(ChildWndProc(mainhwnd, WM_VSCROLL, SB_LINEDOWN, 0), 0);
    });
}

}  // namespace
