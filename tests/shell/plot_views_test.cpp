// What a plot view hands its chart: the points of each kind, the logarithmic PSF, the titles,
// the builders' record, and a repaint at a new size.
#include <cmath>
#include <iterator>
#include <cstring>
#include <tuple>

#include "optics/domains.h"
#include "platform/dc.h"
#include "views/plot.h"
#include "views/plot_menu.h"
#include "views/quality_box.h"
#include "tests/shell/program_harness.h"

namespace {

// Start-up settings and pupil; every chart message is answered by the test support.
class PlotViews : public ::testing::Test {
protected:
    void SetUp() override { optics_startup(); testing_begin(); dc = CreateRecordingDC(400, 300); }
    void TearDown() override { DeleteDC(dc); testing_end(); optics_shutdown(); }
    void paint(int kind, int zoom) { izoom = zoom; DrawPlot(dc, RECT{0, 0, 400, 300}, kind); }
    HDC dc = nullptr;
};

TEST_F(PlotViews, PointsAndExtentsOfEachKindFollowTheZoomWindow)
{
    // Abscissas in sample steps: PSF samples sit on the index (65 at 0), pupil samples half a
    // step off it (64.5 at 0). Zoom 2 shows indices 33..96.
    struct Row {
        int kind, zoom, points;
        double first, last;  // x of the first and last point, in steps
        int side;            // contour columns and rows, 0 for other kinds
    } rows[] = {
        {7, 1, 128, -64, 63, 0},     {14, 2, 64, -32, 31, 0},   {17, 1, 128, -63.5, 63.5, 0},
        {16, 2, 64, -31.5, 31.5, 0}, {8, 2, 4096, -32, 31, 0},  {11, 1, 16384, -63.5, 63.5, 128},
        {9, 2, 4096, -32, 31, 64},
    };
    for (const Row &row : rows) {
        paint(row.kind, row.zoom);
        const bool psf = row.kind == 7 || row.kind == 14 || row.kind == 8 || row.kind == 9;
        const double step = psf ? XPSFStep : XPupilStep;
        EXPECT_EQ(numplotpts, row.points) << "kind " << row.kind;
        EXPECT_DOUBLE_EQ(graph_xneg_extent, row.first * step) << "kind " << row.kind;
        EXPECT_DOUBLE_EQ(graph_xpos_extent, row.last * step) << "kind " << row.kind;
        const bool slice = row.kind == 7 || row.kind >= 14;
        // A slice is one data set; a grid has one set per column j, coded j + 65.
        EXPECT_EQ(sym[0], slice ? 42 : (row.zoom == 1 ? 1 : 33) + 65) << "kind " << row.kind;
        if (row.side) {
            EXPECT_EQ(numxplotpts, row.side) << "kind " << row.kind;
            EXPECT_EQ(numyplotpts, row.side) << "kind " << row.kind;
            EXPECT_DOUBLE_EQ(graph_ypos_extent, row.last * step) << "kind " << row.kind;
        }
    }
}

TEST_F(PlotViews, LogarithmicPsfClipsAtTheDecadeLimit)
{
    for (int i = 1; i <= GRID; i++) m_output[i][65] = 0.0f;
    struct Row { int i; float value; double plotted; } rows[] = {
        // Four decades below the peak of 100: clip value 10^-3, so everything below plots at -3.
        {10, 0.0f, std::log10(0.001f)}, {20, 0.0005f, std::log10(0.001f)}, {30, 10.0f, 1.0}, {65, 100.0f, 2.0},
    };
    for (const Row &row : rows) m_output[row.i][65] = row.value;
    PSFPlotType = PSF_LOGARITHMIC;
    nPSFdecades = 4;
    paint(7, 1);
    EXPECT_EQ(PSFthold, 0.001f);
    for (const Row &row : rows) EXPECT_DOUBLE_EQ(z[row.i - 1], row.plotted) << "log, i = " << row.i;
    PSFPlotType = PSF_LINEAR;
    paint(7, 1);
    for (const Row &row : rows) EXPECT_DOUBLE_EQ(z[row.i - 1], row.value) << "linear, i = " << row.i;
}

TEST_F(PlotViews, TitlesCarryTheCentroidAndTheRmsWithTheCurrentDigits)
{
    wavesrms = 1.0f / 3.0f;  // 0.333333343267...
    xpsfcent = 2.0f;
    ypsfcent = 1e30f;
    sig = 10;
    set_domains();
    const double step = XPSFStep;
    ASSERT_NEAR(step, 109.2 / 127, 1e-9);  // 0.859842..., so x = 1.7197 and y = 8.598e29
    struct Row { int kind; const char *title; int sigAfter; } rows[] = {
        {12, "0.3333333433 waves RMS", 10}, {8, "Centroids: x = 1.72     y = 8.6e+29", 3}, {12, "0.333 waves RMS", 3},
    };
    for (const Row &row : rows) {
        paint(row.kind, 1);
        EXPECT_STREQ(zG.Title, row.title) << "kind " << row.kind;
        EXPECT_EQ(sig, row.sigAfter) << "kind " << row.kind;
    }
}

TEST_F(PlotViews, FlatDataGetARangeOfOneThousandthAndAFlatContourDrawsItsFrameAndTitle)
{
    for (int i = 1; i <= GRID; i++) phase_input[i][65] = 0.0f;
    paint(15, 1);
    EXPECT_EQ(zG.YMin, 0.0);
    EXPECT_EQ(zG.YMax, 0.001);
    for (int j = 1; j <= GRID; j++)
        for (int i = 1; i <= GRID; i++) m_output[i][j] = 0.0f;
    ClearRecordedOps(dc);
    paint(9, 1);
    bool title = false;
    for (const RecordedOp &op : RecordedOps(dc)) title |= op.text == "Point Spread Function";
    EXPECT_TRUE(title);
}

// Every field of the record, compared one by one.
void expect_record(const zGraphStruct &got, const zGraphStruct &want, const char *row)
{
#define SAME(f) EXPECT_EQ(got.f, want.f) << row << ": " #f
    SAME(hDC); SAME(pWindowRect); SAME(pXData); SAME(pYData); SAME(pZData); SAME(pSymbols);
    SAME(NumPoints); SAME(AxisColor); SAME(BkgColor); SAME(pGraphColors); SAME(BrushStyle);
    SAME(LegendStyle); SAME(ItemStyle); SAME(bDrawLines); SAME(bDrawSymbols); SAME(bShowGrid);
    SAME(bAutoScale); SAME(b3D); SAME(GradedBkg); SAME(GradedColorScheme); SAME(XAxisDivisions);
    SAME(YAxisDivisions); SAME(DigitFormat); SAME(DigitPrecision); SAME(PenStyle); SAME(ShadeShift);
    SAME(XMin); SAME(XMax); SAME(YMin); SAME(YMax); SAME(ZMin); SAME(ZMax); SAME(NumContours);
    for (int k = 0; k < 30; k++) SAME(ItemTitles[k]);
    for (int k = 0; k < 10; k++) SAME(LegendTitles[k]);
#undef SAME
    // Texts: null stays null, an empty text is an empty text.
    for (auto [g, w, name] : {std::tuple{got.XAxisTitle, want.XAxisTitle, "XAxisTitle"},
                              std::tuple{got.YAxisTitle, want.YAxisTitle, "YAxisTitle"},
                              std::tuple{got.Formula, want.Formula, "Formula"}}) {
        EXPECT_EQ(g == nullptr, w == nullptr) << row << ": " << name;
        if (g && w) {
            EXPECT_STREQ(g, w) << row << ": " << name;
        }
    }
}

TEST_F(PlotViews, BuildersFillExactlyTheirFields)
{
    set_domains();
    // A pupil transmission grid of known range: 0 outside the pupil, 1 inside; its slice
    // through the centre holds both. Axis black (palette 0), background white (palette 15).
    zGraphStruct base{};
    base.hDC = dc, base.pWindowRect = &theRect, base.AxisColor = 0x000000, base.BkgColor = 0xFFFFFF;
    base.pGraphColors = PlotColorArray, base.LegendStyle = 2, base.bDrawLines = 1, base.DigitFormat = 2;
    base.PenStyle = 2;
    zGraphStruct slice = base;  // pupil transmission X-slice, whole array: 128 points
    slice.pXData = x, slice.pYData = z, slice.pSymbols = sym, slice.NumPoints = 128;
    slice.XAxisTitle = slice.YAxisTitle = "";
    for (int k = 0; k < 10; k++) slice.LegendTitles[k] = LegendNames[k];
    slice.bShowGrid = 1, slice.DigitPrecision = 3, slice.XMin = -63.5 * XPupilStep, slice.XMax = 63.5 * XPupilStep;
    slice.YMin = 0, slice.YMax = 1.0 + 0.001;
    zGraphStruct surface = slice;  // pupil transmission 3-D, zoom 2: 64 x 64 points
    surface.pYData = y, surface.pZData = z, surface.NumPoints = 4096, surface.XAxisTitle = surface.YAxisTitle = nullptr;
    surface.ItemStyle = 2, surface.DigitPrecision = 0, surface.XMin = surface.YMin = -31.5 * XPupilStep;
    surface.XMax = surface.YMax = 31.5 * XPupilStep, surface.ZMin = 0, surface.ZMax = 1.0 + 0.001, surface.Formula = "";
    zGraphStruct contour = base;  // pupil transmission contour, whole array
    contour.pZData = z, contour.NumPoints = 16384, contour.XAxisTitle = contour.YAxisTitle = "", contour.bShowGrid = 1;
    contour.bAutoScale = 1, contour.XAxisDivisions = contour.YAxisDivisions = -1, contour.DigitPrecision = 1;
    contour.XMax = contour.YMax = 128, contour.NumContours = 4;
    const struct { const char *name; int kind, zoom; const zGraphStruct *want; } rows[] = {
        {"slice", 17, 1, &slice}, {"surface", 10, 2, &surface}, {"contour", 11, 1, &contour}};
    for (const auto &row : rows) {
        paint(row.kind, row.zoom);
        expect_record(zG, *row.want, row.name);
    }
}

TEST(PlotWindow, AResizedPlotRepaintsAtItsNewSize)
{
    const int code = run_program([] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        testing_choose_menu_item(mainhwnd, IDM_PLOT_PSF_XSLICE);
        testing_process_events();
        ASSERT_NE(hwndChildOutPlotXslice, nullptr);
        for (const auto &[width, height] : {std::pair{420, 260}, std::pair{300, 500}}) {
            MoveWindow(hwndChildOutPlotXslice, 0, 0, width, height, TRUE);
            testing_process_events();
            RECT client{};
            GetClientRect(hwndChildOutPlotXslice, &client);
            theRect = RECT{};
            UpdateWindow(hwndChildOutPlotXslice);
            InvalidateRect(hwndChildOutPlotXslice, nullptr, TRUE);
            testing_process_events();
            EXPECT_EQ(theRect.right, client.right) << width << " x " << height;
            EXPECT_EQ(theRect.bottom, client.bottom) << width << " x " << height;
            EXPECT_STREQ(zG.Title, "X-Slice (Y=0) of Point Spread Function");
        }
    });
    EXPECT_EQ(code, 0);
}

}  // namespace

