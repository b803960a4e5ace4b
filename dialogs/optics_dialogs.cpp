// The optics and pupil transmission dialogs: wavelength and F-number, pupil shape, size and
// units, the central obscuration and struts, and the apodization. Accepting any of them
// rebuilds the pupil, so that no PSF of the old settings can be shown.
#include "optics/pupil.h"
#include "optics/settings.h"
#include "optics/settings_rules.h"
#include "dialogs/dialog_common.h"
#include "dialogs/dialog_procs.h"

namespace {

// --- Optics Specifications ---------------------------------------------------------------------

void InitSystem(HWND hDlg)
{
    ShowField(hDlg, 116, "%9.3f", wavelength);
    ShowField(hDlg, 117, "%9.3f", fnumber);
    CheckRadioButton(hDlg, FOV_X, FOV_Y, nCurrentFOV);
    nTempRadioButton1 = nCurrentFOV;
}

void AcceptSystem(HWND hDlg)
{
    float newWavelength, newFnumber;
    if (!ReadFloatField(hDlg, 116, "wavelength", &newWavelength)) return;
    if (!ReadFloatField(hDlg, 117, "fnumber", &newFnumber)) return;
    nCurrentFOV = nTempRadioButton1;
    wavelength = newWavelength;
    fnumber = newFnumber;
    EFL = pupildiamm * fnumber;
    RebuildPupilAndClose(hDlg);
}

// --- Pupil Specifications ----------------------------------------------------------------------

void InitPupil(HWND hDlg)
{
    CheckRadioButton(hDlg, UNITS_INCHES, UNITS_MILLIMETERS, nCurrentPupUnits);
    CheckRadioButton(hDlg, SHAPE_ROUND, SHAPE_RECTANGLE, nCurrentPupilShape);
    ShowField(hDlg, 139, "%7.3f", PupilAspectRatio);
    ShowField(hDlg, 132, "%6.2f", pupildia);
    nTempRadioButton1 = nCurrentPupUnits;
    nTempRadioButton2 = nCurrentPupilShape;
}

void AcceptPupil(HWND hDlg)
{
    float newAspect, newDiameter;
    if (!ReadFloatField(hDlg, 139, "PupilAspectRatio", &newAspect)) return;
    if (!ReadFloatField(hDlg, 132, "pupildia", &newDiameter)) return;
    nCurrentPupUnits = nTempRadioButton1;
    nCurrentPupilShape = nTempRadioButton2;
    PupilAspectRatio = newAspect;
    pupildia = newDiameter;
    pupildiamm = pupil_mm(pupildia, nCurrentPupUnits);
    EFL = pupildiamm * fnumber;
    RebuildPupilAndClose(hDlg);
}

// --- Obscuration of Pupil Transmission ---------------------------------------------------------

void InitObscuration(HWND hDlg)
{
    CheckDlgButton(hDlg, 143, HasStruts ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hDlg, 140, nCurrentObscuration ? BST_CHECKED : BST_UNCHECKED);
    ShowField(hDlg, 141, "%6.4f", LinearObscuration);
}

void AcceptObscuration(HWND hDlg)
{
    float newRatio;
    if (!ReadFloatField(hDlg, 141, "LinearObscuration", &newRatio)) return;
    nCurrentObscuration = ButtonState(hDlg, 140);
    HasStruts = ButtonState(hDlg, 143);
    LinearObscuration = newRatio;
    RebuildPupilAndClose(hDlg);
}

// --- Apodization of Pupil Transmission ---------------------------------------------------------

void InitApodization(HWND hDlg)
{
    ShowField(hDlg, 151, "%8.4f", rbreak);
    ShowField(hDlg, 152, "%8.4f", cir_sgxp);
    ShowField(hDlg, 153, "%8.4f", x_sgxp);
    ShowField(hDlg, 154, "%8.4f", y_sgxp);
    CheckRadioButton(hDlg, APOD_NONE, APOD_RECTANGULAR_SG, nCurrentApod);
    nTempRadioButton1 = nCurrentApod;
}

void AcceptApodization(HWND hDlg)
{
    float newBreak, newCircular, newX, newY;
    if (!ReadFloatField(hDlg, 151, "rbreak", &newBreak)) return;
    if (!ReadFloatField(hDlg, 152, "cir_sgxp", &newCircular)) return;
    if (!ReadFloatField(hDlg, 153, "x_sgxp", &newX)) return;
    if (!ReadFloatField(hDlg, 154, "y_sgxp", &newY)) return;
    nCurrentApod = nTempRadioButton1;
    rbreak = newBreak;
    cir_sgxp = newCircular;
    x_sgxp = newX;
    y_sgxp = newY;
    RebuildPupilAndClose(hDlg);
}

// --- Spectrum and Jitter -------------------------------------------------------------------------

void InitSpectrumJitter(HWND hDlg)
{
    ShowFieldSignificant(hDlg, 601, bandwidth, 6);
    ShowField(hDlg, 602, "%.0f", nwavelengths);
    ShowFieldSignificant(hDlg, 603, jitter_x, 6);
    ShowFieldSignificant(hDlg, 604, jitter_y, 6);
}

void AcceptSpectrumJitter(HWND hDlg)
{
    float newBandwidth, newJitterX, newJitterY;
    int newCount;
    if (!ReadFloatField(hDlg, 601, "bandwidth", &newBandwidth)) return;
    if (!ReadIntegerField(hDlg, 602, "nwavelengths", &newCount)) return;
    if (!ReadFloatField(hDlg, 603, "jitter_x", &newJitterX)) return;
    if (!ReadFloatField(hDlg, 604, "jitter_y", &newJitterY)) return;
    bandwidth = newBandwidth;
    nwavelengths = newCount;
    jitter_x = newJitterX;
    jitter_y = newJitterY;
    RebuildPupilAndClose(hDlg);
}

}  // namespace

INT_PTR CALLBACK SpectrumJitterDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitSpectrumJitter(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: AcceptSpectrumJitter(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK SystemDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitSystem(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case FOV_X:
        case FOV_Y: nTempRadioButton1 = LOWORD(wParam); return TRUE;
        case IDOK: AcceptSystem(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK PupilSpecsDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitPupil(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        // Units and shape share one control group of the template: a click clears the other
        // group's mark, so the pending choice there is checked again.
        case UNITS_INCHES:
        case UNITS_CENTIMETERS:
        case UNITS_MILLIMETERS:
            nTempRadioButton1 = LOWORD(wParam);
            CheckRadioButton(hDlg, SHAPE_ROUND, SHAPE_RECTANGLE, nTempRadioButton2);
            return TRUE;
        case SHAPE_ROUND:
        case SHAPE_RECTANGLE:
            nTempRadioButton2 = LOWORD(wParam);
            CheckRadioButton(hDlg, UNITS_INCHES, UNITS_MILLIMETERS, nTempRadioButton1);
            return TRUE;
        case IDOK: AcceptPupil(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK ObscurationBoxDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitObscuration(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: AcceptObscuration(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK ApodDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: InitApodization(hDlg); return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case APOD_NONE:
        case APOD_TRIANGULAR:
        case APOD_CIRCULAR_SG:
        case APOD_RECTANGULAR_SG: nTempRadioButton1 = LOWORD(wParam); return TRUE;
        case IDOK: AcceptApodization(hDlg); return TRUE;
        case IDCANCEL: EndDialog(hDlg, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}
