#include "shell/globals.h"

const char szAppName[] = "Orvinta";
const char szChildClass[] = "OrvintaChild";
const char szDefaultTitle[] = "Orvinta: Diffraction Point Spread Function of Wavefront";

HWND hwnd = nullptr, mainhwnd = nullptr;
HBITMAP hBitmap = nullptr;
HBRUSH hBrush = nullptr;
HCURSOR hFFTCursor = nullptr, hWavefrontCursor = nullptr, hDataSaveCursor = nullptr;
char szFileName[FILE_NAME_SIZE] = "";
char szTitleName[FILE_TITLE_SIZE] = "";
int ionce = 0;
char strx[SCRATCH_SIZE], stry[SCRATCH_SIZE], strz[SCRATCH_SIZE];

HWND hwndChildRealInput = nullptr, hwndChildImaginaryInput = nullptr;
HWND hwndChildRealOutput = nullptr, hwndChildImaginaryOutput = nullptr, hwndChildModulusOutput = nullptr;
HWND hwndChildOutPlotXslice = nullptr, hwndChildOutPlotYslice = nullptr, hwndChildOutPlot3D = nullptr,
     hwndChildOutPlotCont = nullptr;
HWND hwndChildInRealPlot3D = nullptr, hwndChildInRealPlotCont = nullptr, hwndChildInPhasePlot3D = nullptr,
     hwndChildInPhasePlotCont = nullptr;
HWND hwndChildPhasePlotXslice = nullptr, hwndChildPhasePlotYslice = nullptr;
HWND hwndChildTransPlotXslice = nullptr, hwndChildTransPlotYslice = nullptr;
