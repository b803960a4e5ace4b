#include "shell/globals.h"

const char szChildClass[] = "OrvintaChild";

HBITMAP hBitmap = nullptr;
HBRUSH hBrush = nullptr;
HCURSOR hFFTCursor = nullptr, hWavefrontCursor = nullptr, hDataSaveCursor = nullptr;
char szFileName[FILE_NAME_SIZE] = "";
char szTitleName[FILE_TITLE_SIZE] = "";
int ionce = 0;
char strx[SCRATCH_SIZE], stry[SCRATCH_SIZE], strz[SCRATCH_SIZE];
