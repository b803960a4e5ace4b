// Window classes, window records and the window calls.
#include "platform/window.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "platform/cursor_internal.h"
#include "platform/gdi_qt.h"
#include "platform/menu.h"
#include "platform/menu_internal.h"
#include "platform/qt_convert.h"
#include "platform/router.h"
#include "platform/scrollbar_internal.h"

struct HINSTANCE__ {
    int unused;
};

namespace {

HINSTANCE__ the_instance{0};

std::string lower(const char *s)
{
    std::string out = s ? s : "";
    for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Class names compare without regard to case.
std::map<std::string, std::unique_ptr<WindowClassRecord>> &classes()
{
    static std::map<std::string, std::unique_ptr<WindowClassRecord>> table;
    return table;
}

std::vector<HWND> &live_windows()
{
    static std::vector<HWND> windows;
    return windows;
}

bool is_intresource(LPCSTR s) { return (reinterpret_cast<std::uintptr_t>(s) >> 16) == 0; }

HWND new_record(WNDPROC proc, HWND parent, DWORD style, DWORD exStyle, int id, const char *title)
{
    auto *w = new HWND__;
    w->proc = proc;
    w->parent = parent;
    w->instance = &the_instance;
    w->style = style;
    w->exStyle = exStyle;
    w->id = id;
    w->title = title ? title : "";
    live_windows().push_back(w);
    if (HWND__ *p = window_live(parent)) p->children.push_back(w);
    return w;
}

// A maximized framed child keeps its own title bar inside its parent, as a child window does.
// (Otherwise the toolkit moves its buttons into the menu bar and appends its title to the
// caption of the top-level window, which only the program sets.)
class FramedChildStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *answer) const override
    {
        if (hint == SH_Workspace_FillSpaceOnMaximize) return 1;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

QStyle *framed_child_style()
{
    static QPointer<FramedChildStyle> style;
    if (!style) {
        style = new FramedChildStyle;
        style->setParent(qApp);
    }
    return style;
}

Qt::WindowFlags framed_child_flags(DWORD style)
{
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

// A client widget with the standard scroll bars its style asks for, in a container.
QWidget *build_client(HWND w, QWidget *parent)
{
    auto *client = new ClientWidget(w);
    w->client = client;
    w->host = client;
    if (!(w->style & (WS_VSCROLL | WS_HSCROLL))) {
        client->setParent(parent);
        return client;
    }
    auto *container = new QWidget(parent);
    auto *grid = new QGridLayout(container);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(client, 0, 0);
    if (w->style & WS_VSCROLL) grid->addWidget(scrollbar_create(w, SB_VERT, container), 0, 1);
    if (w->style & WS_HSCROLL) grid->addWidget(scrollbar_create(w, SB_HORZ, container), 1, 0);
    container->setFocusProxy(client);
    return container;
}

void build_top_level(HWND w, HMENU menu)
{
    auto *frame = new TopLevelFrame(w);
    auto *area = new FrameClientArea(w, frame);
    frame->setCentralWidget(area);
    frame->setWindowTitle(toQWindowTitle(w->title.c_str()));
    w->frame = frame;
    w->client = area;
    w->host = area->viewport();
    w->mdiArea = area;
    // Closing the active child brings up the one that was under it.
    area->setActivationOrder(QMdiArea::StackingOrder);
    if (w->windowClass && w->windowClass->wc.hIcon)
        frame->setWindowIcon(cursor_icon(w->windowClass->wc.hIcon));
    if (menu) {
        w->menu = menu;
        frame->setMenuBar(menu_realize_bar(menu, w, frame));
    }
}

void build_child(HWND w, HWND__ *parent)
{
    if ((w->style & WS_CAPTION) == WS_CAPTION && parent->mdiArea) {
        auto *sub = new QMdiSubWindow(nullptr, framed_child_flags(w->style));
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        sub->setStyle(framed_child_style());
        if (w->style & WS_SYSMENU) {
            // Ctrl+F4 closes a child window with a system menu, besides the toolkit's own keys.
            auto *closeKey = new QAction(sub);
            closeKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
            closeKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            QObject::connect(closeKey, &QAction::triggered, sub, &QWidget::close);
            sub->addAction(closeKey);
        }
        sub->setWidget(build_client(w, nullptr));
        sub->setWindowTitle(toQWindowTitle(w->title.c_str()));
        if (w->windowClass && w->windowClass->wc.hIcon)
            sub->setWindowIcon(cursor_icon(w->windowClass->wc.hIcon));
        auto *watcher = new FramedChildWatcher(w, sub);
        sub->installEventFilter(watcher);
        w->closeWatcher = watcher;
        parent->mdiArea->addSubWindow(sub, framed_child_flags(w->style));
        w->subWindow = sub;
        w->frame = sub;
        return;
    }
    w->frame = build_client(w, parent->host);
}

void place_initially(HWND w, int x, int y, int width, int height)
{
    if (!w->frame) return;
    const bool defaultPos = x == CW_USEDEFAULT;
    const bool defaultSize = width == CW_USEDEFAULT;
    if (!w->parent) {
        w->frame->resize(defaultSize ? QSize(800, 600)
                                     : QSize(std::max(width, 1), std::max(height, 1)));
        if (!defaultPos) w->frame->move(x, y);
        return;
    }
    w->frame->setGeometry(defaultPos ? 0 : x, defaultPos ? 0 : y,
                          defaultSize ? 300 : std::max(width, 0),
                          defaultSize ? 200 : std::max(height, 0));
}

void destroy_widgets(HWND__ *w)
{
    if (auto *client = dynamic_cast<ClientWidget *>(w->client.data())) client->hwnd = nullptr;
    if (auto *area = dynamic_cast<FrameClientArea *>(w->client.data())) area->hwnd = nullptr;
    if (auto *top = dynamic_cast<TopLevelFrame *>(w->frame.data())) top->hwnd = nullptr;
    delete w->closeWatcher.data();
    scrollbar_detach(w);
    if (w->frame) {
        w->frame->hide();
        w->frame->deleteLater();
    }
}

}  // namespace

// --- records ---------------------------------------------------------------------------------

HWND__ *window_live(HWND hwnd)
{
    if (!hwnd) return nullptr;
    const auto &all = live_windows();
    return std::find(all.begin(), all.end(), hwnd) != all.end() ? hwnd : nullptr;
}

std::vector<HWND> window_all() { return live_windows(); }

HWND window_attach(QWidget *frame, QWidget *client, WNDPROC proc, HWND parent, DWORD style, int id,
                   const char *title)
{
    HWND w = new_record(proc, parent, style, 0, id, title);
    w->frame = frame;
    w->client = client ? client : frame;
    w->host = w->client;
    return w;
}

HWND window_from_widget(const QWidget *widget)
{
    for (; widget; widget = widget->parentWidget()) {
        for (HWND w : live_windows())
            if (w->frame == widget || w->client == widget) return w;
    }
    return nullptr;
}

QWidget *window_top_widget(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->frame) return nullptr;
    return w->frame->window();
}

bool window_class_background(HWND hwnd, QBrush *brush)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->windowClass || !w->windowClass->wc.hbrBackground) return false;
    *brush = brush_to_qbrush(w->windowClass->wc.hbrBackground);
    return brush->style() != Qt::NoBrush;
}

