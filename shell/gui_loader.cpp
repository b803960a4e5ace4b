// The program's way to the window side, liborvinta_gui.so, opened on first use.
#include <cstdio>
#include <string>

#include "shell/gui.h"
#include "shell/program_library.h"

namespace {

const GuiEntry *load()
{
    std::string error;
    using Entry = const GuiEntry *(*)();
    const auto entry = reinterpret_cast<Entry>(
        program_library_entry("liborvinta_gui.so", ORVINTA_GUI_ENTRY, error));
    if (!entry) {
        std::fprintf(stderr, "orvinta: cannot load the window side: %s\n", error.c_str());
        return nullptr;
    }
    return entry();
}

}  // namespace

const GuiEntry *gui()
{
    static const GuiEntry *const side = load();
    return side;
}
