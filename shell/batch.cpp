// The headless batch job: start-up settings, the settings given on the command line, the
// pupil, the far field, and the results as "name: value" lines.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "optics/datafile.h"
#include "optics/domains.h"
#include "optics/centroid.h"
#include "optics/farfield.h"
#include "optics/figures.h"
#include "optics/fits_file.h"
#include "optics/hooks.h"
#include "optics/image_quality.h"
#include "optics/number_text.h"
#include "optics/output_file.h"
#include "optics/phase_map.h"
#include "optics/psf_pipeline.h"
#include "optics/settings.h"
#include "optics/settings_rules.h"
#include "optics/transfer_function.h"
#include "optics/zernike.h"
#include "shell/batch_plot.h"
#include "shell/gui.h"
#include "shell/program_library.h"
#include "orvinta_version.h"
#include "shell/entry.h"
#include "shell/sweep.h"

namespace {

// The centroid result is printed as rmsx/rmsy lines; other messages print as notes.
void batch_notify(const char *caption, const char *text, bool)
{
    if (!std::strcmp(caption, "RMS centroid error in large pixels") && last_centroid_error.valid)
        return;
    std::printf("note: %s\n", text);
}

void print_results(const PsfReport &report)
{
    std::printf("wavesrms: %.9g\n", report.wavesrms);
    std::printf("xpsfcent: %.9g\n", report.xpsfcent);
    std::printf("ypsfcent: %.9g\n", report.ypsfcent);
    std::printf("peak: %d %d\n", report.peak.i, report.peak.j);
    set_domains();
    std::printf("XPupilStep: %.9g\n", XPupilStep);
    std::printf("pupil_graph_extent: %.9g\n", pupil_graph_extent);
    std::printf("XPSFStep: %.9g\n", XPSFStep);
    std::printf("psf_graph_extent: %.9g\n", psf_graph_extent);
    if (report.centroid_error) {
        std::printf("rmsx: %.9g\n", report.centroid_error->rmsx);
        std::printf("rmsy: %.9g\n", report.centroid_error->rmsy);
    }
    // The figures of merit; a warning about the sampling goes to standard error, one line each.
    for (const Figure &figure : figure_table())
        std::printf("%s: %s\n", figure.name, figure_text(figure.value(report.quality)).c_str());
    for (const std::string &line : image_quality_warnings(report.quality))
        std::fprintf(stderr, "%s\n", line.c_str());
}

// The text layout of the chosen array, or for a name ending in .fits the PSF, the pupil and
// how they were made as a FITS file.
bool format_output(const std::string &path, const ImageQuality &q, std::string &bytes,
                   std::string &error)
{
    if (!has_ending(path, ".fits")) {
        bytes = format_data_file(data_save_array());
        return true;
    }
    const auto formatter = reinterpret_cast<FitsFormatter (*)()>(
        program_library_entry("liborvinta_fits.so", ORVINTA_FITS_ENTRY, error));
    if (!formatter) {
        error = "cannot load the FITS writer: " + error;
        return false;
    }
    return formatter()(q, setting_values(), std::string("Orvinta ") + ORVINTA_VERSION, bytes,
                       error);
}

// The MTF slices as CSV; a dark PSF has none, and nothing is written.
int write_mtf_file(const std::string &path)
{
    const std::string bytes = format_mtf_csv();
    std::string error;
    if (bytes.empty())
        error = "cannot write " + path + ": the pupil lets no light through, so there is no MTF";
    else if (write_output_file(path, bytes, error))
        return 0;
    std::fprintf(stderr, "orvinta: %s\n", error.c_str());
    return 1;
}

// The fit's lines: each coefficient under its index in the fit's ordering, in waves, then what
// the terms leave.
void print_fit(const ZernikeFit &fit)
{
    for (const auto &[index, value] : fit.set.terms)
        std::printf("zfit_%d: %s\n", index, gN(value, 9).c_str());
    std::printf("zfit_residual_rms: %s\n", gN(fit.residual_rms, 9).c_str());
    std::printf("zfit_residual_pv: %s\n", gN(fit.residual_pv, 9).c_str());
}

}  // namespace