// --- classes ---------------------------------------------------------------------------------

HINSTANCE GetModuleHandleA(LPCSTR) { return &the_instance; }

ATOM RegisterClassA(const WNDCLASSA *wc)
{
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return 0;
    const std::string key = lower(wc->lpszClassName);
    if (classes().count(key)) return 0;
    auto record = std::make_unique<WindowClassRecord>();
    record->name = wc->lpszClassName;
    record->wc = *wc;
    record->wc.lpszClassName = record->name.c_str();
    if (wc->lpszMenuName && !is_intresource(wc->lpszMenuName)) {
        record->menuName = wc->lpszMenuName;
        record->wc.lpszMenuName = record->menuName.c_str();
    }
    classes()[key] = std::move(record);
    return static_cast<ATOM>(0xC000 + classes().size());
}

BOOL UnregisterClassA(LPCSTR name, HINSTANCE)
{
    return classes().erase(lower(name)) ? TRUE : FALSE;
}

// --- creation and destruction ----------------------------------------------------------------

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param)
{
    if (!qApp) return nullptr;
    auto found = classes().find(lower(className));
    if (found == classes().end()) return nullptr;
    const WindowClassRecord *cls = found->second.get();
    HWND__ *parentRecord = window_live(parent);
    if ((style & WS_CHILD) && !parentRecord) return nullptr;

    const int id =
        (style & WS_CHILD) ? static_cast<int>(reinterpret_cast<std::uintptr_t>(menu)) : 0;
    HWND w = new_record(cls->wc.lpfnWndProc, (style & WS_CHILD) ? parentRecord : nullptr, style,
                        exStyle, id, windowName);
    w->windowClass = cls;
    if (instance) w->instance = instance;
    if (style & WS_CHILD) {
        build_child(w, parentRecord);
    } else {
        if (!menu && !cls->menuName.empty()) menu = LoadMenuA(w->instance, cls->menuName.c_str());
        build_top_level(w, menu);
    }
    place_initially(w, x, y, width, height);

    CREATESTRUCTA cs{
        param,      w->instance, menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className,   exStyle};
    if (SendMessageA(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(w);
        return nullptr;
    }
    if (!window_live(w)) return nullptr;
    if (style & WS_VISIBLE) ShowWindow(w, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
    return w;
}

BOOL DestroyWindow(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    if (!w) return FALSE;
    if (w->destroying) return TRUE;
    w->destroying = true;
    SendMessageA(w, WM_DESTROY, 0, 0);
    const std::vector<HWND> children = w->children;
    for (HWND child : children) DestroyWindow(child);
    SendMessageA(w, WM_NCDESTROY, 0, 0);

    if (w->onDestroy) w->onDestroy(w);
    if (HWND__ *p = window_live(w->parent)) std::erase(p->children, w);
    std::erase(live_windows(), w);
    if (w->menu) menu_detach(w->menu, w);
    destroy_widgets(w);
    delete w;
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return window_live(hwnd) ? TRUE : FALSE; }

HWND GetParent(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    return w ? w->parent : nullptr;
}

// --- messages ------------------------------------------------------------------------------

LRESULT SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND__ *w = window_live(hwnd);
    if (!w) return 0;
    if (!w->proc) return DefWindowProcA(hwnd, message, wParam, lParam);
    return w->proc(hwnd, message, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND__ *w = window_live(hwnd);
    if (!w) return 0;
    switch (message) {
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_SETTEXT: SetWindowTextA(hwnd, reinterpret_cast<LPCSTR>(lParam)); return TRUE;
    case WM_GETTEXT:
        return GetWindowTextA(hwnd, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    case WM_ERASEBKGND: return 1;
    default: window_mark_defaulted(hwnd, message); return 0;
    }
}

// --- visibility ------------------------------------------------------------------------------

BOOL ShowWindow(HWND hwnd, int cmd)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->frame) return FALSE;
    const BOOL wasVisible = w->frame->isVisible();
    switch (cmd) {
    case SW_HIDE: w->frame->hide(); break;
    case SW_SHOWMAXIMIZED:
        // Without a window manager nobody maximizes: take the screen's work area first.
        if (w->frame->isWindow() && w->frame->screen())
            w->frame->setGeometry(w->frame->screen()->availableGeometry());
        w->frame->showMaximized();
        break;
    case SW_MINIMIZE: w->frame->showMinimized(); break;
    case SW_RESTORE: w->frame->showNormal(); break;
    default: w->frame->show(); break;
    }
    if (cmd != SW_HIDE)
        w->style |= WS_VISIBLE;
    else
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    return w && w->frame && w->frame->isVisible();
}

BOOL UpdateWindow(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->client) return FALSE;
    if (w->client->isVisible()) w->client->repaint();
    return TRUE;
}

