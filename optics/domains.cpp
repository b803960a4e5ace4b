#include "optics/domains.h"

#include "optics/settings.h"

void set_domains()
{
    // The pupil diameter spans the centres of the two outermost samples across the aperture,
    // 2 ncenter samples apart.
    XPupilStep = YPupilStep = pupildiamm / (2.0 * ncenter);
    pupil_graph_extent = XPupilStep * 127;

    // One period of the far-field grid: one over the pupil step in cycles per mm, in the unit.
    psf_graph_extent = 1.0 / XPupilStep;
    switch (nCurrentPSFUnits) {
    case PSF_MICRONS:  // lambda EFL / step, in microns
        psf_graph_extent = psf_graph_extent * EFL * wavelength * 0.001;
        break;
    case PSF_MILLIRADIANS:  // lambda / step
        psf_graph_extent = psf_graph_extent * 1000 * wavelength * 0.000001;
        break;
    case PSF_ARCSECONDS:
        psf_graph_extent = psf_graph_extent * 3600 * 180 * (1 / 3.14159) * wavelength * 0.000001;
        break;
    default: break;
    }
    // The FFT of 128 pupil samples of pitch d puts 128 far-field samples lambda EFL / (128 d)
    // apart: the extent is their period, not the distance from the first to the last.
    XPSFStep = YPSFStep = psf_graph_extent / GRID;
}

void SetZoom()
{
    switch (izoom) {
    case 1:
        istart = jstart = 1;
        istop = jstop = GRID;
        break;
    case 2:
        istart = jstart = 33;
        istop = jstop = 96;
        break;
    default: break;
    }
}

const PsfUnitNames &psf_unit_names()
{
    static const PsfUnitNames microns{"um", " microns", "cycles/mm", "cy_per_mm"};
    static const PsfUnitNames milliradians{"mrad", " milliradians", "cycles/mrad", "cy_per_mrad"};
    static const PsfUnitNames arcseconds{"arcsec", " arc seconds", "cycles/arcsec",
                                         "cy_per_arcsec"};
    switch (nCurrentPSFUnits) {
    case PSF_MILLIRADIANS: return milliradians;
    case PSF_ARCSECONDS: return arcseconds;
    default: return microns;
    }
}

const char *psf_unit_name() { return psf_unit_names().name; }

const char *psf_unit_words() { return psf_unit_names().words; }
