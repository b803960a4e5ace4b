#include <cstdio>

#include "shell/entry.h"

int batch_main(int, char **)
{
    std::fprintf(stderr, "orvinta: --batch is not built yet\n");
    return 2;
}
