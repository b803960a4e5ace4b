// "Zernike Fit...": the least-squares Zernike fit of the pupil phase in a box, offered by the
// context menu of the pupil phase views: the ordering, normalisation and number of terms to
// fit, the coefficients in a table, what they leave, and the fit as a coefficient file on the
// clipboard.
#pragma once

#include "platform/win32.h"

// Menu id and text of the item in a view's context menu.
enum : UINT { IDM_ZERNIKE_FIT = 8 };
inline constexpr char kZernikeFitItem[] = "&Zernike Fit...";

// The box's controls (template ZernikeFitBox); Fit is the default button (IDOK), Close IDCANCEL.
enum : int {
    FIT_FRINGE = 702,
    FIT_NOLL = 703,
    FIT_ANSI = 704,
    FIT_PEAK = 706,
    FIT_RMS = 707,
    FIT_TERMS = 708,
    FIT_HEADER = 709,
    FIT_TABLE = 710,
    FIT_RESIDUAL_RMS = 711,
    FIT_RESIDUAL_PV = 712,
    FIT_COPY = 713,
};

// True for the views of the pupil phase (its table and plots), which offer it.
bool ShowsZernikeFit(int kind);

// Runs the box, owned by window.
void ShowZernikeFitBox(HWND window);
