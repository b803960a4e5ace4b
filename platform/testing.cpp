#include "platform/testing.h"

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QStatusBar>
#include <deque>

#include "platform/cursor_internal.h"
#include "platform/keys_internal.h"
#include "platform/menu_internal.h"
#include "platform/msgbox_internal.h"
#include "platform/msgloop_internal.h"
#include "platform/window_internal.h"

namespace {

struct Records {
    std::deque<int> answers;
    std::vector<TestMessageBox> boxes;
    std::vector<std::string> cursors;
    int beeps = 0;
    std::deque<UINT> popupChoices;
    std::vector<std::vector<std::string>> popups;
};
Records records;

void outline(HMENU menu, const std::string &prefix, std::vector<std::string> &out)
{
    for (const MenuItem &item : menu->items) {
        if (item.separator)
            out.push_back(prefix + "-");
        else if (item.popup)
            outline(item.popup, prefix + item.text + "/", out);
        else
            out.push_back(prefix + item.text + "=" + std::to_string(item.id));
    }
}

}  // namespace

void testing_begin(std::vector<int> answers)
{
    records = Records{};
    records.answers.assign(answers.begin(), answers.end());
    msgbox_set_interceptor([](HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
        records.boxes.push_back({owner, text, caption, type});
        if (records.answers.empty()) return static_cast<int>(IDOK);
        const int answer = records.answers.front();
        records.answers.pop_front();
        return answer;
    });
    msgbox_set_beep_listener([](UINT) { ++records.beeps; });
    cursor_set_listener([](HCURSOR c) { records.cursors.push_back(cursor_name(c)); });
}

void testing_end()
{
    msgbox_set_interceptor(nullptr);
    msgbox_set_beep_listener(nullptr);
    cursor_set_listener(nullptr);
    menu_set_popup_interceptor(nullptr);
    records = Records{};
}

void testing_answer_popup_menus(std::vector<UINT> choices)
{
    records.popupChoices.assign(choices.begin(), choices.end());
    menu_set_popup_interceptor([](const std::vector<std::string> &texts) {
        records.popups.push_back(texts);
        if (records.popupChoices.empty()) return UINT(0);
        const UINT id = records.popupChoices.front();
        records.popupChoices.pop_front();
        return id;
    });
}

const std::vector<std::vector<std::string>> &testing_popup_menus() { return records.popups; }

const std::vector<TestMessageBox> &testing_message_boxes() { return records.boxes; }
int testing_beep_count() { return records.beeps; }
const std::vector<std::string> &testing_cursors() { return records.cursors; }

void testing_clear_records()
{
    records.boxes.clear();
    records.cursors.clear();
    records.beeps = 0;
}

bool testing_choose_menu_item(HWND window, UINT id)
{
    HWND__ *w = window_live(window);
    if (!w || !w->menu) return false;
    const MenuItem *item = menu_find_by_command(w->menu, id);
    if (!item || item->grayed) return false;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return true;
}

void testing_send_command(HWND window, UINT id)
{
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

TestMenuItem testing_menu_item(HWND window, UINT id)
{
    TestMenuItem result;
    HWND__ *w = window_live(window);
    if (!w || !w->menu) return result;
    if (const MenuItem *item = menu_find_by_command(w->menu, id)) {
        result.found = true;
        result.text = item->text;
        result.grayed = item->grayed;
    }
    return result;
}

std::vector<std::string> testing_menu_outline(HWND window)
{
    std::vector<std::string> out;
    HWND__ *w = window_live(window);
    if (w && w->menu) outline(w->menu, "", out);
    return out;
}

std::vector<TestWindow> testing_child_windows(HWND parent)
{
    std::vector<TestWindow> out;
    HWND__ *p = window_live(parent);
    if (!p) return out;
    for (HWND child : p->children) {
        if (qobject_cast<QStatusBar *>(child->frame.data())) continue;  // not a view
        TestWindow t{child, child->title, RECT{}, child->style};
        if (child->frame) {
            const QRect g = child->frame->geometry();
            t.rect = RECT{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
        }
        out.push_back(t);
    }
    return out;
}

void testing_process_events()
{
    if (!QCoreApplication::instance()) return;
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

void testing_run_when_idle(std::function<void()> body)
{
    message_loop_set_idle_hook([body = std::move(body)] {
        body();
        for (HWND w : testing_top_level_windows()) SendMessageA(w, WM_CLOSE, 0, 0);
    });
}

bool testing_resize_client(HWND window, int width, int height)
{
    HWND__ *w = window_live(window);
    if (!w || !w->frame || !w->frame->isWindow()) return false;
    w->frame->showNormal();
    testing_process_events();
    RECT client{};
    GetClientRect(window, &client);
    const int dw = w->frame->width() - client.right;
    const int dh = w->frame->height() - client.bottom;
    w->frame->resize(width + dw, height + dh);
    testing_process_events();
    GetClientRect(window, &client);
    return client.right == width && client.bottom == height;
}

bool testing_grab_window(HWND window, const char *png_path)
{
    HWND__ *w = window_live(window);
    if (!w || !w->frame || !png_path) return false;
    testing_process_events();
    return w->frame->grab().save(QString::fromLocal8Bit(png_path), "PNG");
}

std::vector<HWND> testing_top_level_windows()
{
    std::vector<HWND> out;
    for (HWND w : window_all())
        if (!w->parent) out.push_back(w);
    return out;
}

void testing_set_key(int vKey, bool down) { keys_record(vKey, down); }
