// What the setup dialogs share: the pending radio choices, reading and showing fields, and
// the steps that make an accepted dialog's settings current.
#pragma once

#include "platform/win32.h"

// The radio button last clicked in each group of the open dialog; loaded from the settings
// when a dialog opens, copied back only on OK.
extern int nTempRadioButton1, nTempRadioButton2, nTempRadioButton3;

// Fields are read as at most 19 characters.
constexpr int FIELD_TEXT_SIZE = 20;

// Shows value in a field with a printf format of one floating-point conversion.
void ShowField(HWND hDlg, int id, const char *format, double value);
// Shows value in a field with ndigit significant digits (gcvt).
void ShowFieldSignificant(HWND hDlg, int id, double value, int ndigit);
// 1 when the check box or radio button is checked, else 0.
int ButtonState(HWND hDlg, int id);

// Reading a field for a setting. Each returns false, after a message box with the settings
// rules' words ("FIELD must be a number." or "FIELD must be RANGE, not VALUE."), when the
// text holds no number at all or the value is one the setting refuses; the field then has the
// focus and keeps the user's text. Numbers are read with a point whatever the locale.
// A float field: the leading number of the text, as atof reads it.
bool ReadFloatField(HWND hDlg, int id, const char *setting, float *value);
// An integer read as a float and truncated toward zero (2.9 gives 2, -0.5 gives 0).
bool ReadTruncatedField(HWND hDlg, int id, const char *setting, int *value);
// An integer read as atol reads it: digits up to the first other character (4.5 gives 4).
bool ReadIntegerField(HWND hDlg, int id, const char *setting, int *value);

// Item 51 of the main window's menu back to an enabled "&Create PSF".
void RestoreCreatePSFItem();
// Every table and plot window closes: they show arrays of the old settings.
void CloseAllViews();
// The common end of an accepted setup dialog, in this order: rebuild the pupil (the PSF goes
// stale), "&Create PSF" back, every view closed, the dialog ended.
void RebuildPupilAndClose(HWND hDlg);
