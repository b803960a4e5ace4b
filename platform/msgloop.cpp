// Posted messages wait in a queue of their own; GetMessageA lets the toolkit run (paints,
// input, menu choices) until the queue has something.
#include "platform/msgloop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QCursor>
#include <QDateTime>
#include <deque>

#include "platform/msgloop_internal.h"
#include "platform/qt_convert.h"
#include "platform/window_internal.h"

namespace {

std::deque<MSG> queue;
std::function<void()> idle_hook;

void wake()
{
    if (auto *dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

MSG make_message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{hwnd,  message, wParam, lParam, static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch()),
            {0, 0}};
    msg.pt = toPOINT(QCursor::pos());
    return msg;
}

bool take(MSG *msg, bool remove)
{
    if (queue.empty()) return false;
    if (msg) *msg = queue.front();
    if (remove) queue.pop_front();
    return true;
}

}  // namespace

void message_loop_set_idle_hook(std::function<void()> hook) { idle_hook = std::move(hook); }

void message_loop_reset()
{
    queue.clear();
    idle_hook = nullptr;
}

BOOL GetMessageA(MSG *msg, HWND, UINT, UINT)
{
    for (;;) {
        MSG next{};
        if (take(&next, true)) {
            if (msg) *msg = next;
            return next.message == WM_QUIT ? FALSE : TRUE;
        }
        if (!QCoreApplication::instance()) {
            // No toolkit: nothing can ever arrive.
            if (msg) *msg = make_message(nullptr, WM_QUIT, 0, 0);
            return FALSE;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (!queue.empty()) continue;
        if (idle_hook) {
            // The program is idle at its loop for the first time: the hook drives it.
            auto hook = std::move(idle_hook);
            idle_hook = nullptr;
            hook();
            continue;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

BOOL PeekMessageA(MSG *msg, HWND, UINT, UINT, UINT remove)
{
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    return take(msg, (remove & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG *) { return FALSE; }

LRESULT DispatchMessageA(const MSG *msg)
{
    if (!msg || !window_live(msg->hwnd)) return 0;
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && !window_live(hwnd)) return FALSE;
    queue.push_back(make_message(hwnd, message, wParam, lParam));
    wake();
    return TRUE;
}

void PostQuitMessage(int code)
{
    queue.push_back(make_message(nullptr, WM_QUIT, static_cast<WPARAM>(code), 0));
    wake();
}
