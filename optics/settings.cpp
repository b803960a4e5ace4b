#include "optics/settings.h"

#include <algorithm>

#include "optics/nrutil.h"
#include "optics/phase_map.h"
#include "optics/pupil.h"
#include "optics/zernike.h"

float **r_input, **phase_input, **A_input, **B_input;
float **r_output, **i_output, **m_output;
float **mtf_output;
float *data1, *data2;
unsigned long *nn;
int isign;

float xCent, yCent;

float wavelength, fnumber, EFL;
int nCurrentFOV;
int pupilradius;
float ncenter;
int nCurrentPupilShape;
float PupilAspectRatio, pupildia;
int nCurrentPupUnits;
float pupildiamm;
int nCurrentObscuration;
float LinearObscuration;
int HasStruts;
int nCurrentApod;
float rbreak, cir_sgxp, x_sgxp, y_sgxp;
int HasSpherical, HasComa, HasAstigmatism, HasDefocus;
float spherical, coma, astigmatism, defocus;
int HasZern[38];
float Zern[38];
int nCurrentPhasePattern, PhasePatternPeriod;
float PhasePatternWFE;
int nHasPhasePlate, PhasePlateSteps;
float PhasePlateWaves;
float bandwidth;
int nwavelengths;
float jitter_x, jitter_y;
int HasPhaseMap;
float phasemapscale;
int nCurrentPSFUnits, PSFPlotType, nPSFdecades;
float PSFthold;
int nZoomPlot, izoom, istart, istop, jstart, jstop;
int nDoCentroidError, CentroidErrorType, NumPixels;
int nCurrentDataSave;
int sig;
int NUMLINES;
float wavesrms, xpsfcent, ypsfcent;
int HaveCurrentPSF;
float r;
double XPupilStep, YPupilStep, pupil_graph_extent, psf_graph_extent, XPSFStep, YPSFStep;

namespace {
float ***const field_arrays[] = {&r_input,  &phase_input, &A_input,  &B_input,
                                 &r_output, &i_output,    &m_output, &mtf_output};
bool allocated = false;
}  // namespace

void set_all_arrays_zero()
{
    for (float ***a : field_arrays)
        if (*a) std::fill(&(*a)[1][1], &(*a)[1][1] + GRID_VALUES, 0.0f);  // rows are contiguous
}

void SetThirdOrder()
{
    spherical = 0.0f;
    coma = -0.4f;
    astigmatism = 0.0f;
    defocus = 0.0f;
}

void SetZerns()
{
    for (int k = 1; k <= 37; k++) Zern[k] = static_cast<float>(k / 100.0);
}

void reset_settings()
{
    wavelength = 500.0f;
    fnumber = 5.6f;
    nCurrentFOV = FOV_X;
    pupilradius = 20;
    ncenter = 19.5f;
    nCurrentPupilShape = SHAPE_ROUND;
    PupilAspectRatio = 1.0f;
    pupildia = 10.0f;
    nCurrentPupUnits = UNITS_MILLIMETERS;
    pupildiamm = 10.0f;
    nCurrentObscuration = 0;
    HasStruts = 0;
    nCurrentApod = APOD_NONE;
    rbreak = 0.75f;
    cir_sgxp = x_sgxp = y_sgxp = 1.5f;
    HasSpherical = HasComa = HasAstigmatism = HasDefocus = 0;
    std::fill(HasZern, HasZern + 38, 0);
    nCurrentPhasePattern = PATTERN_NONE;
    PhasePatternPeriod = 5;
    PhasePatternWFE = 0.25f;
    nHasPhasePlate = 0;
    PhasePlateSteps = 0;
    PhasePlateWaves = 0.5f;
    clear_extra_zernike_terms();
    clear_phase_map();
    HasPhaseMap = 0;
    phasemapscale = 1.0f;
    bandwidth = 0.0f;
    nwavelengths = 1;
    jitter_x = jitter_y = 0.0f;
    nCurrentPSFUnits = PSF_MICRONS;
    PSFPlotType = PSF_LINEAR;
    nPSFdecades = 4;
    PSFthold = 0.0f;
    nZoomPlot = 1;
    izoom = 2;
    istart = istop = jstart = jstop = 0;
    nDoCentroidError = 0;
    CentroidErrorType = CENTROID_3BY3;
    NumPixels = 3;
    nCurrentDataSave = SAVE_PSF;
    sig = 10;
    NUMLINES = 129;
    wavesrms = xpsfcent = ypsfcent = 0.0f;
    HaveCurrentPSF = 0;
    r = 0.0f;
    XPupilStep = YPupilStep = pupil_graph_extent = psf_graph_extent = XPSFStep = YPSFStep = 0.0;

    xCent = yCent = 64.5f;
    LinearObscuration = 0.1f;
    SetThirdOrder();
    HasComa = 1;
    SetZerns();
    HasZern[26] = 1;
    EFL = fnumber * pupildiamm;
}

void optics_startup()
{
    if (!allocated) {
        r_input = matrix(1, GRID, 1, GRID);
        phase_input = matrix(1, GRID, 1, GRID);
        A_input = matrix(1, GRID, 1, GRID);
        B_input = matrix(1, GRID, 1, GRID);
        r_output = matrix(1, GRID, 1, GRID);
        i_output = matrix(1, GRID, 1, GRID);
        m_output = matrix(1, GRID, 1, GRID);
        mtf_output = matrix(1, GRID, 1, GRID);
        nn = lvector(1, 2);
        data1 = vector(1, DATA_LENGTH);
        data2 = vector(1, DATA_LENGTH);
        allocated = true;
    }
    nn[1] = nn[2] = GRID;
    reset_settings();
    set_all_arrays_zero();
    reset_pattern_random();
    pillbox_input();
}

void optics_shutdown()
{
    if (!allocated) return;
    free_vector(data2, 1, DATA_LENGTH);
    free_vector(data1, 1, DATA_LENGTH);
    free_lvector(nn, 1, 2);
    for (float ***a : field_arrays) free_matrix(*a, 1, GRID, 1, GRID);
    r_input = phase_input = A_input = B_input = r_output = i_output = m_output = mtf_output =
        nullptr;
    data1 = data2 = nullptr;
    nn = nullptr;
    allocated = false;
}
