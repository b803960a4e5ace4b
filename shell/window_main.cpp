// orvinta [FILE]: the windowed program on the toolkit.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/app.h"
#include "platform/testing.h"
#include "shell/entry.h"
#include "shell/winmain.h"

int window_main(int argc, char **argv)
{
    if (!platform_start(argc, argv)) {
        std::fprintf(stderr,
                     "orvinta: no window system to open (no display); try orvinta --batch\n");
        return 1;
    }
    // Smoke runs (scripts, sanitizer checks) start the program and quit at the first idle;
    // nobody is there to press OK, so every message box is answered with OK.
    const char *quit = std::getenv("ORVINTA_QUIT_WHEN_IDLE");
    const bool smoke = quit && *quit == '1';
    if (smoke) {
        testing_begin();
        testing_run_when_idle([] {});
    }
    // The command line is the path of a data file, taken whole: a path with blanks that the
    // shell split into several arguments is joined again.
    std::string commandLine;
    for (int k = 1; k < argc && argv[k]; k++) {
        if (k > 1) commandLine += ' ';
        commandLine += argv[k];
    }
    const int code =
        WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
    if (smoke) testing_end();
    platform_finish();
    return code;
}

bool window_system_available(int, char **) { return platform_window_system_available(); }
