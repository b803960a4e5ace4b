#include "dialogs/dialog_common.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dialogs/gcvt.h"
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
    // The rule's text names the field in lower case, as inside a sentence; here it starts one.
    std::string text = why + ".";
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    MessageBoxA(hDlg, text.c_str(), caption, MB_ICONEXCLAMATION | MB_OK);
    SetFocus(GetDlgItem(hDlg, id));
    return false;
}

// The leading number of a field, as atof reads it; false when there is none.
bool LeadingNumber(HWND hDlg, int id, double *value)
{
    char text[FIELD_TEXT_SIZE];
    GetDlgItemTextA(hDlg, id, text, FIELD_TEXT_SIZE);
    char *end = nullptr;
    *value = std::strtod(text, &end);
    return end != text;
}

bool Accept(HWND hDlg, int id, const char *setting, bool hasNumber, double value)
{
    // With no number, the refusal names the field and its range all the same.
    const std::string why = check_setting(setting, hasNumber ? value : NAN);
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
    SetDlgItemTextA(hDlg, id, gcvt_text(value, ndigit).c_str());
}

int ButtonState(HWND hDlg, int id) { return IsDlgButtonChecked(hDlg, id) == BST_CHECKED ? 1 : 0; }

bool ReadFloatField(HWND hDlg, int id, const char *setting, float *value)
{
    double number = 0;
    const bool hasNumber = LeadingNumber(hDlg, id, &number);
    // The setting is a float: judge the value it will actually hold.
    const float stored = static_cast<float>(number);
    if (!Accept(hDlg, id, setting, hasNumber, stored)) return false;
    *value = stored;
    return true;
}

bool ReadTruncatedField(HWND hDlg, int id, const char *setting, int *value)
{
    double number = 0;
    const bool hasNumber = LeadingNumber(hDlg, id, &number);
    const double whole = std::trunc(number);
    if (!Accept(hDlg, id, setting, hasNumber, whole)) return false;
    *value = static_cast<int>(whole);
    return true;
}

bool ReadIntegerField(HWND hDlg, int id, const char *setting, int *value)
{
    char text[FIELD_TEXT_SIZE];
    GetDlgItemTextA(hDlg, id, text, FIELD_TEXT_SIZE);
    char *end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (!Accept(hDlg, id, setting, end != text, static_cast<double>(number))) return false;
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
