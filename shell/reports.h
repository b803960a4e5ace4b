// The two text reports of the main window: Review Domains (sampling of pupil and PSF) and
// FFT Statistics (when the first PSF computation started and ended).
#pragma once

#include <string>

#include "platform/win32.h"

// The Review Domains text for the current settings and the steps and extents last computed
// by set_domains (the caller runs it first). Built in stry, with strx and strz as scratch.
std::string ReviewDomainsText();
// set_domains, then the text in a box "Review Domains" owned by the window.
void ReviewDomains(HWND window);

// The FFT Statistics text for a computation between two times of day; a computation that
// runs past midnight ends on the next day.
std::string FFTStatisticsText(const SYSTEMTIME &start, const SYSTEMTIME &end);
void ShowFFTStatistics(HWND window, const SYSTEMTIME &start, const SYSTEMTIME &end);
