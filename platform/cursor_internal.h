// Cursor and icon records as the rest of platform/ sees them. Internal.
#pragma once

#include <QIcon>
#include <string>

#include "platform/win32types.h"

QIcon cursor_icon(HICON icon);
// The resource name of a cursor ("fftCursor", "IDC_ARROW", ...); empty for an unknown handle.
std::string cursor_name(HCURSOR cursor);
// Frees every cursor and icon (at the end of the run).
void cursor_forget_all();
#include <functional>
// Called with every cursor that SetCursor shows (the test support records them).
void cursor_set_listener(std::function<void(HCURSOR)> listener);
