// The local time of day and date. Qt-free.
#pragma once

#include "platform/win32types.h"

struct SYSTEMTIME {
    WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};

// The local time now, to the millisecond (hundredths are wMilliseconds / 10).
void GetLocalTime(SYSTEMTIME *lpSystemTime);
