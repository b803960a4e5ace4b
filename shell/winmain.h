// The windowed program's entry: classes, cursors, arrays and settings, the main window and
// the message loop.
#pragma once

#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR szCmdLine, int iCmdShow);
