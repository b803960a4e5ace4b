// The data file commands of the main window: the open and save dialogs and the file itself.
#pragma once

#include "platform/win32.h"

void PopFileInitialize(HWND window);
// Nonzero when the user chose a file; path and title then hold it.
BOOL PopFileOpenDlg(HWND window, char *pstrFileName, char *pstrTitleName);
BOOL PopFileSaveDlg(HWND window, char *pstrFileName, char *pstrTitleName);
// Writes the array chosen in the data saving options; reports its own failures.
BOOL PopFileWrite(HWND window, const char *pstrFileName);
// Reads a data file into the field amplitude array; 0 when it cannot be read.
BOOL PopFileRead(HWND window, const char *pstrFileName);
