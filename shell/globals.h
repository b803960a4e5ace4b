// The window shell's program-wide state: the main window, its resources, the current data
// file, the scratch text buffers and the handles of the open views.
#pragma once

#include "platform/win32.h"
#include "views/plot.h"  // hdc, the context of the paint under way

constexpr int FILE_NAME_SIZE = 260;
constexpr int FILE_TITLE_SIZE = 512;
constexpr int SCRATCH_SIZE = 500;

extern const char szAppName[];     // "Orvinta": class of the main window, its menu and icon
extern const char szChildClass[];  // "OrvintaChild": class of every view
extern const char szDefaultTitle[];  // "Orvinta: Diffraction Point Spread Function of Wavefront"

extern HWND hwnd, mainhwnd;  // both the main window
extern HBITMAP hBitmap;
extern HBRUSH hBrush;
extern HCURSOR hFFTCursor, hWavefrontCursor, hDataSaveCursor;
extern char szFileName[FILE_NAME_SIZE];
extern char szTitleName[FILE_TITLE_SIZE];
extern int ionce;
extern char strx[SCRATCH_SIZE], stry[SCRATCH_SIZE], strz[SCRATCH_SIZE];

// One handle per view, null while the view is closed.
extern HWND hwndChildRealInput, hwndChildImaginaryInput;
extern HWND hwndChildRealOutput, hwndChildImaginaryOutput, hwndChildModulusOutput;
extern HWND hwndChildOutPlotXslice, hwndChildOutPlotYslice, hwndChildOutPlot3D, hwndChildOutPlotCont;
extern HWND hwndChildInRealPlot3D, hwndChildInRealPlotCont, hwndChildInPhasePlot3D, hwndChildInPhasePlotCont;
extern HWND hwndChildPhasePlotXslice, hwndChildPhasePlotYslice;
extern HWND hwndChildTransPlotXslice, hwndChildTransPlotYslice;
