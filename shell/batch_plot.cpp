// The pictures of the batch job. Each is drawn after the PSF has been computed, in the order
// the options were given, so that settings a plot changes (the PSF 3-D view sets sig) reach
// the plots after it as they would in the window.
#include "shell/batch_plot.h"

#include <cstdio>
#include <cstring>

#include "optics/farfield.h"
#include "optics/output_file.h"
#include "platform/msgbox.h"
#include "views/plot_picture.h"
#include "views/registry.h"

namespace {

constexpr int MIN_SIDE = 16, MAX_SIDE = 8192;

// "WIDTHxHEIGHT", both whole numbers within the limits.
bool parse_size(const char *text, int &width, int &height)
{
    int sides[2] = {0, 0};
    const char *p = text;
    for (int k = 0; k < 2; k++) {
        if (k == 1 && *p++ != 'x') return false;
        if (*p < '0' || *p > '9') return false;
        long value = 0;
        while (*p >= '0' && *p <= '9') {
            value = value * 10 + (*p++ - '0');
            if (value > MAX_SIDE) return false;
        }
        if (value < MIN_SIDE) return false;
        sides[k] = static_cast<int>(value);
    }
    if (*p) return false;
    width = sides[0];
    height = sides[1];
    return true;
}

// A picture for standard output ("-") is an SVG, text like the program's other output.
PictureFormat format_for(const std::string &path)
{
    return path == "-" ? PictureFormat::Svg : PictureFormatForPath(path);
}

const char *current_view = "";

// A chart's own message (a contour map refused, ...) while a picture is drawn.
void chart_message(const char *, const char *text)
{
    std::fprintf(stderr, "orvinta: %s: %s\n", current_view, text);
}

}  // namespace

int parse_plot_option(int argc, char **argv, int &k, PlotOptions &options)
{
    const char *arg = argv[k];
    if (!std::strcmp(arg, "--size")) {
        if (k + 1 >= argc || !parse_size(argv[k + 1], options.width, options.height)) {
            std::fprintf(stderr,
                         "orvinta: bad size '%s' for --size (WIDTHxHEIGHT, each 16 to 8192)\n",
                         k + 1 < argc ? argv[k + 1] : "");
            return -1;
        }
        k++;
        return 1;
    }
    if (std::strcmp(arg, "--plot")) return 0;
    if (k + 2 >= argc) {
        std::fprintf(stderr, "orvinta: --plot needs a view and a file name\n");
        return -1;
    }
    const int kind = PlotKindForName(argv[k + 1]);
    if (kind < 0) {
        std::fprintf(stderr, "orvinta: unknown view '%s' for --plot\n", argv[k + 1]);
        return -1;
    }
    if (format_for(argv[k + 2]) == PictureFormat::None) {
        std::fprintf(stderr, "orvinta: '%s' does not end in .svg or .png\n", argv[k + 2]);
        return -1;
    }
    options.plots.push_back({kind, argv[k + 2]});
    k += 2;
    return 1;
}

int write_plot_pictures(const PlotOptions &options)
{
    SetMessageBoxSink(chart_message);
    int status = 0;
    for (const PlotRequest &plot : options.plots) {
        current_view = PlotNameForKind(plot.kind);
        if (ViewForKind(plot.kind)->needsLight && psf_is_dark()) {
            std::fprintf(stderr,
                         "orvinta: cannot draw %s for %s: the pupil lets no light through\n",
                         current_view, plot.path.c_str());
            status = 1;
            break;
        }
        std::string bytes, error;
        if (!PlotPicture(plot.kind, options.width, options.height, format_for(plot.path), bytes)) {
            std::fprintf(stderr, "orvinta: cannot draw %s for %s\n", current_view,
                         plot.path.c_str());
            status = 1;
            break;
        }
        if (!write_output_file(plot.path, bytes, error)) {
            std::fprintf(stderr, "orvinta: %s\n", error.c_str());
            status = 1;
            break;
        }
    }
    SetMessageBoxSink(nullptr);
    return status;
}
