// The status window on a QStatusBar of the top-level frame: a plain label without a size grip,
// so that the line stays quiet, and the text kept in the window record as its title.
#include "platform/statusbar.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <cstring>

#include "platform/qt_convert.h"
#include "platform/window_internal.h"

namespace {

LRESULT CALLBACK status_proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND__ *w = window_live(hwnd);
    switch (message) {
    case SB_SETTEXTA: {
        const char *text = reinterpret_cast<LPCSTR>(lParam);
        w->title = text ? text : "";
        if (auto *bar = qobject_cast<QStatusBar *>(w->frame.data()))
            if (auto *label = bar->findChild<QLabel *>()) label->setText(toQString(text));
        return TRUE;
    }
    case SB_GETTEXTA:
        if (lParam)
            std::memcpy(reinterpret_cast<char *>(lParam), w->title.c_str(), w->title.size() + 1);
        return static_cast<LRESULT>(w->title.size());
    case SB_GETTEXTLENGTHA: return static_cast<LRESULT>(w->title.size());
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

HWND CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id)
{
    HWND__ *p = window_live(parent);
    auto *frame = p ? qobject_cast<QMainWindow *>(p->frame.data()) : nullptr;
    if (!frame || frame->findChild<QStatusBar *>(QString(), Qt::FindDirectChildrenOnly))
        return nullptr;
    auto *bar = new QStatusBar(frame);
    bar->setSizeGripEnabled(false);
    auto *label = new QLabel(bar);
    bar->addWidget(label, 1);
    frame->setStatusBar(bar);
    HWND status = window_attach(bar, nullptr, status_proc, parent, static_cast<DWORD>(style),
                                static_cast<int>(id), "");
    SendMessageA(status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return status;
}
