// The program-wide settings, sampled arrays and results. Everything here lives for the run;
// the setup dialogs write the settings, pillbox_input turns them into the pupil, do_FFT into
// the far field. A radio-button choice is stored as the id of the chosen button.
#pragma once

constexpr int GRID = 128;  // samples along each side of pupil and far field
constexpr int GRID_VALUES = GRID * GRID;
constexpr int DATA_LENGTH = 2 * GRID_VALUES;  // floats in data1/data2: two planes of a grid
constexpr int PSF_CENTRE = 65;  // the far-field sample on the optical axis, along i and j

// Field arrays, [1..128][1..128], first index i along x, second j along y.
extern float **r_input, **phase_input, **A_input, **B_input;
extern float **r_output, **i_output, **m_output;
// The MTF of m_output, zero frequency at (65, 65), as the MTF views last computed it.
extern float **mtf_output;
// Transform work storage: data1/data2 [1..32768], each a real and an imaginary plane of the
// grid; nn [1..2], the lengths of the grid for fourn.
extern float *data1, *data2;
extern unsigned long *nn;
extern int isign;

extern float xCent, yCent;

// Optics.
extern float wavelength, fnumber, EFL;
extern int nCurrentFOV;

// Pupil geometry.
extern int pupilradius;
extern float ncenter;
extern int nCurrentPupilShape;
extern float PupilAspectRatio, pupildia;
extern int nCurrentPupUnits;
extern float pupildiamm;

// Pupil transmission.
extern int nCurrentObscuration;
extern float LinearObscuration;
extern int HasStruts;
extern int nCurrentApod;
extern float rbreak, cir_sgxp, x_sgxp, y_sgxp;

// Pupil phase (peak values in waves).
extern int HasSpherical, HasComa, HasAstigmatism, HasDefocus;
extern float spherical, coma, astigmatism, defocus;
extern int HasZern[38];  // HasZern[k] is HasZern<k>, k = 1..37
extern float Zern[38];   // Zern[k] is Zern<k>
extern int nCurrentPhasePattern, PhasePatternPeriod;
extern float PhasePatternWFE;
extern int nHasPhasePlate, PhasePlateSteps;
extern float PhasePlateWaves;

// Spectrum and line-of-sight jitter: the band in per cent of the wavelength, split into
// nwavelengths equal sub-bands, and the one-axis RMS of the image motion in the PSF unit.
extern float bandwidth;
extern int nwavelengths;
extern float jitter_x, jitter_y;
// A measured phase map (optics/phase_map.h) is added when HasPhaseMap is 1, times
// phasemapscale.
extern int HasPhaseMap;
extern float phasemapscale;

// Analysis and display.
extern int nCurrentPSFUnits, PSFPlotType, nPSFdecades;
extern float PSFthold;
extern int nZoomPlot, izoom, istart, istop, jstart, jstop;
extern int nDoCentroidError, CentroidErrorType, NumPixels;
extern int nCurrentDataSave;
extern int sig;
extern int NUMLINES;

// Results.
extern float wavesrms, xpsfcent, ypsfcent;
extern int HaveCurrentPSF;
extern float r;
extern double XPupilStep, YPupilStep, pupil_graph_extent, psf_graph_extent, XPSFStep, YPSFStep;

// Radio-button codes.
enum : int {
    FOV_X = 118,
    FOV_Y = 119,
    UNITS_INCHES = 133,
    UNITS_CENTIMETERS = 134,
    UNITS_MILLIMETERS = 135,
    SHAPE_ROUND = 137,
    SHAPE_RECTANGLE = 138,
    APOD_NONE = 158,
    APOD_TRIANGULAR = 159,
    APOD_CIRCULAR_SG = 160,
    APOD_RECTANGULAR_SG = 161,
    PSF_MICRONS = 170,
    PSF_MILLIRADIANS = 171,
    PSF_ARCSECONDS = 172,
    PSF_LINEAR = 176,
    PSF_LOGARITHMIC = 177,
    CENTROID_3BY3 = 181,
    CENTROID_4BY4 = 182,
    PATTERN_NONE = 500,
    PATTERN_CHECKER = 501,
    PATTERN_WAFFLE = 502,
    PATTERN_RANDOM = 503,
    SAVE_TRANSMISSION = 540,
    SAVE_PHASE = 541,
    SAVE_PSF = 542,
};

void set_all_arrays_zero();
void SetThirdOrder();
void SetZerns();

// Puts every setting back to its start-up value (the values the globals are defined with).
void reset_settings();
// The start-up sequence: allocate the arrays (once), start-up settings, first pupil.
void optics_startup();
// Frees what optics_startup allocated.
void optics_shutdown();
