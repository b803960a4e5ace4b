#include "dialogs/dialog_common.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "optics/number_text.h"
#include "optics/pupil.h"
#include "optics/settings_rules.h"
#include "views/child.h"
#include "views/command_ids.h"
#include "views/program_windows.h"

int nTempRadioButton1, nTempRadioButton2, nTempRadioButton3;

namespace {

// Tells the user why the field cannot be taken and puts the caret back in it.
bool Refuse(HWND hDlg, int id, const std::string &why)
{
    char caption[200];
    GetWindowTextA(hDlg, caption, sizeof caption);
    MessageBoxA(hDlg, why.c_str(), caption, MB_ICONEXCLAMATION | MB_OK);
    SetFocus(GetDlgItem(hDlg, id));
    return false;
}

// Reads a field for a setting the way how says; false after the refusal.
bool ReadSettingField(HWND hDlg, int id, const char *setting, NumberReading how, double *value)
{
    char text[FIELD_TEXT_SIZE];
    GetDlgItemTextA(hDlg, id, text, FIELD_TEXT_SIZE);
    const std::string why = read_setting(setting, text, how, *value, MessageStyle::Dialog);
    return why.empty() ? true : Refuse(hDlg, id, why);
}

}  // namespace

void ShowField(HWND hDlg, int id, const char *format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    SetDlgItemTextA(hDlg, id, text);
}

void ShowFieldSignificant(HWND hDlg, int id, double value, int ndigit)
{
    SetDlgItemTextA(hDlg, id, gN(value, ndigit).c_str());
}

int ButtonState(HWND hDlg, int id) { return IsDlgButtonChecked(hDlg, id) == BST_CHECKED ? 1 : 0; }

bool ReadFloatField(HWND hDlg, int id, const char *setting, float *value)
{
    double number = 0;
    if (!ReadSettingField(hDlg, id, setting, NumberReading::Leading, &number)) return false;
    *value = static_cast<float>(number);
    return true;
}

bool ReadTruncatedField(HWND hDlg, int id, const char *setting, int *value)
{
    double number = 0;
    if (!ReadSettingField(hDlg, id, setting, NumberReading::Truncated, &number)) return false;
    *value = static_cast<int>(number);
    return true;
}

bool ReadIntegerField(HWND hDlg, int id, const char *setting, int *value)
{
    double number = 0;
    if (!ReadSettingField(hDlg, id, setting, NumberReading::Integer, &number)) return false;
    *value = static_cast<int>(number);
    return true;
}

void RestoreCreatePSFItem()
{
    HMENU menu = GetMenu(mainhwnd);
    ModifyMenuA(menu, IDM_CREATE_PSF, MF_BYCOMMAND, IDM_CREATE_PSF, "&Create PSF");
    EnableMenuItem(menu, IDM_CREATE_PSF, MF_BYCOMMAND | MF_ENABLED);
    DrawMenuBar(mainhwnd);
}

void CloseAllViews()
{
    DestroyInputChildWindows();
    DestroyOutputChildWindows();
}

void RebuildPupilAndClose(HWND hDlg)
{
    pillbox_input();
    RestoreCreatePSFItem();
    CloseAllViews();
    EndDialog(hDlg, 0);
}
