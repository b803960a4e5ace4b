// Standard scroll bars on QScrollBar. The program's position is the truth: whatever the
// slider did on its own is put back after each message.
#include "platform/scrollbar.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/scrollbar_internal.h"

namespace {

bool valid_bar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

int request_for(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return -1;
    }
}

void send_scroll(HWND hwnd, int bar, int request, int position)
{
    const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    SendMessageA(hwnd, message, MAKEWPARAM(request, position), 0);
}

void show_state(HWND__ *w, int bar)
{
    QScrollBar *qbar = w->bars[bar];
    if (!qbar) return;
    const ScrollBarState &s = w->scroll[bar];
    const QSignalBlocker block(qbar);
    qbar->setRange(s.min, s.max);
    qbar->setValue(s.pos);
    qbar->setSliderPosition(s.pos);
    qbar->setVisible(s.max > s.min);
}

// The wheel over a window's client area turns its scroll bars, as it does over the bars
// themselves: vertical turns the vertical bar, sideways the horizontal one.
class WheelToBars : public QObject {
public:
    WheelToBars(HWND window, QObject *parent) : QObject(parent), hwnd(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
        HWND__ *w = window_live(hwnd);
        if (!w) return false;
        const auto *wheel = static_cast<QWheelEvent *>(event);
        QScrollBar *bar = wheel->angleDelta().y() != 0 ? w->bars[SB_VERT] : w->bars[SB_HORZ];
        if (!bar) return false;
        QCoreApplication::sendEvent(bar, event);
        return true;
    }

private:
    HWND hwnd;
};

}  // namespace

QScrollBar *scrollbar_create(HWND hwnd, int bar, QWidget *parent)
{
    auto *qbar = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, parent);
    qbar->setFocusPolicy(Qt::NoFocus);
    qbar->setPageStep(10);
    hwnd->bars[bar] = qbar;
    show_state(hwnd, bar);
    if (hwnd->client &&
        !hwnd->client->findChild<WheelToBars *>(QString(), Qt::FindDirectChildrenOnly))
        hwnd->client->installEventFilter(new WheelToBars(hwnd, hwnd->client));
    QObject::connect(qbar, &QAbstractSlider::actionTriggered, qbar, [hwnd, bar, qbar](int action) {
        HWND__ *w = window_live(hwnd);
        int request = request_for(action);
        if (!w || w->bars[bar] != qbar || request < 0) return;
        // A slider moved without being held (the wheel, "Scroll here") has arrived where it
        // goes: it is a finished thumb move, not a drag in progress.
        if (request == SB_THUMBTRACK && !qbar->isSliderDown()) request = SB_THUMBPOSITION;
        const int dragged = qbar->sliderPosition();
        // Only the dragged thumb follows the mouse; every other action waits for the program.
        if (request != SB_THUMBTRACK) qbar->setSliderPosition(w->scroll[bar].pos);
        send_scroll(hwnd, bar, request, dragged);
        if (window_live(hwnd) && request != SB_THUMBTRACK)
            qbar->setSliderPosition(w->scroll[bar].pos);
    });
    QObject::connect(qbar, &QAbstractSlider::sliderReleased, qbar, [hwnd, bar, qbar] {
        HWND__ *w = window_live(hwnd);
        if (!w || w->bars[bar] != qbar) return;
        send_scroll(hwnd, bar, SB_THUMBPOSITION, qbar->sliderPosition());
        if (!window_live(hwnd)) return;
        send_scroll(hwnd, bar, SB_ENDSCROLL, 0);
        if (window_live(hwnd)) show_state(w, bar);
    });
    // The bar's own menu ("Scroll here") sets the value directly, without an action: that too
    // is a finished thumb move, which the program may follow or not.
    QObject::connect(qbar, &QAbstractSlider::valueChanged, qbar, [hwnd, bar, qbar](int value) {
        HWND__ *w = window_live(hwnd);
        if (!w || w->bars[bar] != qbar || qbar->isSliderDown() || value == w->scroll[bar].pos)
            return;
        send_scroll(hwnd, bar, SB_THUMBPOSITION, value);
        if (window_live(hwnd)) show_state(w, bar);
    });
    return qbar;
}

void scrollbar_detach(HWND hwnd)
{
    for (auto &bar : hwnd->bars)
        if (bar) QObject::disconnect(bar, nullptr, nullptr, nullptr);
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !valid_bar(bar) || minPos > maxPos) return FALSE;
    ScrollBarState &s = w->scroll[bar];
    s.min = minPos;
    s.max = maxPos;
    s.pos = std::clamp(s.pos, minPos, maxPos);
    show_state(w, bar);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int *minPos, int *maxPos)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !valid_bar(bar)) return FALSE;
    if (minPos) *minPos = w->scroll[bar].min;
    if (maxPos) *maxPos = w->scroll[bar].max;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !valid_bar(bar)) return 0;
    ScrollBarState &s = w->scroll[bar];
    const int previous = s.pos;
    s.pos = std::clamp(pos, s.min, s.max);
    show_state(w, bar);
    return previous;
}

int GetScrollPos(HWND hwnd, int bar)
{
    HWND__ *w = window_live(hwnd);
    return w && valid_bar(bar) ? w->scroll[bar].pos : 0;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    HWND__ *w = window_live(hwnd);
    if (!w) return FALSE;
    for (int b : {SB_HORZ, SB_VERT})
        if ((bar == b || bar == 3) && w->bars[b]) w->bars[b]->setVisible(show != FALSE);
    return TRUE;
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT *, const RECT *)
{
    HWND__ *w = window_live(hwnd);
    if (!w || !w->client) return FALSE;
    w->client->scroll(dx, dy);
    return TRUE;
}
