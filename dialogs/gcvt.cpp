#include "dialogs/gcvt.h"

#include <algorithm>
#include <cstdio>

char *gcvt_into(double value, int ndigit, char *buffer, std::size_t size)
{
    if (!buffer || size == 0) return buffer;
    std::snprintf(buffer, size, "%.*g", std::clamp(ndigit, 1, 17), value);
    return buffer;
}

std::string gcvt_text(double value, int ndigit)
{
    char text[64];
    return gcvt_into(value, ndigit, text, sizeof text);
}
