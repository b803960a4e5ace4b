#include "shell/reports.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "optics/domains.h"
#include "optics/number_text.h"
#include "optics/settings.h"
#include "shell/globals.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void append(char *buffer, const char *text)
{
    const std::size_t used = std::strlen(buffer);
    std::snprintf(buffer + used, SCRATCH_SIZE - used, "%s", text);
}

// Appends the pieces to stry through strx.
template <typename... Pieces> void append_line(const Pieces &...pieces)
{
    strx[0] = '\0';
    (append(strx, pieces), ...);
    append(stry, strx);
}

// Diameter of the first dark ring of the Airy pattern, 2.44 lambda F, in the PSF units:
// image-space microns, or the object-space angle 2.44 lambda / D.
float airy_diameter(const char **units)
{
    const double angle = 2.44 * wavelength * 1e-9 / (0.001 * pupildiamm);  // radians
    *units = psf_unit_words();
    switch (nCurrentPSFUnits) {
    case PSF_MILLIRADIANS: return static_cast<float>(angle * 1000.0);
    case PSF_ARCSECONDS: return static_cast<float>(angle * 180.0 * 3600.0 * (1.0 / kPi));
    default: return static_cast<float>(2.44 * wavelength * fnumber * 0.001);
    }
}

double hour_of_day(const SYSTEMTIME &t)
{
    const int hundredths = t.wMilliseconds / 10;
    return t.wHour + t.wMinute / 60.0 + t.wSecond / 3600.0 + hundredths / 360000.0;
}

std::string clock_text(const SYSTEMTIME &t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%2i:%02i:%02i.%02i", t.wHour, t.wMinute, t.wSecond,
                  t.wMilliseconds / 10);
    return text;
}

}  // namespace

std::string ReviewDomainsText()
{
    const char *units = " microns";
    const float airy = airy_diameter(&units);
    std::snprintf(strz, SCRATCH_SIZE, "%s", units);
    const std::string grid = gN(GRID, 6);

    stry[0] = '\0';
    append_line("Pupil step is ", gN(XPupilStep, 6).c_str(), " mm. \n ");
    append_line("Pupil extent is ", gN(pupil_graph_extent, 6).c_str(), " mm. \n  \n");
    append_line("PSF step is ", gN(XPSFStep, 6).c_str(), strz, ". \n ");
    append_line("PSF extent is ", gN(psf_graph_extent, 6).c_str(), strz, ". \n \n");
    append_line("Diameter of diffraction limited 1st Airy ring \n is   ", gN(airy, 6).c_str(), strz,
                "   (", gN(airy / XPSFStep, 6).c_str(), " steps). \n \n");
    append_line("Pupil and PSF arrays are ", grid.c_str(), " by ", grid.c_str(), " steps. \n \n");
    if (izoom == 1) append_line("Entire array is plotted.");
    if (izoom == 2) append_line("Central quarter of array area is plotted.");
    return stry;
}

void ReviewDomains(HWND window)
{
    set_domains();
    const std::string text = ReviewDomainsText();
    MessageBoxA(window, text.c_str(), "Review Domains", MB_OK);
}

std::string FFTStatisticsText(const SYSTEMTIME &start, const SYSTEMTIME &end)
{
    const double from = hour_of_day(start);
    double to = hour_of_day(end);
    if (to < from) to += 24.0;
    const double elapsed = (to - from) * 3600.0;
    return "Start time:   " + clock_text(start) + "\nEnd time:    " + clock_text(end) +
           "\n\nEllapsed time:  " + gN(elapsed, 7) + " seconds.";
}

void ShowFFTStatistics(HWND window, const SYSTEMTIME &start, const SYSTEMTIME &end)
{
    const std::string text = FFTStatisticsText(start, end);
    MessageBoxA(window, text.c_str(), "FFT Statistics", MB_ICONINFORMATION | MB_OK);
}
