// GetAsyncKeyState: the state of every key is followed through an application-wide event
// filter that sees the key presses and releases on their way to any window. The query only
// reads that record; it never lets the toolkit deliver events, so a long drawing that polls
// it is never interrupted by a paint or a resize. A key pressed before the drawing began and
// still held is therefore seen; a key pressed during it waits in the queue like any input.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>

#include <array>

#include "platform/gdi_qt.h"
#include "platform/keys_internal.h"
#include "platform/qt_convert.h"

namespace {

struct KeyState {
    bool down = false;
    bool pressedSinceQuery = false;
};
std::array<KeyState, 256> keys;

void forget_all_keys() { keys.fill(KeyState{}); }

class KeyTracker : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
            const auto *key = static_cast<const QKeyEvent *>(event);
            if (!key->isAutoRepeat())
                if (const int vk = toVirtualKey(key->key()))
                    keys_record(vk, type == QEvent::KeyPress);
        } else if (type == QEvent::ApplicationStateChange &&
                   static_cast<const QApplicationStateChangeEvent *>(event)->applicationState() !=
                       Qt::ApplicationActive) {
            // Releases made while another program has the keyboard never reach this one; a key
            // held when the focus left must not stay down for ever.
            forget_all_keys();
        }
        return false;  // the key still goes to its window
    }
};

QPointer<QCoreApplication> tracked;  // null again once that application is gone

}  // namespace

void keys_record(int vKey, bool down)
{
    if (vKey < 0 || vKey >= static_cast<int>(keys.size())) return;
    KeyState &s = keys[static_cast<std::size_t>(vKey)];
    s.down = down;
    if (down) s.pressedSinceQuery = true;
}

void keys_track_application()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || app == tracked) return;
    static KeyTracker *tracker = new KeyTracker;
    app->installEventFilter(tracker);  // a new application object since: follow it instead
    tracked = app;
}

SHORT GetAsyncKeyState(int vKey)
{
    // An application made without the platform's start-up is followed from the first query.
    if (QCoreApplication::instance() != tracked) keys_track_application();
    if (vKey < 0 || vKey >= static_cast<int>(keys.size())) return 0;
    KeyState &s = keys[static_cast<std::size_t>(vKey)];
    const SHORT result = static_cast<SHORT>((s.down ? 0x8000 : 0) | (s.pressedSinceQuery ? 1 : 0));
    s.pressedSinceQuery = false;
    return result;
}
