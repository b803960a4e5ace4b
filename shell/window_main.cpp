// Until the main window exists the program has only its batch job.
#include <cstdio>

#include "shell/entry.h"

int window_main(int, char **)
{
    std::fprintf(stderr, "orvinta: the window is not built yet; try orvinta --batch\n");
    return 1;
}

bool window_system_available(int, char **) { return false; }
