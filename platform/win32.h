// Everything the program calls on the platform, by its Win32 name. Qt-free.
#pragma once

#include "platform/win32types.h"
#include "platform/gdi.h"
#include "platform/window.h"
#include "platform/msgloop.h"
#include "platform/menu.h"
#include "platform/msgbox.h"
#include "platform/cursor.h"
#include "platform/scrollbar.h"
#include "platform/paint.h"
#include "platform/resources.h"
#include "platform/dialog.h"
#include "platform/timeofday.h"
#include "platform/clipboard.h"
#include "platform/statusbar.h"
