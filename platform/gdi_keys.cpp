// GetAsyncKeyState: the key state is followed through an application-wide event filter,
// installed the first time a key is asked about. A long drawing does not return to the event
// loop, so the query also looks at the queued input (at most every 50 ms); events other than
// key presses and releases that arrive during that look are put back on the queue untouched,
// so no window is painted or resized in the middle of a drawing.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPointer>

#include <unordered_map>
#include <vector>

#include "platform/gdi_qt.h"
#include "platform/qt_convert.h"

namespace {

class KeyTracker : public QObject {
public:
    struct State {
        bool down = false;
        bool pressedSinceQuery = false;
    };
    std::unordered_map<int, State> keys;
    bool polling = false;
    std::vector<std::pair<QPointer<QObject>, QEvent *>> deferred;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
            const auto *key = static_cast<const QKeyEvent *>(event);
            if (!key->isAutoRepeat()) {
                if (const int vk = toVirtualKey(key->key())) {
                    State &s = keys[vk];
                    s.down = type == QEvent::KeyPress;
                    if (s.down) s.pressedSinceQuery = true;
                }
            }
            return polling;  // a key read while polling is consumed by the poll
        }
        if (polling && watched && type != QEvent::DeferredDelete && type != QEvent::MetaCall) {
            deferred.emplace_back(watched, event->clone());
            return true;
        }
        return false;
    }

    void poll()
    {
        polling = true;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        polling = false;
        for (auto &[receiver, event] : deferred) {
            if (receiver)
                QCoreApplication::postEvent(receiver, event);
            else
                delete event;
        }
        deferred.clear();
    }
};

KeyTracker *tracker()
{
    static KeyTracker *instance = nullptr;
    static QCoreApplication *watched = nullptr;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app) return nullptr;
    if (!instance) instance = new KeyTracker;
    if (watched != app) {  // first use, or a new application object since
        app->installEventFilter(instance);
        watched = app;
        instance->keys.clear();
    }
    return instance;
}

}  // namespace

SHORT GetAsyncKeyState(int vKey)
{
    KeyTracker *keys = tracker();
    if (!keys) return 0;
    static QElapsedTimer sinceLastPoll;
    if (!keys->polling && (!sinceLastPoll.isValid() || sinceLastPoll.elapsed() >= 50)) {
        keys->poll();
        sinceLastPoll.restart();
    }
    KeyTracker::State &s = keys->keys[vKey];
    const SHORT result = static_cast<SHORT>((s.down ? 0x8000 : 0) | (s.pressedSinceQuery ? 1 : 0));
    s.pressedSinceQuery = false;
    return result;
}
