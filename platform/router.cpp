// Qt events in, window messages out.
#include "platform/router.h"
#include "platform/qt_convert.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <vector>

namespace {

// The messages being routed, innermost last: DefWindowProcA marks the one it receives.
struct RoutedMessage {
    HWND hwnd;
    UINT message;
    bool defaulted;
};
std::vector<RoutedMessage> routed;
std::vector<PaintTarget *> paints;

WPARAM key_flags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    WPARAM flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (mods & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (mods & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

}  // namespace

void window_mark_defaulted(HWND hwnd, UINT message)
{
    for (auto it = routed.rbegin(); it != routed.rend(); ++it) {
        if (it->hwnd == hwnd && it->message == message) {
            it->defaulted = true;
            return;
        }
    }
}

PaintTarget *paint_target_for(HWND hwnd)
{
    for (auto it = paints.rbegin(); it != paints.rend(); ++it)
        if ((*it)->hwnd == hwnd) return *it;
    return nullptr;
}

bool route_message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!window_live(hwnd)) return false;
    routed.push_back({hwnd, message, false});
    SendMessageA(hwnd, message, wParam, lParam);
    const bool defaulted = routed.back().defaulted;
    routed.pop_back();
    return !defaulted && window_live(hwnd);
}

void route_paint(HWND hwnd, QWidget *surface, const QRect &dirty)
{
    if (!window_live(hwnd)) return;
    QPainter painter(surface);
    QBrush background;
    if (window_class_background(hwnd, &background)) painter.fillRect(dirty, background);
    PaintTarget target{hwnd, &painter, dirty, surface->size()};
    paints.push_back(&target);
    SendMessageA(hwnd, WM_PAINT, 0, 0);
    paints.pop_back();
}

bool route_key(HWND hwnd, int qtKey, bool down)
{
    const int vk = toVirtualKey(qtKey);
    if (!vk) return false;
    return route_message(hwnd, down ? UINT(WM_KEYDOWN) : UINT(WM_KEYUP), static_cast<WPARAM>(vk),
                         1);
}

bool route_mouse(HWND hwnd, UINT message, const QPoint &pos, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers mods)
{
    return route_message(hwnd, message, key_flags(buttons, mods), MAKELPARAM(pos.x(), pos.y()));
}

void route_size(HWND hwnd, const QSize &size)
{
    HWND__ *w = window_live(hwnd);
    if (!w) return;
    WPARAM kind = SIZE_RESTORED;
    if (w->frame && w->frame->isMaximized()) kind = SIZE_MAXIMIZED;
    if (w->frame && w->frame->isMinimized()) kind = SIZE_MINIMIZED;
    route_message(hwnd, WM_SIZE, kind, MAKELPARAM(size.width(), size.height()));
}

// --- child client area ------------------------------------------------------------------------

ClientWidget::ClientWidget(HWND h, QWidget *parent) : QWidget(parent), hwnd(h)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves arrive with no button held too, and leaving the area is told (WM_MOUSELEAVE)
    // without the window asking for it first.
    setMouseTracking(true);
}

void ClientWidget::paintEvent(QPaintEvent *event) { route_paint(hwnd, this, event->rect()); }

void ClientWidget::resizeEvent(QResizeEvent *event) { route_size(hwnd, event->size()); }

void ClientWidget::keyPressEvent(QKeyEvent *event)
{
    if (route_key(hwnd, event->key(), true)) return;
    // Shift+F10 asks for the context menu as the menu key does, at the middle of the window.
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_F10 && mods == Qt::ShiftModifier) {
        const QPoint middle(width() / 2, height() / 2);
        QContextMenuEvent request(QContextMenuEvent::Keyboard, middle, mapToGlobal(middle), mods);
        contextMenuEvent(&request);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ClientWidget::keyReleaseEvent(QKeyEvent *event)
{
    if (!route_key(hwnd, event->key(), false)) QWidget::keyReleaseEvent(event);
}

void ClientWidget::mousePressEvent(QMouseEvent *event)
{
    const UINT message =
        event->button() == Qt::RightButton ? UINT(WM_RBUTTONDOWN) : UINT(WM_LBUTTONDOWN);
    if (!route_mouse(hwnd, message, event->position().toPoint(), event->buttons(),
                     event->modifiers()))
        QWidget::mousePressEvent(event);
}

void ClientWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const UINT message =
        event->button() == Qt::RightButton ? UINT(WM_RBUTTONUP) : UINT(WM_LBUTTONUP);
    if (!route_mouse(hwnd, message, event->position().toPoint(), event->buttons(),
                     event->modifiers()))
        QWidget::mouseReleaseEvent(event);
}

// The right button (or the menu key) asks for a context menu, at its screen position.
void ClientWidget::contextMenuEvent(QContextMenuEvent *event)
{
    const QPoint at = event->globalPos();
    if (!route_message(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                       MAKELPARAM(at.x(), at.y())))
        QWidget::contextMenuEvent(event);
}

void ClientWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!route_mouse(hwnd, WM_MOUSEMOVE, event->position().toPoint(), event->buttons(),
                     event->modifiers()))
        QWidget::mouseMoveEvent(event);
}

void ClientWidget::leaveEvent(QEvent *event)
{
    if (!route_message(hwnd, WM_MOUSELEAVE, 0, 0)) QWidget::leaveEvent(event);
}

// --- top-level client area ---------------------------------------------------------------------

FrameClientArea::FrameClientArea(HWND h, QWidget *parent) : QMdiArea(parent), hwnd(h)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
}

void FrameClientArea::paintEvent(QPaintEvent *event)
{
    route_paint(hwnd, viewport(), event->rect());
}

void FrameClientArea::resizeEvent(QResizeEvent *event)
{
    QMdiArea::resizeEvent(event);
    route_size(hwnd, viewport()->size());
}

void FrameClientArea::keyPressEvent(QKeyEvent *event)
{
    if (!route_key(hwnd, event->key(), true)) QMdiArea::keyPressEvent(event);
}

void FrameClientArea::mousePressEvent(QMouseEvent *event)
{
    if (!route_mouse(hwnd, WM_LBUTTONDOWN, event->position().toPoint(), event->buttons(),
                     event->modifiers()))
        QMdiArea::mousePressEvent(event);
}

// --- frames -----------------------------------------------------------------------------------

TopLevelFrame::TopLevelFrame(HWND h) : hwnd(h) {}

void TopLevelFrame::closeEvent(QCloseEvent *event)
{
    // The procedure decides: default processing destroys the window.
    event->ignore();
    if (window_live(hwnd)) SendMessageA(hwnd, WM_CLOSE, 0, 0);
}

bool FramedChildWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close) {
        event->ignore();
        if (window_live(hwnd)) SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
