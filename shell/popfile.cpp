// Placeholders until the data file dialogs exist: no dialog opens and nothing is read or
// written.
#include "shell/popfile.h"

void PopFileInitialize(HWND) {}
BOOL PopFileOpenDlg(HWND, char *, char *) { return 0; }
BOOL PopFileSaveDlg(HWND, char *, char *) { return 0; }
BOOL PopFileWrite(HWND, const char *) { return 0; }
BOOL PopFileRead(HWND, const char *) { return 0; }
