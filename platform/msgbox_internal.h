// The test support answers message boxes and counts beeps in place of the user. Internal.
#pragma once

#include <functional>

#include "platform/win32types.h"

// While set, every MessageBoxA goes to the interceptor and shows nothing.
void msgbox_set_interceptor(std::function<int(HWND, LPCSTR, LPCSTR, UINT)> interceptor);
void msgbox_set_beep_listener(std::function<void(UINT)> listener);
