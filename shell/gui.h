// The window side of the program: the main window and the pictures of the plot views, the only
// parts that need the window toolkit. The batch job, the sweeps and --eval run without it; the
// program brings the window side in when a window, a picture or the window system is asked for,
// so a batch job without pictures starts without loading the toolkit at all.
#pragma once

#include "shell/batch_plot.h"

struct GuiEntry {
    int (*window_main)(int argc, char **argv);
    bool (*window_system_available)(int argc, char **argv);
    int (*parse_plot_option)(int argc, char **argv, int &k, PlotOptions &options);
    int (*write_plot_pictures)(const PlotOptions &options);
};

// The window side, brought in on the first call. When it cannot be (its library missing or
// broken), one standard-error line says why and the result is nullptr.
const GuiEntry *gui();

// The name the window side's library exports its entry table under.
#define ORVINTA_GUI_ENTRY "orvinta_gui_entry"
