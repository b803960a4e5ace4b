// The pupil phase dialogs: third-order aberrations, Zernike coefficients, the discontinuous
// phase pattern, the subaperture phase plate and the measured phase map. Each accepted dialog ends
// the same four ways (rebuild the pupil, restore "&Create PSF", close the views, end the dialog),
// but not in the same order; each procedure keeps its own.
#include <string>

#include "dialogs/dialog_common.h"
#include "dialogs/dialog_procs.h"
#include "dialogs/wavefront_files.h"
#include "optics/phase_map.h"
#include "optics/pupil.h"
#include "optics/settings.h"

namespace {

constexpr int ZERNIKE_TERMS = 37;
constexpr int ZERN_FIELD = 400;  // edit 400 + k holds Zern k
constexpr int ZERN_CHECK = 450;  // check box 450 + k holds HasZern k

void ShowCheck(HWND hDlg, int id, int on)
{
    CheckDlgButton(hDlg, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// --- Third Order Aberrations -------------------------------------------------------------------

struct ThirdOrderTerm {
    int check, field;
    const char *setting;
    int *enabled;
    float *peak;
};

const ThirdOrderTerm kThirdOrder[] = {
    {101, 105, "spherical", &HasSpherical, &spherical},
    {102, 106, "coma", &HasComa, &coma},
    {103, 107, "astigmatism", &HasAstigmatism, &astigmatism},
    {104, 108, "defocus", &HasDefocus, &defocus},
};

void InitThirdOrder(HWND hDlg)
{
    for (const ThirdOrderTerm &t : kThirdOrder) {
        ShowField(hDlg, t.field, "%9.3f", *t.peak);
        ShowCheck(hDlg, t.check, *t.enabled);
    }
}

void AcceptThirdOrder(HWND hDlg)
{
    float peaks[4];
    for (int n = 0; n < 4; ++n)
        if (!ReadFloatField(hDlg, kThirdOrder[n].field, kThirdOrder[n].setting, &peaks[n])) return;
    for (const ThirdOrderTerm &t : kThirdOrder) *t.enabled = ButtonState(hDlg, t.check);
    for (int n = 0; n < 4; ++n) *kThirdOrder[n].peak = peaks[n];
    EndDialog(hDlg, 0);
    pillbox_input();
    RestoreCreatePSFItem();
    CloseAllViews();
}

// --- Zernike Coefficients ----------------------------------------------------------------------

void InitZernike(HWND hDlg)
{
    for (int k = 1; k <= ZERNIKE_TERMS; ++k) {
        ShowFieldSignificant(hDlg, ZERN_FIELD + k, Zern[k], 5);
        ShowCheck(hDlg, ZERN_CHECK + k, HasZern[k]);
    }
}

void AcceptZernike(HWND hDlg)
{
    float coefficients[ZERNIKE_TERMS + 1];
    for (int k = 1; k <= ZERNIKE_TERMS; ++k) {
        const std::string setting = "Zern" + std::to_string(k);
        if (!ReadFloatField(hDlg, ZERN_FIELD + k, setting.c_str(), &coefficients[k])) return;
    }
    for (int k = 1; k <= ZERNIKE_TERMS; ++k) {
        Zern[k] = coefficients[k];
        HasZern[k] = ButtonState(hDlg, ZERN_CHECK + k);
    }
    EndDialog(hDlg, 0);
    pillbox_input();
    RestoreCreatePSFItem();
    CloseAllViews();
}

// --- Discontinuous Phase Pattern ---------------------------------------------------------------

void InitPhasePattern(HWND hDlg)
{
    ShowField(hDlg, 505, "%7.4f", PhasePatternWFE);
    ShowFieldSignificant(hDlg, 504, PhasePatternPeriod, 5);
    CheckRadioButton(hDlg, PATTERN_NONE, PATTERN_RANDOM, nCurrentPhasePattern);
    nTempRadioButton1 = nCurrentPhasePattern;
}

void AcceptPhasePattern(HWND hDlg)
{
    float wfe;
    int period;
    if (!ReadFloatField(hDlg, 505, "PhasePatternWFE", &wfe)) return;
    if (!ReadTruncatedField(hDlg, 504, "PhasePatternPeriod", &period)) return;
    nCurrentPhasePattern = nTempRadioButton1;
    PhasePatternWFE = wfe;
    PhasePatternPeriod = period;
    pillbox_input();
    EndDialog(hDlg, 0);
    RestoreCreatePSFItem();
    CloseAllViews();
}

// --- Subaperture Phase Plate -------------------------------------------------------------------

void InitPhasePlate(HWND hDlg)
{
    ShowCheck(hDlg, 520, nHasPhasePlate);
    ShowFieldSignificant(hDlg, 524, PhasePlateSteps, sig);
    ShowField(hDlg, 522, "%7.5f", PhasePlateWaves);
}

void AcceptPhasePlate(HWND hDlg)
{
    int steps;
    float waves;
    if (!ReadTruncatedField(hDlg, 524, "PhasePlateSteps", &steps)) return;
    if (!ReadFloatField(hDlg, 522, "PhasePlateWaves", &waves)) return;
    nHasPhasePlate = ButtonState(hDlg, 520);
    PhasePlateSteps = steps;
    PhasePlateWaves = waves;
    set_all_arrays_zero();
    RebuildPupilAndClose(hDlg);
}

// --- Phase Map ---------------------------------------------------------------------------------

constexpr int MAP_PATH = 801, MAP_SUM = 802, MAP_ADDED = 803, MAP_SCALE = 804, MAP_LOAD = 805;

// A path as the field has room for it: a long one loses its beginning, from a folder on, so
// that the file's own name stays in sight.
std::string PathInField(const std::string &path)
{
    constexpr std::size_t ROOM = 48;
    if (path.size() <= ROOM) return path;
    const std::size_t tail = path.size() - (ROOM - 3);
    const std::size_t folder = path.find('/', tail);
    return std::string("...").append(path, folder == std::string::npos ? tail : folder);
}

// The map's file and checksum; the check box is only offered with a map to add.
void ShowPhaseMapFile(HWND hDlg)
{
    const bool loaded = !phase_map_path().empty();
    SetDlgItemTextA(hDlg, MAP_PATH,
                    loaded ? PathInField(phase_map_path()).c_str() : "No phase map loaded");
    SetDlgItemTextA(hDlg, MAP_SUM, phase_map_sum().c_str());
    ShowCheck(hDlg, MAP_ADDED, HasPhaseMap);
    EnableWindow(GetDlgItem(hDlg, MAP_ADDED), loaded ? TRUE : FALSE);
}

void InitPhaseMap(HWND hDlg)
{
    ShowPhaseMapFile(hDlg);
    ShowFieldSignificant(hDlg, MAP_SCALE, phasemapscale, 6);
}

// Loading is a file command, as on the File menu: it takes effect at once, whatever button
// ends the dialog.
void LoadPhaseMapFromDialog(HWND hDlg)
{
    if (LoadPhaseMapFile(hDlg)) ShowPhaseMapFile(hDlg);
}

void AcceptPhaseMap(HWND hDlg)
{
    float scale;
    if (!ReadFloatField(hDlg, MAP_SCALE, "phasemapscale", &scale)) return;
    HasPhaseMap = ButtonState(hDlg, MAP_ADDED);
    phasemapscale = scale;
    RebuildPupilAndClose(hDlg);
}

}  // namespace

INT_PTR CALLBACK ThirdOrderAnalysisDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitThirdOrder(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: AcceptThirdOrder(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK ZernAnalysisDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitZernike(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: AcceptZernike(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK PhasePatternDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitPhasePattern(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case PATTERN_NONE:
        case PATTERN_CHECKER:
        case PATTERN_WAFFLE:
        case PATTERN_RANDOM: nTempRadioButton1 = LOWORD(wParam); return TRUE;
        case IDOK: AcceptPhasePattern(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK PhasePlateDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitPhasePlate(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: AcceptPhasePlate(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK PhaseMapDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitPhaseMap(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case MAP_LOAD: LoadPhaseMapFromDialog(hDlg); return TRUE;
        case IDOK: AcceptPhaseMap(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}
