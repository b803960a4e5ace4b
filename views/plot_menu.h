// The context menu of a plot view: keep the chart as a picture file or copy it as an image.
#pragma once

#include "platform/win32.h"

// Menu ids of the context menu.
enum : UINT { IDM_SAVE_PICTURE = 1, IDM_COPY_PICTURE = 2 };
// The image views' items (IDM_IMAGE_QUALITY is 3): the colour maps and the logarithmic PSF.
enum : UINT { IDM_MAP_VIRIDIS = 4, IDM_MAP_GREY = 5, IDM_MAP_DIVERGING = 6, IDM_LOGARITHMIC = 7 };

// The data file the program read or wrote last (a name held by the shell; empty for none).
// Save Picture As starts in its folder until a picture has been saved.
extern const char *pszPlotDataFile;

// Right click (WM_CONTEXTMENU) on plot view `kind` at screen point lParam: the menu, then the
// chosen action at the view's current client size.
LRESULT OnPlotContextMenu(HWND window, int kind, LPARAM lParam);
// "Save Picture As...": the file dialog, then the picture as PNG or SVG; FALSE when
// cancelled or not written (a box says why).
BOOL SavePlotPicture(HWND window, int kind);
// "Copy Picture": the chart as a bitmap on the clipboard.
BOOL CopyPlotPicture(HWND window, int kind);
