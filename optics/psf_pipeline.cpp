#include "optics/psf_pipeline.h"

#include "optics/pupil.h"
#include "optics/settings.h"
#include "optics/settings_rules.h"

PsfReport psf_report()
{
    PsfReport report;
    report.wavesrms = wavesrms;
    report.xpsfcent = xpsfcent;
    report.ypsfcent = ypsfcent;
    report.peak = find_psf_peak();
    report.quality = image_quality();
    if (nDoCentroidError == 1 && last_centroid_error.valid)
        report.centroid_error = last_centroid_error;
    return report;
}

PsfReport compute_psf()
{
    derive_settings();
    pillbox_input();
    do_FFT();
    return psf_report();
}
