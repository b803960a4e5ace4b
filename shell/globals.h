// The window shell's program-wide state: the main window's resources, the current data file
// and the scratch text buffers. The window handles live with the views.
#pragma once

#include "platform/win32.h"
#include "views/program_windows.h"  // hdc, the context of the paint under way
#include "views/registry.h"

constexpr int FILE_NAME_SIZE = 260;
constexpr int SCRATCH_SIZE = 500;

extern const char szChildClass[];  // "OrvintaChild": class of every view

extern HBITMAP hBitmap;
extern HBRUSH hBrush;
extern HCURSOR hFFTCursor, hWavefrontCursor, hDataSaveCursor;
extern char szFileName[FILE_NAME_SIZE];
extern char szTitleName[FILE_TITLE_SIZE];
extern int ionce;
extern char strx[SCRATCH_SIZE], stry[SCRATCH_SIZE], strz[SCRATCH_SIZE];
