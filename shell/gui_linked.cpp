// The window side's entry table, built into the window side itself: its library exports it for
// the program to look up, and a test linked with the window side reaches it directly.
#include "shell/entry.h"
#include "shell/gui.h"

namespace {

const GuiEntry entry = {window_main, window_system_available, parse_plot_option,
                        write_plot_pictures};

}  // namespace

const GuiEntry *gui() { return &entry; }

extern "C" __attribute__((visibility("default"))) const GuiEntry *orvinta_gui_entry()
{
    return &entry;
}