int batch_main(int argc, char **argv)
{
    if (is_sweep_job(argc, argv)) return sweep_main(argc, argv);
    std::vector<std::pair<std::string, std::string>> settings;
    const char *out = nullptr;
    const char *mtf = nullptr;
    std::vector<double> mtf_at;
    const char *zernike_file = nullptr, *zernike_fit = nullptr, *zernike_csv = nullptr;
    PlotOptions pictures;
    // Options that name one file or spec, kept for after the settings.
    const struct {
        const char *name, *what;
        const char **value;
    } valued[] = {
        {"--out", "a file name", &out},
        {"--mtf", "a file name", &mtf},
        {"--zernikes", "a value", &zernike_file},
        {"--zernike-fit", "a value", &zernike_fit},
        {"--zernike-csv", "a value", &zernike_csv},
    };
    for (int k = 0; k < argc; k++) {
        const char *arg = argv[k];
        if (!std::strcmp(arg, "--plot") || !std::strcmp(arg, "--size")) {
            const GuiEntry *side = gui();
            if (!side) return 1;
            if (side->parse_plot_option(argc, argv, k, pictures) < 0) return 2;
            continue;
        }
        bool taken = false;
        for (const auto &option : valued) {
            if (std::strcmp(arg, option.name)) continue;
            if (k + 1 >= argc || !*argv[k + 1]) {
                std::fprintf(stderr, "orvinta: %s needs %s\n", option.name, option.what);
                return 2;
            }
            *option.value = argv[++k];
            taken = true;
            break;
        }
        if (taken) continue;
        if (!std::strcmp(arg, "--spectrum")) {
            const std::string problem = k + 1 < argc && *argv[k + 1]
                                            ? load_spectrum_file(argv[++k])
                                            : "--spectrum needs a file name";
            if (!problem.empty()) {
                std::fprintf(stderr, "orvinta: %s\n", problem.c_str());
                return 2;
            }
            continue;
        }
        if (!std::strcmp(arg, "--mtf-at")) {
            const std::string problem =
                k + 1 < argc ? read_mtf_frequency(argv[++k], mtf_at) : "--mtf-at needs a value";
            if (!problem.empty()) {
                std::fprintf(stderr, "orvinta: %s\n", problem.c_str());
                return 2;
            }
            continue;
        }
        const char *eq = std::strchr(arg, '=');
        if (!eq || eq == arg) {
            std::fprintf(stderr, "orvinta: '%s' is not NAME=VALUE\n", arg);
            return 2;
        }
        settings.emplace_back(std::string(arg, eq), std::string(eq + 1));
    }

    set_optics_hooks({nullptr, batch_notify});
    set_mtf_report_frequencies(mtf_at);
    optics_startup();
    for (const auto &[name, value] : settings) {
        const std::string problem = apply_setting(name, value);
        if (!problem.empty()) {
            std::fprintf(stderr, "orvinta: %s\n", problem.c_str());
            optics_shutdown();
            return 2;
        }
    }
    ZernikeOrdering fit_ordering = ZernikeOrdering::Noll;
    ZernikeNormalisation fit_normalisation = ZernikeNormalisation::Rms;
    int fit_count = 0;
    std::string problem = zernike_csv && !zernike_fit ? "--zernike-csv needs --zernike-fit" : "";
    if (problem.empty() && zernike_fit)
        problem = parse_zernike_fit(zernike_fit, fit_ordering, fit_normalisation, fit_count);
    ZernikeSet coefficients;
    if (problem.empty() && zernike_file) problem = read_zernike_file(zernike_file, coefficients);
    if (problem.empty() && zernike_file) apply_zernike_set(coefficients);
    if (problem.empty()) problem = phase_map_problem();
    ZernikeFit fit;
    PsfReport report;
    if (problem.empty()) {
        report = compute_psf();
        if (zernike_fit) fit = fit_zernikes(fit_ordering, fit_normalisation, fit_count, problem);
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "orvinta: %s\n", problem.c_str());
        optics_shutdown();
        return 2;
    }
    if (psf_is_dark()) std::printf("note: the pupil lets no light through; the PSF is all zero\n");
    print_results(report);
    if (zernike_fit) print_fit(fit);

    // The figures reach standard output before the array does, also when the array goes to
    // standard output itself; figures that could not be written end the job as a failed file
    // does.
    std::string error;
    if (!flush_standard_output(error)) {
        std::fprintf(stderr, "orvinta: %s\n", error.c_str());
        optics_shutdown();
        return 1;
    }
    // Pictures need the window side; a job without them never loads it.
    int status = 0;
    if (!pictures.plots.empty()) status = gui()->write_plot_pictures(pictures);
    if (out && status == 0) {
        std::string bytes;
        if (!format_output(out, report.quality, bytes, error) ||
            !write_output_file(out, bytes, error)) {
            std::fprintf(stderr, "orvinta: %s\n", error.c_str());
            status = 1;
        }
    }
    if (mtf && status == 0) status = write_mtf_file(mtf);
    if (zernike_csv && status == 0 &&
        !write_output_file(zernike_csv, format_zernike_file(fit.set), error)) {
        std::fprintf(stderr, "orvinta: %s\n", error.c_str());
        status = 1;
    }
    optics_shutdown();
    return status;
}
