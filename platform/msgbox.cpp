#include "platform/msgbox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>

#include "platform/msgbox_internal.h"
#include "platform/qt_convert.h"
#include "platform/window_internal.h"

namespace {

std::function<int(HWND, LPCSTR, LPCSTR, UINT)> interceptor;
std::function<void(UINT)> beep_listener;
void (*box_sink)(LPCSTR, LPCSTR) = nullptr;

QMessageBox::Icon icon_for(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

}  // namespace

void msgbox_set_interceptor(std::function<int(HWND, LPCSTR, LPCSTR, UINT)> f)
{
    interceptor = std::move(f);
}
void SetMessageBoxSink(void (*sink)(LPCSTR, LPCSTR)) { box_sink = sink; }
void msgbox_set_beep_listener(std::function<void(UINT)> f) { beep_listener = std::move(f); }

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    if (!caption) caption = "Error";
    if (!text) text = "";
    if (interceptor) return interceptor(owner, text, caption, type);
    if (box_sink) {
        box_sink(caption, text);
        return IDOK;
    }
    if (!qApp) return IDOK;

    QMessageBox box(icon_for(type), toQString(caption), toQString(text), QMessageBox::NoButton,
                    window_top_widget(owner));
    // The text is shown as written: a file name that looks like markup is not formatted.
    box.setTextFormat(Qt::PlainText);
    // Ctrl+C copies the box's whole text, as the system's message boxes do.
    auto *copy = new QAction(&box);
    copy->setShortcuts(QKeySequence::Copy);
    QObject::connect(copy, &QAction::triggered, &box, [&box] {
        if (QClipboard *clipboard = QGuiApplication::clipboard()) clipboard->setText(box.text());
    });
    box.addAction(copy);
    struct Choice {
        QMessageBox::StandardButton button;
        int id;
    };
    std::vector<Choice> choices;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
    case MB_YESNO: choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
    case MB_YESNOCANCEL:
        choices = {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    default: choices = {{QMessageBox::Ok, IDOK}}; break;
    }
    for (const Choice &c : choices) box.addButton(c.button);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    window_return_focus(owner);
    for (const Choice &c : choices)
        if (c.button == pressed) return c.id;
    // Closed with Escape or the close box: Cancel where there is one, otherwise OK or No.
    for (const Choice &c : choices)
        if (c.id == IDCANCEL) return IDCANCEL;
    return choices.size() == 2 && choices[1].id == IDNO ? static_cast<int>(IDNO)
                                                        : static_cast<int>(IDOK);
}

BOOL MessageBeep(UINT type)
{
    if (beep_listener) {
        beep_listener(type);
        return TRUE;
    }
    if (qApp) QApplication::beep();
    return TRUE;
}
