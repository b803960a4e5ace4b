// The main window: its menu commands become dialogs, the PSF computation, reports and views.
#include "shell/wndproc.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "optics/domains.h"
#include "optics/farfield.h"
#include "optics/number_text.h"
#include "optics/settings.h"
#include "optics/spectrum.h"
#include "optics/transfer_function.h"
#include "dialogs/dialog_procs.h"
#include "dialogs/wavefront_files.h"
#include "shell/globals.h"
#include "shell/popfile.h"
#include "shell/reports.h"
#include "views/child.h"
#include "views/plot.h"

namespace {

struct DialogCommand {
    UINT id;
    const char *templateName;
    DLGPROC procedure;
};

const DialogCommand kDialogCommands[] = {
    {IDM_ABOUT, "AboutBox", AboutDlgProc},
    {IDM_ZERNIKE, "ZernInputDiaBox", ZernAnalysisDlgProc},
    {IDM_THIRD_ORDER, "ThirdOrderInputDiaBox", ThirdOrderAnalysisDlgProc},
    {IDM_PHASE_PLATE, "PhasePlate", PhasePlateDlgProc},
    {IDM_PHASE_PATTERN, "PhasePatternBox", PhasePatternDlgProc},
    {IDM_DATA_SAVING, "DataSavingOptions", DataSavingOptionsDlgProc},
    {IDM_ANALYSIS, "AnalyOptDlg", AnalyOptDlgProc},
    {IDM_OBSCURATION, "ObscurationBox", ObscurationBoxDlgProc},
    {IDM_APODIZATION, "ApodBox", ApodDlgProc},
    {IDM_OPTICS, "SystemBox", SystemDlgProc},
    {IDM_PUPIL, "PupilBox", PupilSpecsDlgProc},
    {IDM_SPECTRUM_JITTER, "SpectrumJitterBox", SpectrumJitterDlgProc},
    {IDM_PHASE_MAP, "PhaseMapBox", PhaseMapDlgProc},
};

const DialogCommand *find_dialog(UINT id)
{
    for (const DialogCommand &dialog : kDialogCommands)
        if (dialog.id == id) return &dialog;
    return nullptr;
}

// What the PSF is made of besides one wavelength held still: ", 20 % band", ", measured
// spectrum", ", jitter 0.5" (or ", jitter 0.5 x 0.2" when the axes differ); empty otherwise.
std::string BandAndJitterWords()
{
    std::string words;
    if (!spectrum().empty())
        words += ", measured spectrum";
    else if (is_broadband())
        words += ", " + gN(bandwidth, 6) + " % band";
    if (is_jittered()) {
        words += ", jitter " + gN(jitter_x, 6);
        if (jitter_y != jitter_x) words += " x " + gN(jitter_y, 6);
    }
    return words;
}

// The MTF plot title: the axis of its frequencies (strx), then their unit (strz).
void BuildMTFPlotTitle(ViewShape shape)
{
    const char *prefix = shape == ViewShape::XSlice   ? "MTF vs. x frequency in "
                         : shape == ViewShape::YSlice ? "MTF vs. y frequency in "
                                                      : "MTF vs. x and y frequency in ";
    std::snprintf(strx, SCRATCH_SIZE, "%s", prefix);
    std::snprintf(strz, SCRATCH_SIZE, "%s.", frequency_unit_name());
}

// The PSF plot title: what is plotted (strx), then in which units (strz).
void BuildPSFPlotTitle(ViewShape shape, bool logarithmic)
{
    const char *prefix = nullptr;
    switch (shape) {
    case ViewShape::XSlice: prefix = logarithmic ? "Log PSF vs. x in" : "PSF vs. x in"; break;
    case ViewShape::YSlice: prefix = logarithmic ? "Log PSF vs. y in" : "PSF vs. y in"; break;
    default: prefix = logarithmic ? "Log PSF vs. x and y in" : "PSF vs. x and y in"; break;
    }
    std::snprintf(strx, SCRATCH_SIZE, "%s", prefix);
    std::snprintf(strz, SCRATCH_SIZE, "%s%s.", psf_unit_words(), BandAndJitterWords().c_str());
}

void OpenView(HWND window, const ViewEntry &view)
{
    HWND *const handle = view.handle;
    if (*handle) return;
    // A dark PSF has nothing to colour and no MTF: its image refuses as before a PSF is made.
    const bool dark = view.needsLight && psf_is_dark();
    if ((view.needsPSF && HaveCurrentPSF == 0) || (dark && view.plot.source == PlotSource::PSF)) {
        MessageBoxA(window, "Click on Create PSF in menu above", "There Is No Current PSF", MB_OK);
        return;
    }
    if (dark) {
        MessageBoxA(window, "The pupil lets no light through, so the PSF has no MTF to show",
                    "There Is No MTF", MB_OK);
        return;
    }
    char title[2 * SCRATCH_SIZE];
    if (view.title) {
        std::snprintf(title, sizeof title, "%s", view.title);
    } else if (view.plot.source == PlotSource::MTF) {
        BuildMTFPlotTitle(view.shape);
        std::snprintf(title, sizeof title, "%s%s", strx, strz);
    } else {
        // The PSF image keeps its own choice of scale.
        const ImageOptions *image = ImageOptionsFor(view.kind);
        BuildPSFPlotTitle(view.shape,
                          image ? ImageIsLogarithmic(*image) : PSFPlotType == PSF_LOGARITHMIC);
        std::snprintf(title, sizeof title, "%s%s", strx, strz);
    }
    RECT client;
    GetClientRect(window, &client);
    ViewGeometry g{};
    ViewGeometryFor(view.commandId, client.right, client.bottom, &g);

    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU |
                  WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    if (view.shape == ViewShape::Table) style |= WS_VSCROLL | WS_HSCROLL;
    *handle = CreateWindowExA(0, szChildClass, title, style, 0, 0, 0, 0, window, nullptr,
                              reinterpret_cast<HINSTANCE>(GetWindowLongA(window, GWL_HINSTANCE)),
                              nullptr);
    if (!*handle) return;
    SetWindowPos(*handle, HWND_TOP, g.x, g.y, g.width, g.height, SWP_SHOWWINDOW);
    EnableMenuItem(GetMenu(window), view.commandId, MF_BYCOMMAND | MF_GRAYED);
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
        MessageBoxA(
            window,
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
    if (szFileName[0])
        PopFileWrite(window, szFileName);
    else
        SaveDataAs(window);
}

LRESULT OnCreate(HWND window, LPARAM lParam)
{
    PopFileInitialize(window);
    const auto *cs = reinterpret_cast<const CREATESTRUCTA *>(lParam);
    const char *commandLine =
        cs && cs->lpCreateParams ? static_cast<const char *>(cs->lpCreateParams) : "";
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
    if (const ViewEntry *view = ViewForCommand(id)) {
        OpenView(window, *view);
        return 0;
    }
    if (const DialogCommand *dialog = find_dialog(id)) {
        DialogBoxParamA(reinterpret_cast<HINSTANCE>(GetWindowLongA(window, GWL_HINSTANCE)),
                        dialog->templateName, window, dialog->procedure, 0);
        return 0;
    }
    switch (id) {
    case IDM_OPEN: OpenDataFile(window); return 0;
    case IDM_SAVE: SaveData(window); return 0;
    case IDM_SAVEAS: SaveDataAs(window); return 0;
    case IDM_EXIT: SendMessageA(window, WM_CLOSE, 0, 0); return 0;
    case IDM_LOAD_PHASE_MAP: LoadPhaseMapFile(window); return 0;
    case IDM_LOAD_ZERNIKES: LoadZernikeCoefficients(window); return 0;
    case IDM_REVIEW_DOMAINS: ReviewDomains(window); return 0;
    case IDM_CREATE_PSF: CreatePSF(window); return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window, lParam);
    case WM_SIZE: return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        hdc = BeginPaint(window, &ps);
        EndPaint(window, &ps);
        hdc = nullptr;
        return 0;
    }
    case WM_COMMAND: return OnCommand(window, wParam, lParam);
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
