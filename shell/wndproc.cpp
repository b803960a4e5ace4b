// The main window: its menu commands become dialogs, the PSF computation, reports and views.
#include "shell/wndproc.h"

#include <cstdio>
#include <cstring>

#include "optics/farfield.h"
#include "optics/settings.h"
#include "shell/dialog_procs.h"
#include "shell/globals.h"
#include "shell/helpers.h"
#include "shell/popfile.h"
#include "shell/reports.h"
#include "views/child.h"

namespace {

enum class ViewGroup { Table, PupilPlot, PsfPlot };
enum class PlotShape { None, XSlice, YSlice, Surface, Contour };

// One view command. Position and size are fractions of the client width W and height H: the
// tables cascade in steps of 1/16, the plots in steps of 1 %, contour plots are three
// quarters as wide as the other plots.
struct ViewCommand {
    UINT id;            // the handle global comes from the view registry by this id
    const char *title;  // null: built from the PSF plot settings
    ViewGroup group;
    bool needsPSF;
    PlotShape shape;
    double x, y, width, height;
};

const ViewCommand kViewCommands[] = {
    {55, "Pupil Transmission Values", ViewGroup::Table, false, PlotShape::None, 0.5 / 16, 0.5 / 16, 0.7, 0.7},
    {56, "Pupil Phase Values", ViewGroup::Table, false, PlotShape::None, 1.5 / 16, 1.5 / 16, 0.7, 0.7},
    {61, "Amplitude of Field at Focus", ViewGroup::Table, true, PlotShape::None, 2.5 / 16, 2.5 / 16, 0.7, 0.7},
    {62, "Phase of Field at Focus", ViewGroup::Table, true, PlotShape::None, 3.5 / 16, 3.5 / 16, 0.7, 0.7},
    {63, "PSF Values (Intensity of Field at Focus)", ViewGroup::Table, true, PlotShape::None, 4.5 / 16, 4.5 / 16, 0.7, 0.7},
    {71, "Pupil Tx vs. x in millimeters", ViewGroup::PupilPlot, false, PlotShape::XSlice, 0.01, 0.01, 0.85, 0.85},
    {70, "Pupil Tx vs. y in millimeters", ViewGroup::PupilPlot, false, PlotShape::YSlice, 0.02, 0.02, 0.85, 0.85},
    {72, "Pupil Tx vs. x and y in millimeters", ViewGroup::PupilPlot, false, PlotShape::Surface, 0.03, 0.03, 0.85, 0.85},
    {73, "Contour Plot of Pupil Transmission", ViewGroup::PupilPlot, false, PlotShape::Contour, 0.04, 0.04, 0.6375, 0.85},
    {75, "Pupil Phase vs. x in millimeters", ViewGroup::PupilPlot, false, PlotShape::XSlice, 0.06, 0.06, 0.85, 0.85},
    {74, "Pupil Phase vs. y in millimeters", ViewGroup::PupilPlot, false, PlotShape::YSlice, 0.07, 0.07, 0.85, 0.85},
    {76, "Pupil Phase vs. x and y in millimeters", ViewGroup::PupilPlot, false, PlotShape::Surface, 0.08, 0.08, 0.85, 0.85},
    {77, "Contour Plot of Pupil Phase-front", ViewGroup::PupilPlot, false, PlotShape::Contour, 0.09, 0.09, 0.6375, 0.85},
    {78, nullptr, ViewGroup::PsfPlot, true, PlotShape::XSlice, 0.11, 0.11, 0.85, 0.85},
    {79, nullptr, ViewGroup::PsfPlot, true, PlotShape::YSlice, 0.12, 0.12, 0.85, 0.85},
    {80, nullptr, ViewGroup::PsfPlot, true, PlotShape::Surface, 0.13, 0.13, 0.85, 0.85},
    {83, nullptr, ViewGroup::PsfPlot, true, PlotShape::Contour, 0.14, 0.14, 0.6375, 0.85},
};

struct DialogCommand {
    UINT id;
    const char *templateName;
    DLGPROC procedure;
};

const DialogCommand kDialogCommands[] = {
    {90, "AboutBox", AboutDlgProc},
    {91, "ZernInputDiaBox", ZernAnalysisDlgProc},
    {92, "ThirdOrderInputDiaBox", ThirdOrderAnalysisDlgProc},
    {93, "PhasePlate", PhasePlateDlgProc},
    {94, "PhasePatternBox", PhasePatternDlgProc},
    {95, "DataSavingOptions", DataSavingOptionsDlgProc},
    {96, "AnalyOptDlg", AnalyOptDlgProc},
    {97, "ObscurationBox", ObscurationBoxDlgProc},
    {98, "ApodBox", ApodDlgProc},
    {102, "SystemBox", SystemDlgProc},
    {103, "PupilBox", PupilSpecsDlgProc},
};

const ViewCommand *find_view(UINT id)
{
    for (const ViewCommand &view : kViewCommands)
        if (view.id == id) return &view;
    return nullptr;
}

const DialogCommand *find_dialog(UINT id)
{
    for (const DialogCommand &dialog : kDialogCommands)
        if (dialog.id == id) return &dialog;
    return nullptr;
}

// The PSF plot title: what is plotted (strx), then in which units (strz).
void BuildPSFPlotTitle(PlotShape shape)
{
    const bool logarithmic = PSFPlotType == PSF_LOGARITHMIC;
    const char *prefix = nullptr;
    switch (shape) {
    case PlotShape::XSlice: prefix = logarithmic ? "Log PSF vs. x in" : "PSF vs. x in"; break;
    case PlotShape::YSlice: prefix = logarithmic ? "Log PSF vs. y in" : "PSF vs. y in"; break;
    default: prefix = logarithmic ? "Log PSF vs. x and y in" : "PSF vs. x and y in"; break;
    }
    std::snprintf(strx, SCRATCH_SIZE, "%s", prefix);
    const char *units = " microns.";
    if (nCurrentPSFUnits == PSF_MILLIRADIANS) units = " milliradians.";
    if (nCurrentPSFUnits == PSF_ARCSECONDS) units = " arc seconds.";
    std::snprintf(strz, SCRATCH_SIZE, "%s", units);
}

void OpenView(HWND window, const ViewCommand &view)
{
    HWND *const handle = ChildViewForCommand(view.id)->handle;
    if (*handle) return;
    if (view.needsPSF && HaveCurrentPSF == 0) {
        MessageBoxA(window, "Click on Create PSF in menu above", "There Is No Current PSF", MB_OK);
        return;
    }
    char title[2 * SCRATCH_SIZE];
    if (view.title) {
        std::snprintf(title, sizeof title, "%s", view.title);
    } else {
        BuildPSFPlotTitle(view.shape);
        std::snprintf(title, sizeof title, "%s%s", strx, strz);
    }
    RECT client;
    GetClientRect(window, &client);
    ViewGeometry g{};
    ViewGeometryFor(view.id, client.right, client.bottom, &g);

    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                  WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    if (view.group == ViewGroup::Table) style |= WS_VSCROLL | WS_HSCROLL;
    *handle = CreateWindowExA(0, szChildClass, title, style, 0, 0, 0, 0, window, nullptr,
                                   reinterpret_cast<HINSTANCE>(GetWindowLongA(window, GWL_HINSTANCE)), nullptr);
    if (!*handle) return;
    SetWindowPos(*handle, HWND_TOP, g.x, g.y, g.width, g.height, SWP_SHOWWINDOW);
    EnableMenuItem(GetMenu(window), view.id, MF_BYCOMMAND | MF_GRAYED);
}

void CreatePSF(HWND window)
{
    SetCursor(hFFTCursor);
    SYSTEMTIME start, end;
    GetLocalTime(&start);
    do_FFT();
    HMENU menu = GetMenu(window);
    ModifyMenuA(menu, IDM_CREATE_PSF, MF_BYCOMMAND, IDM_CREATE_PSF, "FFT Done");
    EnableMenuItem(menu, IDM_CREATE_PSF, MF_BYCOMMAND | MF_GRAYED);
    DrawMenuBar(window);
    GetLocalTime(&end);
    MessageBeep(0);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    if (ionce == 0) ShowFFTStatistics(window, start, end);
    ionce = 1;
    if (psf_is_dark())
        MessageBoxA(window,
                    "The pupil lets no light through (it is fully obscured or has no open samples), "
                    "so the PSF is empty.",
                    "Orvinta", MB_ICONEXCLAMATION | MB_OK);
    DestroyOutputChildWindows();
}

void OpenDataFile(HWND window)
{
    if (PopFileOpenDlg(window, szFileName, szTitleName)) {
        if (!PopFileRead(window, szFileName)) {
            OkMessage(window, "Could not read the file %s!", szTitleName);
            szFileName[0] = '\0';
            szTitleName[0] = '\0';
        }
    }
    DoCaption(window, szTitleName);
}

void SaveDataAs(HWND window)
{
    if (PopFileSaveDlg(window, szFileName, szTitleName)) {
        DoCaption(window, szTitleName);
        PopFileWrite(window, szFileName);
    }
}

void SaveData(HWND window)
{
    if (szFileName[0]) PopFileWrite(window, szFileName);
    else SaveDataAs(window);
}

LRESULT OnCreate(HWND window, LPARAM lParam)
{
    PopFileInitialize(window);
    const auto *cs = reinterpret_cast<const CREATESTRUCTA *>(lParam);
    const char *commandLine = cs && cs->lpCreateParams ? static_cast<const char *>(cs->lpCreateParams) : "";
    szFileName[0] = '\0';
    szTitleName[0] = '\0';
    if (!commandLine[0]) return 0;
    if (GetFileTitleA(commandLine, szTitleName, FILE_TITLE_SIZE) != 0) szTitleName[0] = '\0';
    if (std::strlen(commandLine) >= FILE_NAME_SIZE) {
        // A cut path names another file: neither read it nor keep it for Save Data.
        OkMessage(window, "File %s cannot be read!", szTitleName);
        szFileName[0] = '\0';
        szTitleName[0] = '\0';
        return 0;
    }
    std::snprintf(szFileName, FILE_NAME_SIZE, "%s", commandLine);
    if (!PopFileRead(window, szFileName)) OkMessage(window, "File %s cannot be read!", szTitleName);
    return 0;
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (const ViewCommand *view = find_view(id)) {
        OpenView(window, *view);
        return 0;
    }
    if (const DialogCommand *dialog = find_dialog(id)) {
        DialogBoxParamA(reinterpret_cast<HINSTANCE>(GetWindowLongA(window, GWL_HINSTANCE)), dialog->templateName,
                        window, dialog->procedure, 0);
        return 0;
    }
    switch (id) {
    case IDM_OPEN: OpenDataFile(window); return 0;
    case IDM_SAVE: SaveData(window); return 0;
    case IDM_SAVEAS: SaveDataAs(window); return 0;
    case IDM_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); return 0;
    case IDM_REVIEW_DOMAINS: ReviewDomains(window); return 0;
    case IDM_CREATE_PSF: CreatePSF(window); return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

}  // namespace

bool ViewGeometryFor(UINT id, int W, int H, ViewGeometry *g)
{
    const ViewCommand *view = find_view(id);
    if (!view || !g) return false;
    // Computed in floating point, truncated toward zero.
    g->x = static_cast<int>(view->x * W);
    g->y = static_cast<int>(view->y * H);
    g->width = static_cast<int>(view->width * W);
    g->height = static_cast<int>(view->height * H);
    return true;
}

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, lParam);
    case WM_SIZE:
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        hdc = BeginPaint(window, &ps);
        EndPaint(window, &ps);
        hdc = nullptr;
        return 0;
    }
    case WM_COMMAND:
        return OnCommand(window, wParam, lParam);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
