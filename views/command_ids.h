// The menu command ids of the main window, as its menu resource carries them. The views
// open by these ids, the main window dispatches them, the dialogs touch item IDM_CREATE_PSF.
#pragma once

#include "platform/win32.h"

enum : UINT {
    IDM_OPEN = 21,
    IDM_SAVE = 22,
    IDM_SAVEAS = 23,
    IDM_EXIT = 25,
    IDM_REVIEW_DOMAINS = 40,
    IDM_CREATE_PSF = 51,
    IDM_TABLE_TRANSMISSION = 55,
    IDM_TABLE_PHASE = 56,
    IDM_TABLE_AMPLITUDE = 61,
    IDM_TABLE_FIELD_PHASE = 62,
    IDM_TABLE_PSF = 63,
    IDM_PLOT_TRANS_YSLICE = 70,
    IDM_PLOT_TRANS_XSLICE = 71,
    IDM_PLOT_TRANS_3D = 72,
    IDM_PLOT_TRANS_CONTOUR = 73,
    IDM_PLOT_PHASE_YSLICE = 74,
    IDM_PLOT_PHASE_XSLICE = 75,
    IDM_PLOT_PHASE_3D = 76,
    IDM_PLOT_PHASE_CONTOUR = 77,
    IDM_PLOT_PSF_XSLICE = 78,
    IDM_PLOT_PSF_YSLICE = 79,
    IDM_PLOT_PSF_3D = 80,
    IDM_PLOT_PSF_CONTOUR = 83,
    IDM_ABOUT = 90,
    IDM_ZERNIKE = 91,
    IDM_THIRD_ORDER = 92,
    IDM_PHASE_PLATE = 93,
    IDM_PHASE_PATTERN = 94,
    IDM_DATA_SAVING = 95,
    IDM_ANALYSIS = 96,
    IDM_OBSCURATION = 97,
    IDM_APODIZATION = 98,
    IDM_OPTICS = 102,
    IDM_PUPIL = 103,
};
