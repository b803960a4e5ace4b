// The analysis options (far-field units, linear or logarithmic PSF, zoom, pupil sampling
// radius, centroid error analysis), the choice of array for the next file save, and the
// About box.
#include "dialogs/dialog_common.h"
#include "dialogs/dialog_procs.h"
#include "optics/pupil.h"
#include "optics/settings.h"
#include "views/program_windows.h"

namespace {

void ShowCheck(HWND hDlg, int id, int on)
{
    CheckDlgButton(hDlg, id, on ? BST_CHECKED : BST_UNCHECKED);
}

// --- Analysis Options --------------------------------------------------------------------------

// The three radio groups belong to one control group of the template: a click in one clears
// the marks of the others, so their pending choices are checked again.
void CheckPendingAnalysisChoices(HWND hDlg)
{
    CheckRadioButton(hDlg, PSF_MICRONS, PSF_ARCSECONDS, nTempRadioButton1);
    CheckRadioButton(hDlg, PSF_LINEAR, PSF_LOGARITHMIC, nTempRadioButton2);
    CheckRadioButton(hDlg, CENTROID_3BY3, CENTROID_4BY4, nTempRadioButton3);
}

void InitAnalysisOptions(HWND hDlg)
{
    nTempRadioButton1 = nCurrentPSFUnits;
    nTempRadioButton2 = PSFPlotType;
    nTempRadioButton3 = CentroidErrorType;
    CheckPendingAnalysisChoices(hDlg);
    SetDlgItemInt(hDlg, 173, static_cast<UINT>(pupilradius), FALSE);
    SetDlgItemInt(hDlg, 179, static_cast<UINT>(nPSFdecades), FALSE);
    ShowCheck(hDlg, 180, nZoomPlot);
    ShowCheck(hDlg, 183, nDoCentroidError);
}

void AcceptAnalysisOptions(HWND hDlg)
{
    int decades, radius;
    if (!ReadIntegerField(hDlg, 179, "nPSFdecades", &decades)) return;
    if (!ReadIntegerField(hDlg, 173, "pupilradius", &radius)) return;

    nCurrentPSFUnits = nTempRadioButton1;
    PSFPlotType = nTempRadioButton2;
    CentroidErrorType = nTempRadioButton3;
    NumPixels = CentroidErrorType == CENTROID_4BY4 ? 4 : 3;

    nZoomPlot = ButtonState(hDlg, 180);
    izoom = nZoomPlot == 1 ? 2 : 1;

    nDoCentroidError = ButtonState(hDlg, 183);

    nPSFdecades = decades;
    pupilradius = radius;
    ncenter = static_cast<float>(pupilradius - 0.5);

    // The pupil is resampled with the new radius.
    set_all_arrays_zero();
    RebuildPupilAndClose(hDlg);
}

}  // namespace

INT_PTR CALLBACK AnalyOptDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitAnalysisOptions(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case PSF_MICRONS:
        case PSF_MILLIRADIANS:
        case PSF_ARCSECONDS:
            nTempRadioButton1 = LOWORD(wParam);
            CheckPendingAnalysisChoices(hDlg);
            return TRUE;
        case PSF_LINEAR:
        case PSF_LOGARITHMIC:
            nTempRadioButton2 = LOWORD(wParam);
            CheckPendingAnalysisChoices(hDlg);
            return TRUE;
        case CENTROID_3BY3:
        case CENTROID_4BY4:
            nTempRadioButton3 = LOWORD(wParam);
            CheckPendingAnalysisChoices(hDlg);
            return TRUE;
        case IDOK: AcceptAnalysisOptions(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

// The data file writer reads the choice; nothing is rebuilt and no view closes.
INT_PTR CALLBACK DataSavingOptionsDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CheckRadioButton(hDlg, SAVE_TRANSMISSION, SAVE_PSF, nCurrentDataSave);
        nTempRadioButton1 = nCurrentDataSave;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case SAVE_TRANSMISSION:
        case SAVE_PHASE:
        case SAVE_PSF: nTempRadioButton1 = LOWORD(wParam); return TRUE;
        case IDOK:
            nCurrentDataSave = nTempRadioButton1;
            EndDialog(hDlg, 0);
            return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: CenterWindow(hDlg); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}