namespace {

class PlotWindowMenu : public TempFolderTest {};

TEST_F(PlotWindowMenu, RightClickSavesAndCopiesTheChartAtTheViewsSize)
{
    const std::string folder = dir;
    const int code = run_program([folder] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        testing_choose_menu_item(mainhwnd, IDM_PLOT_PSF_CONTOUR);
        testing_process_events();
        HWND view = hwndChildOutPlotCont;
        ASSERT_NE(view, nullptr);
        MoveWindow(view, 0, 0, 360, 250, TRUE);
        testing_process_events();
        RECT client{};
        GetClientRect(view, &client);
        // Save, answering the dialog with a name without ending and the SVG type; then Copy.
        testing_answer_popup_menus({IDM_SAVE_PICTURE, IDM_COPY_PICTURE});
        testing_filedlg_begin({testing_file_choice(folder + "/contour", 2)});
        SendMessageA(view, WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
        SendMessageA(view, WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
        const std::vector<std::string> items = {"Save Picture As...", "Copy Picture", "Image Quality..."};
        ASSERT_EQ(testing_popup_menus().size(), 2u);
        EXPECT_EQ(testing_popup_menus()[0], items);
        ASSERT_EQ(testing_filedlg_requests().size(), 1u);
        EXPECT_EQ(testing_filedlg_requests()[0].filters.size(), 2u);
        std::ifstream in(folder + "/contour.svg");
        const std::string svg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string box = "viewBox=\"0 0 " + std::to_string(client.right) + " " + std::to_string(client.bottom) + "\"";
        EXPECT_NE(svg.find(box), std::string::npos) << box;
        EXPECT_NE(svg.find(">Point Spread Function</text>"), std::string::npos);
        BITMAP bm{};
        HGDIOBJ copied = static_cast<HGDIOBJ>(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
        ASSERT_NE(copied, nullptr);
        GetObjectA(copied, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, client.right);
        EXPECT_EQ(bm.bmHeight, client.bottom);
    });
    EXPECT_EQ(code, 0);
}

TEST(ImageQualityMenu, FarFieldViewsOfferTheFiguresWithTheirUnits)
{
    const int code = run_program([] {
        testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
        const struct { UINT command; HWND *view; std::vector<std::string> items; } rows[] = {
            {IDM_TABLE_PSF, &hwndChildModulusOutput, {"Image Quality..."}},
            {IDM_TABLE_TRANSMISSION, &hwndChildRealInput, {}},  // a pupil table has no menu
            {IDM_PLOT_PSF_XSLICE, &hwndChildOutPlotXslice, {"Save Picture As...", "Copy Picture", "Image Quality..."}},
            {IDM_PLOT_TRANS_XSLICE, &hwndChildTransPlotXslice, {"Save Picture As...", "Copy Picture"}},
        };
        for (const auto &row : rows) {
            testing_choose_menu_item(mainhwnd, row.command);
            testing_answer_popup_menus({IDM_IMAGE_QUALITY});
            const std::size_t boxes = testing_message_boxes().size(), menus = testing_popup_menus().size();
            SendMessageA(*row.view, WM_CONTEXTMENU, 0, MAKELPARAM(20, 20));
            const bool offered = !row.items.empty();
            ASSERT_EQ(testing_popup_menus().size(), menus + (offered ? 1 : 0)) << row.command;
            if (!offered) continue;
            EXPECT_EQ(testing_popup_menus().back(), row.items) << row.command;
            ASSERT_EQ(testing_message_boxes().size(), boxes + 1) << row.command;
            const TestMessageBox &box = testing_message_boxes().back();
            EXPECT_EQ(box.caption, "Image Quality");
            // 127 / (2 x 19.5) PSF samples per lambda F at the start-up radius; widths in microns.
            EXPECT_EQ(box.text.rfind("strehl: ", 0), 0u) << box.text;
            EXPECT_NE(box.text.find(" um\nfwhm_y: "), std::string::npos) << box.text;
            EXPECT_NE(box.text.find("\nsampling_q: 3.25641026 samples per lambda F\n"), std::string::npos) << box.text;
        }
    });
    EXPECT_EQ(code, 0);
}

}  // namespace
