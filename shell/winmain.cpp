#include "shell/winmain.h"

#include "optics/hooks.h"
#include "optics/settings.h"
#include "shell/globals.h"
#include "shell/wndproc.h"
#include "views/child.h"
#include "views/plot_menu.h"

namespace {

// The computation shows its progress with the program's cursors ...
void show_optics_cursor(OpticsCursor cursor)
{
    switch (cursor) {
    case OpticsCursor::Wavefront: SetCursor(hWavefrontCursor); break;
    case OpticsCursor::FFT: SetCursor(hFFTCursor); break;
    case OpticsCursor::DataSave: SetCursor(hDataSaveCursor); break;
    case OpticsCursor::Arrow: SetCursor(LoadCursorA(nullptr, IDC_ARROW)); break;
    }
}

// ... and tells its results (the centroid error) in a box over the main window.
void show_optics_message(const char *caption, const char *text, bool beep)
{
    if (beep) MessageBeep(0);
    MessageBoxA(mainhwnd, text, caption, MB_OK);
}

bool RegisterClasses(HINSTANCE instance)
{
    hBitmap = LoadBitmapA(instance, "orvintabmp");
    hBrush = CreatePatternBrush(hBitmap);

    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, szAppName);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = hBrush;
    wc.lpszMenuName = szAppName;
    wc.lpszClassName = szAppName;
    if (!RegisterClassA(&wc)) return false;

    wc.lpfnWndProc = ChildWndProc;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = szChildClass;
    if (!RegisterClassA(&wc)) {
        UnregisterClassA(szAppName, instance);
        return false;
    }
    return true;
}

void ReleaseResources(HINSTANCE instance)
{
    UnregisterClassA(szChildClass, instance);
    UnregisterClassA(szAppName, instance);
    DestroyCursor(hFFTCursor);
    DestroyCursor(hWavefrontCursor);
    DestroyCursor(hDataSaveCursor);
    hFFTCursor = hWavefrontCursor = hDataSaveCursor = nullptr;
    DeleteObject(hBrush);
    DeleteObject(hBitmap);
    hBrush = nullptr;
    hBitmap = nullptr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR szCmdLine, int)
{
    if (!RegisterClasses(hInstance)) return 0;
    hFFTCursor = LoadCursorA(hInstance, "fftCursor");
    hWavefrontCursor = LoadCursorA(hInstance, "WavefrontCursor");
    hDataSaveCursor = LoadCursorA(hInstance, "DataSaveCursor");
    const OpticsHooks previousHooks = set_optics_hooks({show_optics_cursor, show_optics_message});

    // Arrays, start-up settings (coma and Zernike term 26 on) and the first pupil.
    optics_startup();
    ionce = 0;
    szFileName[0] = szTitleName[0] = '\0';
    pszPlotDataFile = szFileName;  // where Save Picture As starts

    hwnd = CreateWindowExA(
        0, szAppName, szDefaultTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MAXIMIZE, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, hInstance, szCmdLine);
    mainhwnd = hwnd;
    int exitCode = 1;
    if (hwnd) {
        hwndStatus = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", hwnd, 0);
        SetCursorPos(270, 25);
        MSG msg{};
        while (GetMessageA(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        exitCode = static_cast<int>(msg.wParam);
    }
    hwnd = mainhwnd = hwndStatus = nullptr;

    optics_shutdown();
    set_optics_hooks(previousHooks);
    ReleaseResources(hInstance);
    return exitCode;
}
