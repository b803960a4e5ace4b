// The routing widgets: each toolkit event that a window procedure may want becomes a message;
// when the procedure leaves it to DefWindowProcA the toolkit's own handling runs. Internal.
#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QWidget>

#include "platform/window_internal.h"

class QPainter;

// The paint in progress for a window: BeginPaint hands out a device context on this painter.
struct PaintTarget {
    HWND hwnd = nullptr;
    QPainter *painter = nullptr;
    QRect dirty;
    QSize size;
};
PaintTarget *paint_target_for(HWND hwnd);

// Sends a message for a toolkit event; true when the procedure handled it, false when it
// left it to default processing (or the window is gone).
bool route_message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Erases the dirty part with the class brush and sends WM_PAINT with a painter ready.
void route_paint(HWND hwnd, QWidget *surface, const QRect &dirty);
bool route_key(HWND hwnd, int qtKey, bool down);
bool route_mouse(HWND hwnd, UINT message, const QPoint &pos, Qt::MouseButtons buttons,
                 Qt::KeyboardModifiers mods);
void route_size(HWND hwnd, const QSize &size);

// The client area of child windows.
class ClientWidget : public QWidget {
public:
    explicit ClientWidget(HWND hwnd, QWidget *parent = nullptr);
    HWND hwnd = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};

// The client area of a top-level window: an area that hosts framed child windows over the
// class background.
class FrameClientArea : public QMdiArea {
public:
    explicit FrameClientArea(HWND hwnd, QWidget *parent = nullptr);
    HWND hwnd = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};

// A top-level window: caption, menu bar, client area. Closing asks the procedure (WM_CLOSE).
class TopLevelFrame : public QMainWindow {
public:
    explicit TopLevelFrame(HWND hwnd);
    HWND hwnd = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
};

// Watches a framed child's frame: its close box and system menu ask the procedure.
class FramedChildWatcher : public QObject {
public:
    explicit FramedChildWatcher(HWND window, QObject *parent) : QObject(parent), hwnd(window) {}
    HWND hwnd = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
