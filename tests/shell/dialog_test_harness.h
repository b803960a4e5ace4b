// Shared by the dialog tests: the windowed program runs headless, the test body runs at its
// first idle moment, dialogs are driven by queued scripts and message boxes are answered OK.
#pragma once

#include "tests/shell/program_harness.h"

namespace dialog_tests {

// Opens a dialog through its menu command with script as the user; false when the command
// is not there or no dialog opened.
inline bool open_dialog(UINT command, std::function<void(HWND)> script)
{
    const std::size_t before = testing_dialogs_opened().size();
    testing_dialog_script(std::move(script));
    if (!testing_choose_menu_item(mainhwnd, command)) return false;
    return testing_dialogs_opened().size() == before + 1 && testing_dialog_scripts_left() == 0;
}

inline std::vector<std::string> message_texts()
{
    std::vector<std::string> texts;
    for (const TestMessageBox &box : testing_message_boxes()) texts.push_back(box.text);
    return texts;
}

// Every setting a dialog can change, to tell "nothing changed" from "something did".
struct SettingsSnapshot {
    float wavelength, fnumber, EFL, pupildia, pupildiamm, aspect, obscuration, rbreak, cir, xs, ys;
    int fov, units, shape, obscured, struts, apod;
    int has[4];
    float peaks[4];
    int hasZern[38];
    float zern[38];
    int pattern, period, plate, steps;
    float wfe, waves;
    int psfUnits, plotType, centroidType, numPixels, zoom, izoomNow, doCentroid, decades, radius;
    float center;
    int dataSave;
    bool operator==(const SettingsSnapshot &) const = default;
};

inline SettingsSnapshot settings_now()
{
    SettingsSnapshot s{wavelength, fnumber, EFL, pupildia, pupildiamm, PupilAspectRatio, LinearObscuration,
                       rbreak, cir_sgxp, x_sgxp, y_sgxp, nCurrentFOV, nCurrentPupUnits, nCurrentPupilShape,
                       nCurrentObscuration, HasStruts, nCurrentApod,
                       {HasSpherical, HasComa, HasAstigmatism, HasDefocus}, {spherical, coma, astigmatism, defocus},
                       {}, {}, nCurrentPhasePattern, PhasePatternPeriod, nHasPhasePlate, PhasePlateSteps,
                       PhasePatternWFE, PhasePlateWaves, nCurrentPSFUnits, PSFPlotType, CentroidErrorType,
                       NumPixels, nZoomPlot, izoom, nDoCentroidError, nPSFdecades, pupilradius, ncenter,
                       nCurrentDataSave};
    for (int k = 0; k < 38; ++k) {
        s.hasZern[k] = HasZern[k];
        s.zern[k] = Zern[k];
    }
    return s;
}

// A PSF computed and three views open: what an accepted dialog must undo.
inline void make_psf_and_open_views()
{
    testing_choose_menu_item(mainhwnd, IDM_CREATE_PSF);
    for (UINT view : {55u, 56u, 63u}) testing_choose_menu_item(mainhwnd, view);
    testing_clear_records();
}

}  // namespace dialog_tests
