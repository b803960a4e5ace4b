#include "views/program_windows.h"

#include <cstdio>

const char szAppName[] = "Orvinta";
const char szDefaultTitle[] = "Orvinta: Diffraction Point Spread Function of Wavefront";

HWND hwnd = nullptr, mainhwnd = nullptr;
HDC hdc = nullptr;

void DoCaption(HWND window, const char *title)
{
    char caption[64 + FILE_TITLE_SIZE];
    std::snprintf(caption, sizeof caption, "%s - %s", szAppName,
                  title && title[0] ? title : szDefaultTitle);
    SetWindowTextA(window, caption);
}

void OkMessage(HWND window, const char *format, const char *title)
{
    // The format comes from the program and holds one %s; the title is user data and is
    // only ever an argument.
    char message[64 + FILE_TITLE_SIZE + 200];
    std::snprintf(message, sizeof message, format, title && title[0] ? title : szDefaultTitle);
    MessageBoxA(window, message, szAppName, MB_ICONEXCLAMATION | MB_OK);
}

void CenterWindow(HWND window)
{
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    MoveWindow(window, x, y, width, height, TRUE);
}

HWND hwndStatus = nullptr;

void ShowStatusText(const std::string &text)
{
    if (!hwndStatus) return;
    // A text longer than the buffer is taken as different.
    char shown[256] = "";
    if (SendMessageA(hwndStatus, SB_GETTEXTLENGTHA, 0, 0) < LRESULT(sizeof shown))
        SendMessageA(hwndStatus, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(shown));
    if (text != shown)
        SendMessageA(hwndStatus, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
