// Dialogs are built from the DIALOG statements of the resource scripts; a template that is
// not there cannot be run.
#include "platform/dialog.h"

#include "platform/resources_internal.h"

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR name, HWND, DLGPROC proc, LPARAM)
{
    if (!proc || !resource_statement("DIALOG", name)) return -1;
    return -1;
}

BOOL EndDialog(HWND, INT_PTR) { return FALSE; }
