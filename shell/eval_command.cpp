#include <cstdio>

#include "shell/entry.h"

int eval_main(int, char **)
{
    std::fprintf(stderr, "orvinta: --eval is not built yet\n");
    return 2;
}