BOOL InvalidateRect(HWND hwnd, const RECT *rect, BOOL)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->client) return FALSE;
    QWidget *surface = w->mdiArea ? w->mdiArea->viewport() : w->client.data();
    if (rect)
        surface->update(toQRect(*rect));
    else
        surface->update();
    return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->frame) return FALSE;
    const BOOL wasDisabled = !w->frame->isEnabled();
    w->frame->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    return w && w->frame && w->frame->isEnabled();
}

HWND SetFocus(HWND hwnd)
{
    HWND previous = GetFocus();
    if (HWND__ *w = window_live(hwnd); w && w->client) w->client->setFocus(Qt::OtherFocusReason);
    return previous;
}

HWND GetFocus() { return window_from_widget(QApplication::focusWidget()); }

void window_return_focus(HWND owner)
{
    QWidget *top = window_top_widget(owner);
    if (!top || !top->isVisible()) return;
    top->activateWindow();
    QWidget *last = top->focusWidget();
    (last ? last : top)->setFocus(Qt::ActiveWindowFocusReason);
}

// --- geometry ------------------------------------------------------------------------------

BOOL GetClientRect(HWND hwnd, RECT *rect)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !rect || !w->client) return FALSE;
    QWidget *surface = w->mdiArea ? w->mdiArea->viewport() : w->client.data();
    *rect = RECT{0, 0, surface->width(), surface->height()};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT *point)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !point || !w->client) return FALSE;
    QWidget *surface = w->mdiArea ? w->mdiArea->viewport() : w->client.data();
    const QPoint screen = surface->mapToGlobal(QPoint(point->x, point->y));
    *point = POINT{screen.x(), screen.y()};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT *rect)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !rect || !w->frame) return FALSE;
    QRect r = w->frame->isWindow() ? w->frame->frameGeometry() : w->frame->geometry();
    if (!w->frame->isWindow() && w->frame->parentWidget())
        r.moveTopLeft(w->frame->parentWidget()->mapToGlobal(r.topLeft()));
    *rect = toRECT(r);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->frame) return FALSE;
    if (w->frame->isWindow()) {
        // The window rectangle includes the decorations the window manager adds.
        const QSize decorations = w->frame->frameGeometry().size() - w->frame->size();
        w->frame->move(x, y);
        w->frame->resize(std::max(width - decorations.width(), 1),
                         std::max(height - decorations.height(), 1));
    } else {
        w->frame->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    }
    if (repaint) w->frame->update();
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->frame) return FALSE;
    const QRect now = w->frame->isWindow() ? w->frame->frameGeometry() : w->frame->geometry();
    if (flags & SWP_NOMOVE) {
        x = now.x();
        y = now.y();
    }
    if (flags & SWP_NOSIZE) {
        cx = now.width();
        cy = now.height();
    }
    MoveWindow(hwnd, x, y, cx, cy, !(flags & SWP_NOREDRAW));
    if (!(flags & SWP_NOZORDER) && after == HWND_TOP) BringWindowToTop(hwnd);
    if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, SW_SHOW);
    if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL BringWindowToTop(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->frame) return FALSE;
    if (w->subWindow) {
        if (auto *area = w->subWindow->mdiArea()) area->setActiveSubWindow(w->subWindow);
    }
    w->frame->raise();
    if (w->frame->isWindow()) w->frame->activateWindow();
    return TRUE;
}

