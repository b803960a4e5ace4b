#include "optics/hooks.h"

#include <cstdio>

namespace {

void no_cursor(OpticsCursor) {}

void print_message(const char *caption, const char *text, bool)
{
    std::printf("%s: %s\n", caption, text);
    std::fflush(stdout);
}

OpticsHooks current{no_cursor, print_message};

}  // namespace

OpticsHooks set_optics_hooks(const OpticsHooks &hooks)
{
    const OpticsHooks previous = current;
    current.set_cursor = hooks.set_cursor ? hooks.set_cursor : no_cursor;
    current.notify = hooks.notify ? hooks.notify : print_message;
    return previous;
}

void optics_set_cursor(OpticsCursor cursor) { current.set_cursor(cursor); }

void optics_notify(const char *caption, const char *text, bool beep)
{
    current.notify(caption, text, beep);
}
