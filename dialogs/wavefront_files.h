// Wavefronts brought from files: File > Load Zernike Coefficients... and Load Phase Map...
// (also the Phase Map dialog's Load... button). Each asks for a file, reads it and makes it
// part of the pupil phase, or says in a box why it cannot and changes nothing.
#pragma once

#include "platform/win32.h"

// A coefficient file: its terms become the pupil's Zernike terms at the current wavelength.
// False when cancelled or refused ("PATH: reason" in a box captioned "Zernike Coefficients").
bool LoadZernikeCoefficients(HWND owner);
// A phase map (a FITS image or a text grid): it becomes the pupil's map, added at once.
// False when cancelled or refused ("PATH: reason" in a box captioned "Phase Map").
bool LoadPhaseMapFile(HWND owner);