HWND GetTopWindow(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    if (!w) return nullptr;
    if (w->mdiArea) {
        const QList<QMdiSubWindow *> stack = w->mdiArea->subWindowList(QMdiArea::StackingOrder);
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
            HWND child = (*it)->isVisible() ? window_from_widget(*it) : nullptr;
            if (child && child->parent == w) return child;
        }
        return nullptr;
    }
    // Plain children: the toolkit keeps siblings in stacking order, the top one last.
    if (!w->host) return nullptr;
    const QObjectList siblings = w->host->children();
    for (auto it = siblings.rbegin(); it != siblings.rend(); ++it) {
        auto *widget = qobject_cast<QWidget *>(*it);
        HWND child = widget && widget->isVisible() ? window_from_widget(widget) : nullptr;
        if (child && child->parent == w) return child;
    }
    return nullptr;
}

// --- text and attributes ---------------------------------------------------------------------

BOOL SetWindowTextA(HWND hwnd, LPCSTR text)
{
    HWND__ *w = window_live(hwnd);
    if (!w) return FALSE;
    w->title = text ? text : "";
    if (w->subWindow)
        w->subWindow->setWindowTitle(toQWindowTitle(w->title.c_str()));
    else if (w->frame && w->frame->isWindow())
        w->frame->setWindowTitle(toQWindowTitle(w->title.c_str()));
    else if (w->frame)
        w->frame->setWindowTitle(toQWindowTitle(w->title.c_str()));
    return TRUE;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !buffer || size <= 0) return 0;
    const int n = std::min<int>(static_cast<int>(w->title.size()), size - 1);
    std::memcpy(buffer, w->title.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

int GetWindowTextLengthA(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    return w ? static_cast<int>(w->title.size()) : 0;
}

LONG_PTR GetWindowLongA(HWND hwnd, int index)
{
    HWND__ *w = window_live(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent);
    case GWL_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
    case GWL_USERDATA: return w->userData;
    default: return 0;
    }
}

LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value)
{
    HWND__ *w = window_live(hwnd);
    if (!w) return 0;
    const LONG_PTR previous = GetWindowLongA(hwnd, index);
    switch (index) {
    case GWL_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWL_ID: w->id = static_cast<int>(value); break;
    case GWL_USERDATA: w->userData = value; break;
    default: return 0;
    }
    return previous;
}

HWND GetDlgItem(HWND hDlg, int id)
{
    HWND__ *w = window_live(hDlg);
    if (!w) return nullptr;
    for (HWND child : w->children)
        if (child->id == id) return child;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    return w ? w->id : 0;
}

int GetSystemMetrics(int index)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(1024, 768);
    switch (index) {
    case SM_CXSCREEN: return size.width();
    case SM_CYSCREEN: return size.height();
    case SM_CXVSCROLL:
        return QApplication::style()
                   ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                   : 16;
    case SM_CYHSCROLL:
        return QApplication::style()
                   ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                   : 16;
    case SM_CYCAPTION:
        return QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight)
                                     : 20;
    case SM_CYMENU: return 20;
    default: return 0;
    }
}

// --- small helpers ---------------------------------------------------------------------------

int wsprintfA(LPSTR buffer, LPCSTR format, ...)
{
    if (!buffer || !format) return 0;
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, 1024, format, args);
    va_end(args);
    return std::min(n, 1023);
}

short GetFileTitleA(LPCSTR file, LPSTR title, WORD size)
{
    if (!file || !*file) return -1;
    const char *name = file;
    for (const char *p = file; *p; ++p)
        if (*p == '/' || *p == '\\') name = p + 1;
    if (!*name) return -1;
    const std::size_t needed = std::strlen(name) + 1;
    if (!title || needed > size) return static_cast<short>(std::min<std::size_t>(needed, 0x7fff));
    std::memcpy(title, name, needed);
    return 0;
}
