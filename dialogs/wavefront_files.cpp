#include "dialogs/wavefront_files.h"

#include <string>

#include "dialogs/dialog_common.h"
#include "optics/input_file.h"
#include "optics/phase_map.h"
#include "optics/pupil.h"
#include "optics/settings.h"
#include "optics/zernike.h"
#include "platform/filedlg.h"

namespace {

const char kPhaseMapFilter[] = "FITS Files (*.FITS;*.FIT)\0*.fits;*.fit\0"
                               "Text Files (*.TXT;*.CSV)\0*.txt;*.csv\0"
                               "All Files (*.*)\0*.*\0";
const char kZernikeFilter[] = "CSV Files (*.CSV)\0*.csv\0"
                              "All Files (*.*)\0*.*\0";  // the literal's own NUL ends the list

// The path the user picks in an open-file dialog, or "" when they cancel.
std::string ChooseFile(HWND owner, const char *title, const char *filter)
{
    char path[1024] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrTitle = title;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    return GetOpenFileNameA(&ofn) ? path : "";
}

// The new phase makes the PSF stale, as an accepted phase dialog does.
void RebuildPupil()
{
    pillbox_input();
    RestoreCreatePSFItem();
    CloseAllViews();
}

bool Refuse(HWND owner, const std::string &why, const char *caption)
{
    MessageBoxA(owner, why.c_str(), caption, MB_ICONEXCLAMATION | MB_OK);
    return false;
}

}  // namespace

bool LoadZernikeCoefficients(HWND owner)
{
    const std::string path = ChooseFile(owner, "Load Zernike Coefficients", kZernikeFilter);
    if (path.empty()) return false;
    std::string text;
    std::string problem = read_input_file(path, text);
    ZernikeSet set;
    if (problem.empty()) problem = parse_zernike_file(text, wavelength, set);
    if (!problem.empty()) return Refuse(owner, path + ": " + problem, "Zernike Coefficients");
    apply_zernike_set(set);
    RebuildPupil();
    return true;
}

bool LoadPhaseMapFile(HWND owner)
{
    const std::string path = ChooseFile(owner, "Load Phase Map", kPhaseMapFilter);
    if (path.empty()) return false;
    const std::string problem = load_phase_map(path);
    if (!problem.empty()) return Refuse(owner, problem, "Phase Map");
    RebuildPupil();
    return true;
}
