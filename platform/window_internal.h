// The window record behind an HWND and the hooks the other platform units share. Internal to
// platform/ (it includes Qt); later units (dialogs, controls) build their windows with
// window_attach and route their widgets' events through router.h.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"

class QMdiArea;
class QMdiSubWindow;
class QScrollBar;

struct WindowClassRecord {
    std::string name;
    WNDCLASSA wc{};
    std::string menuName;  // copy of wc.lpszMenuName when it is a name
};

// Standard scroll bar state: the position and range the program set, whatever the toolkit's
// slider shows while it is being dragged.
struct ScrollBarState {
    int min = 0;
    int max = 100;
    int pos = 0;
};

struct HWND__ {
    const WindowClassRecord *windowClass = nullptr;  // null for windows attached to a widget
    WNDPROC proc = nullptr;
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    std::string title;
    HMENU menu = nullptr;  // menu bar of a top-level window
    LONG_PTR userData = 0;
    std::vector<HWND> children;  // in creation order

    QPointer<QWidget> frame;   // what moves and sizes: top-level frame, framed child, or the client
    QPointer<QWidget> client;  // the client area: painting and input land here
    QPointer<QWidget> host;    // the widget that plain child windows are placed in
    QPointer<QMdiArea> mdiArea;         // top-level windows: hosts the framed children
    QPointer<QMdiSubWindow> subWindow;  // framed children
    QPointer<QObject> closeWatcher;     // turns the frame's close into WM_CLOSE
    QPointer<QScrollBar> bars[2];       // SB_HORZ, SB_VERT
    ScrollBarState scroll[2];

    bool destroying = false;
    void *extension = nullptr;            // owned by the unit that attached the window (dialogs)
    std::function<void(HWND)> onDestroy;  // that unit's clean-up, run as the record goes
};

// The record of a live window, or null for a null, destroyed or foreign handle.
HWND__ *window_live(HWND hwnd);
// Every live window, in creation order.
std::vector<HWND> window_all();
// A window record for widgets built elsewhere (a dialog and its controls). The record is
// registered as a child of parent (when given) and lives until DestroyWindow.
HWND window_attach(QWidget *frame, QWidget *client, WNDPROC proc, HWND parent, DWORD style, int id,
                   const char *title);
// The window whose frame or client is this widget (or one of its ancestors), or null.
HWND window_from_widget(const QWidget *widget);
// The top-level widget that owns a window (parent of its modal boxes), or null.
QWidget *window_top_widget(HWND hwnd);
// When a modal window over owner has closed: the owner's top-level window becomes the active
// window again and gets the keyboard focus back (on the control that last had it), so that
// its menu mnemonics work at once, also without a window manager that would do it.
void window_return_focus(HWND owner);
// The brush of a window's class as the toolkit paints it (none for no brush).
bool window_class_background(HWND hwnd, QBrush *brush);

// Default processing marks the routed event as left to the toolkit.
void window_mark_defaulted(HWND hwnd, UINT message);
