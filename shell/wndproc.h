// The main window procedure and its commands.
#pragma once

#include "platform/win32.h"
#include "views/command_ids.h"

LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
