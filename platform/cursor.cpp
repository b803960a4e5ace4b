// Cursors and icons on QCursor and QIcon.
#include "platform/cursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QApplication>
#include <QStyle>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/cursor_internal.h"
#include "platform/resources_internal.h"

struct HCURSOR__ {
    QCursor cursor;
    QIcon icon;
    std::string name;
    bool shared = false;
};

namespace {

std::vector<HCURSOR> &loaded()
{
    static std::vector<HCURSOR> all;
    return all;
}

HCURSOR current = nullptr;
std::function<void(HCURSOR)> listener;
int display_count = 0;

bool is_intresource(LPCSTR s) { return (reinterpret_cast<std::uintptr_t>(s) >> 16) == 0; }

HCURSOR live(HCURSOR c)
{
    const auto &all = loaded();
    return c && std::find(all.begin(), all.end(), c) != all.end() ? c : nullptr;
}

HCURSOR remember(HCURSOR c)
{
    loaded().push_back(c);
    return c;
}

HCURSOR stock_cursor(std::uintptr_t id)
{
    static HCURSOR stock[4] = {};
    const int index = static_cast<int>(id) - 32512;
    if (index < 0 || index > 3) return nullptr;
    if (!stock[index]) {
        static const Qt::CursorShape shapes[4] = {Qt::ArrowCursor, Qt::IBeamCursor, Qt::WaitCursor,
                                                  Qt::CrossCursor};
        static const char *names[4] = {"IDC_ARROW", "IDC_IBEAM", "IDC_WAIT", "IDC_CROSS"};
        auto *c = new HCURSOR__;
        c->cursor = QCursor(shapes[index]);
        c->name = names[index];
        c->shared = true;
        stock[index] = remember(c);
    }
    return stock[index];
}

// The neutral icon of windows that bring none: a small window with a title bar.
QIcon generic_window_icon()
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        const int m = size / 8;
        const QRect frame(m, m + 1, size - 2 * m - 1, size - 2 * m - 2);
        painter.fillRect(frame, QColor(250, 250, 250));
        painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), size / 4),
                         QColor(40, 80, 150));
        painter.setPen(QColor(60, 60, 60));
        painter.drawRect(frame);
        icon.addPixmap(pixmap);
    }
    return icon;
}

HICON stock_application_icon()
{
    static HICON icon = nullptr;
    if (!icon) {
        auto *c = new HCURSOR__;
        if (qApp) c->icon = generic_window_icon();
        c->name = "IDI_APPLICATION";
        c->shared = true;
        icon = remember(c);
    }
    return icon;
}

void apply(HCURSOR c)
{
    if (!qApp) return;
    const bool arrow = !c || c->cursor.shape() == Qt::ArrowCursor;
    if (arrow) {
        while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    } else if (QGuiApplication::overrideCursor()) {
        QGuiApplication::changeOverrideCursor(c->cursor);
    } else {
        QGuiApplication::setOverrideCursor(c->cursor);
    }
}

}  // namespace

void cursor_set_listener(std::function<void(HCURSOR)> f) { listener = std::move(f); }

QIcon cursor_icon(HICON icon)
{
    HCURSOR c = live(icon);
    return c ? c->icon : QIcon();
}

std::string cursor_name(HCURSOR cursor)
{
    HCURSOR c = live(cursor);
    return c ? c->name : std::string();
}

void cursor_forget_all()
{
    for (HCURSOR c : loaded()) delete c;
    loaded().clear();
    current = nullptr;
    display_count = 0;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    if (is_intresource(name))
        return instance ? nullptr : stock_cursor(reinterpret_cast<std::uintptr_t>(name));
    QPoint hotSpot;
    const QImage image = resource_cursor_image(name, &hotSpot);
    if (image.isNull()) return nullptr;
    auto *c = new HCURSOR__;
    c->cursor = QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
    c->icon = QIcon(QPixmap::fromImage(image));
    c->name = name;
    return remember(c);
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name)
{
    if (is_intresource(name)) {
        if (instance || reinterpret_cast<std::uintptr_t>(name) != 32512) return nullptr;
        return stock_application_icon();
    }
    QIcon icon = resource_icon(name);
    if (icon.isNull()) return nullptr;
    auto *c = new HCURSOR__;
    c->icon = icon;
    c->cursor = QCursor(icon.pixmap(32, 32));
    c->name = name;
    return remember(c);
}

BOOL DestroyCursor(HCURSOR cursor)
{
    HCURSOR c = live(cursor);
    if (!c) return FALSE;
    if (c->shared) return TRUE;
    if (current == c) SetCursor(stock_cursor(32512));
    std::erase(loaded(), c);
    delete c;
    return TRUE;
}

BOOL DestroyIcon(HICON icon) { return DestroyCursor(icon); }

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR previous = current;
    current = live(cursor);
    if (listener) listener(current);
    apply(current);
    return previous;
}

HCURSOR GetCursor() { return current; }

int ShowCursor(BOOL show)
{
    display_count += show ? 1 : -1;
    return display_count;
}

BOOL SetCursorPos(int x, int y)
{
    if (!qApp) return FALSE;
    QCursor::setPos(x, y);
    return TRUE;
}

BOOL GetCursorPos(POINT *point)
{
    if (!point || !qApp) return FALSE;
    const QPoint p = QCursor::pos();
    *point = POINT{p.x(), p.y()};
    return TRUE;
}
