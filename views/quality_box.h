// "Image Quality...": the figures of merit of the current PSF in a box, offered by the context
// menu of the views of the far field.
#pragma once

#include <string>

#include "platform/win32.h"

// Menu id and text of the item in a view's context menu.
enum : UINT { IDM_IMAGE_QUALITY = 3 };
inline constexpr char kImageQualityItem[] = "&Image Quality...";

// True for the views of the far field (the field tables and the PSF plots), which offer it.
bool ShowsImageQuality(int kind);

// The box's text: each figure labelled for people ("Strehl ratio: ...") with its unit as the
// windows say it, the same values as the batch job prints under its names, then the warnings
// that apply.
std::string ImageQualityText();

// Shows the box, owned by window.
void ShowImageQualityBox(HWND window);

// Right click on a table view: a menu holding this item for the far-field tables, "Zernike
// Fit..." for the pupil phase table; no menu for the others.
LRESULT OnTableContextMenu(HWND window, int kind, LPARAM lParam);
