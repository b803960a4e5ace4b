#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "optics/fits_file.h"
#include "optics/output_file.h"
#include "optics/phase_map.h"
#include "orvinta_version.h"
#include "shell/entry.h"
#include "shell/gui.h"
#include "shell/program_library.h"

namespace {

// FITS phase maps are read by the FITS library, opened when the first one is.
std::string read_fits_map(const std::string &bytes, PhaseMapGrid &grid)
{
    std::string error;
    const auto reader = reinterpret_cast<FitsImageReader (*)()>(
        program_library_entry("liborvinta_fits.so", ORVINTA_FITS_READER_ENTRY, error));
    if (!reader) return "cannot load the FITS reader: " + error;
    return reader()(bytes, grid);
}

void print_usage()
{
    std::printf(
        "Usage:\n"
        "  orvinta [FILE]                         start the program; FILE is a data file to load\n"
        "  orvinta --batch [NAME=VALUE ...] [--size WIDTHxHEIGHT] [--plot VIEW FILE ...] [--out "
        "FILE]\n"
        "          [--mtf FILE] [--mtf-at F ...] [--spectrum FILE] [--zernikes FILE]\n"
        "          [--zernike-fit ORDER:NORM:N [--zernike-csv FILE]]\n"
        "                                         compute the PSF without a window; NAME is a\n"
        "                                         setting (fnumber, defocus, HasDefocus, Zern4, "
        "...);\n"
        "                                         prints the figures (wavesrms, centroids, peak,\n"
        "                                         steps, strehl, fwhm_x/y, ee50/ee80_radius,\n"
        "                                         sampling_q, max_phase_step, mtf50_x/y, cutoff,\n"
        "                                         and mtf_x@F, mtf_y@F for each --mtf-at F);\n"
        "                                         --mtf FILE writes the MTF slices as CSV;\n"
        "                                         --spectrum FILE (wavelength_nm,weight rows)\n"
        "                                         replaces the band of bandwidth, nwavelengths;\n"
        "                                         --zernikes FILE sets the Zernike terms from a\n"
        "                                         coefficient file (# ordering=fringe|noll|ansi\n"
        "                                         normalisation=peak|rms unit=waves|nm|um, then\n"
        "                                         index,value rows); --zernike-fit fits the pupil\n"
        "                                         phase to the first N terms (zfit_K lines, the\n"
        "                                         residual RMS and PV), --zernike-csv FILE writes\n"
        "                                         the fit as a coefficient file;\n"
        "                                         phasemap=FILE adds a measured wavefront (FITS,\n"
        "                                         or a text grid with a # unit: nm line) times\n"
        "                                         phasemapscale; phasemapsum=HEX checks its file;\n"
        "                                         --out FILE.fits writes a FITS file, any other\n"
        "                                         name the text array;\n"
        "                                         --plot draws a plot view into FILE (.svg or "
        ".png)\n"
        "                                         at --size (default 800x600, 16 to 8192 each);\n"
        "                                         FILE - is standard output (for --plot an SVG);\n"
        "                                         VIEW is psf-x-slice, psf-y-slice, "
        "phase-x-slice,\n"
        "                                         phase-y-slice, transmission-x-slice,\n"
        "                                         transmission-y-slice, psf-3d, psf-contour,\n"
        "                                         transmission-3d, transmission-contour, "
        "phase-3d,\n"
        "                                         phase-contour, mtf-x-slice, mtf-y-slice, "
        "mtf-3d,\n"
        "                                         mtf-contour, psf-image, transmission-image,\n"
        "                                         phase-image or mtf-image\n"
        "  orvinta --batch [NAME=VALUE ...] --sweep NAME=FROM:TO:STEPS [--sweep ...]\n"
        "          [--random NAME=SIGMA ... --trials N [--seed S]] [--jobs N] [--csv FILE]\n"
        "          [--mtf-at F ...] [--spectrum FILE] [--zernikes FILE] [--shard K/N]\n"
        "                                         one CSV row per combination of the swept values\n"
        "                                         (STEPS values FROM to TO, the last --sweep\n"
        "                                         fastest), each with N trials adding a normal\n"
        "                                         deviate of SIGMA (seed S, default 1) to a float\n"
        "                                         setting; --jobs worker processes (default: one\n"
        "                                         per core); --csv FILE, or - for standard output\n"
        "                                         --shard K/N: only the K-th of N blocks of rows\n"
        "  orvinta --eval \"EXPR\" X Y              evaluate F(X,Y) and print the value\n"
        "  orvinta --help                         this text\n"
        "  orvinta --version                      the version\n"
        "\n"
        "Figures of merit, read on the continuous far field (between the samples too), n/a when\n"
        "undefined; lengths in the PSF unit:\n"
        "  strehl          peak Strehl: PSF peak / peak of the same pupil without phase error\n"
        "  fwhm_x, fwhm_y  full width at half maximum along x, along y, through that peak\n"
        "  ee50_radius     radius of the circle about the centroid holding 50 %% of the energy\n"
        "  ee80_radius     radius of the circle about the centroid holding 80 %% of the energy\n"
        "  sampling_q      PSF samples per lambda F (Nyquist sampling is 2)\n"
        "  max_phase_step  largest phase step (waves) between neighbours lit to 1 %% of the "
        "brightest\n"
        "Frequencies in cycles/mm for a PSF in microns, else cycles/mrad or cycles/arcsec:\n"
        "  mtf50_x, mtf50_y  lowest frequency where the MTF along x, along y falls to 0.5\n"
        "  cutoff            the pupil's cut-off frequency D / (lambda EFL)\n"
        "  mtf_x@F, mtf_y@F  the MTF along x, along y at frequency F\n");
}

// What was printed must have reached standard output: a text lost there is a failure.
int printed(int status)
{
    std::string error;
    if (flush_standard_output(error)) return status;
    std::fprintf(stderr, "orvinta: %s\n", error.c_str());
    return status == 0 ? 1 : status;
}

}  // namespace

int main(int argc, char **argv)
{
    // A reader that goes away early and a file-size limit are failed writes, reported with
    // the path and the reason, never a silent end by signal (nor a temporary file left).
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    set_fits_image_reader(read_fits_map);
    if (argc >= 2) {
        const char *command = argv[1];
        if (!std::strcmp(command, "--help") || !std::strcmp(command, "-h")) {
            print_usage();
            return printed(0);
        }
        if (!std::strcmp(command, "--version")) {
            std::printf("Orvinta %s\n", ORVINTA_VERSION);
            return printed(0);
        }
        if (!std::strcmp(command, "--batch")) return batch_main(argc - 2, argv + 2);
        if (!std::strcmp(command, "--eval")) return printed(eval_main(argc - 2, argv + 2));
        if (!std::strcmp(command, "--has-window-system")) {
            const GuiEntry *side = gui();
            return side && side->window_system_available(argc, argv) ? 0 : 1;
        }
        if (command[0] == '-' && command[1] == '-') {
            std::fprintf(stderr, "orvinta: unknown option %s (see orvinta --help)\n", command);
            return 2;
        }
    }
    const GuiEntry *side = gui();
    return side ? side->window_main(argc, argv) : 1;
}
