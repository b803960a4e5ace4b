#include "platform/testing_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <deque>

#include "platform/dialog_internal.h"
#include "platform/qt_convert.h"
#include "platform/window_internal.h"

namespace {

struct DialogScripts {
    std::deque<std::function<void(HWND)>> waiting;
    std::vector<std::string> opened;
};
DialogScripts scripts;

const char *kind_name(DialogControlKind kind)
{
    switch (kind) {
    case DialogControlKind::LeftText: return "LTEXT";
    case DialogControlKind::RightText: return "RTEXT";
    case DialogControlKind::CenterText: return "CTEXT";
    case DialogControlKind::Edit: return "EDITTEXT";
    case DialogControlKind::CheckBox: return "CHECKBOX";
    case DialogControlKind::RadioButton: return "RADIOBUTTON";
    case DialogControlKind::GroupBox: return "GROUPBOX";
    case DialogControlKind::PushButton: return "PUSHBUTTON";
    case DialogControlKind::DefPushButton: return "DEFPUSHBUTTON";
    case DialogControlKind::Icon: return "ICON";
    case DialogControlKind::Rule: return "HRULE";
    case DialogControlKind::ListBox: return "LISTBOX";
    }
    return "?";
}

std::string shown_text(const QWidget *w)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(w)) return edit->text().toStdString();
    QString text;
    if (auto *button = qobject_cast<const QAbstractButton *>(w))
        text = button->text();
    else if (auto *box = qobject_cast<const QGroupBox *>(w))
        text = box->title();
    else if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text().toStdString();
    // Mnemonic marks are not shown; "&&" shows as "&".
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out.toStdString();
}

QWidget *control_widget(HWND dialog, int id)
{
    ControlRecord *c = dialog_control(dialog, id);
    return c ? c->widget.data() : nullptr;
}

void send_key(HWND dialog, int qtKey, Qt::KeyboardModifiers mods)
{
    DialogRecord *d = dialog_record(dialog);
    if (!d || !d->widget) return;
    QWidget *target = d->widget->focusWidget();
    if (!target) target = d->widget;
    QKeyEvent press(QEvent::KeyPress, qtKey, mods);
    QApplication::sendEvent(target, &press);
    QCoreApplication::processEvents();
}

// Width a control needs to show its whole text.
int needed_width(const QWidget *w, const std::string &text)
{
    const QFontMetrics metrics(w->font());
    const int advance = metrics.horizontalAdvance(QString::fromStdString(text));
    const QStyle *style = w->style();
    if (qobject_cast<const QAbstractButton *>(w) && !qobject_cast<const QPushButton *>(w))
        return advance + style->pixelMetric(QStyle::PM_IndicatorWidth) +
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 2;
    if (qobject_cast<const QPushButton *>(w)) return advance + 8;
    if (qobject_cast<const QGroupBox *>(w)) return advance + 16;
    if (qobject_cast<const QLineEdit *>(w)) return advance + 8;
    if (auto *list = qobject_cast<const QListWidget *>(w)) {
        // The widest row beside the scroll bar.
        int widest = 0;
        for (int i = 0; i < list->count(); ++i)
            widest = std::max(widest, metrics.horizontalAdvance(list->item(i)->text()));
        return widest + 2 * list->frameWidth() + style->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    }
    return advance;
}

}  // namespace

void testing_dialogs_begin()
{
    scripts = DialogScripts{};
    dialog_set_driver([](HWND dialog, const char *name) {
        scripts.opened.push_back(name);
        if (scripts.waiting.empty()) return;
        auto script = std::move(scripts.waiting.front());
        scripts.waiting.pop_front();
        script(dialog);
    });
}

void testing_dialogs_end()
{
    dialog_set_driver(nullptr);
    dialog_set_end_listener(nullptr);
    scripts = DialogScripts{};
}

void testing_dialog_on_end(std::function<void(HWND)> watcher)
{
    dialog_set_end_listener(std::move(watcher));
}

void testing_dialog_script(std::function<void(HWND)> script)
{
    scripts.waiting.push_back(std::move(script));
}
const std::vector<std::string> &testing_dialogs_opened() { return scripts.opened; }
int testing_dialog_scripts_left() { return static_cast<int>(scripts.waiting.size()); }

std::vector<TestDialogControl> testing_dialog_controls(HWND dialog)
{
    std::vector<TestDialogControl> out;
    HWND__ *d = window_live(dialog);
    if (!d || !dialog_record(dialog)) return out;
    for (HWND child : d->children) {
        ControlRecord *c = dialog_control_of(child);
        if (!c || !c->widget) continue;
        TestDialogControl t{child->id, kind_name(c->kind), shown_text(c->widget), false,
                            toRECT(c->widget->geometry())};
        if (auto *button = qobject_cast<QAbstractButton *>(c->widget.data()))
            t.checked = button->isChecked();
        out.push_back(t);
    }
    return out;
}

std::string testing_dialog_text(HWND dialog, int id)
{
    QWidget *w = control_widget(dialog, id);
    return w ? shown_text(w) : std::string();
}

bool testing_dialog_checked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool testing_dialog_type(HWND dialog, int id, const std::string &text)
{
    auto *edit = qobject_cast<QLineEdit *>(control_widget(dialog, id));
    if (!edit || !edit->isEnabled()) return false;
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    edit->insert(toQString(text.c_str()));
    return true;
}

bool testing_dialog_click(HWND dialog, int id)
{
    auto *button = qobject_cast<QAbstractButton *>(control_widget(dialog, id));
    if (!button || !button->isEnabled()) return false;
    button->setFocus(Qt::MouseFocusReason);
    button->click();
    QCoreApplication::processEvents();
    return true;
}

void testing_dialog_key(HWND dialog, int virtualKey)
{
    if (virtualKey == VK_RETURN) send_key(dialog, Qt::Key_Return, Qt::NoModifier);
    if (virtualKey == VK_ESCAPE) send_key(dialog, Qt::Key_Escape, Qt::NoModifier);
}

void testing_dialog_tab(HWND dialog, bool backwards)
{
    if (backwards)
        send_key(dialog, Qt::Key_Backtab, Qt::ShiftModifier);
    else
        send_key(dialog, Qt::Key_Tab, Qt::NoModifier);
}

int testing_dialog_focus(HWND dialog)
{
    DialogRecord *d = dialog_record(dialog);
    if (!d || !d->widget || !d->widget->focusWidget()) return 0;
    HWND w = window_from_widget(d->widget->focusWidget());
    return w && w != dialog ? GetDlgCtrlID(w) : 0;
}

bool testing_dialog_open(HWND dialog)
{
    DialogRecord *d = dialog_record(dialog);
    return d && !d->ended;
}

std::vector<std::string> testing_dialog_layout_problems(HWND dialog)
{
    std::vector<std::string> problems;
    DialogRecord *d = dialog_record(dialog);
    if (!d || !d->widget) return {"not a dialog"};
    const QRect client = d->widget->rect();
    struct Placed {
        std::string name;
        QRect rect;
        DialogControlKind kind;
    };
    std::vector<Placed> placed;
    for (HWND child : window_live(dialog)->children) {
        ControlRecord *c = dialog_control_of(child);
        if (!c || !c->widget) continue;
        const QWidget *w = c->widget;
        const std::string text = shown_text(w);
        const std::string name =
            std::string(kind_name(c->kind)) + " " + std::to_string(child->id) + " \"" + text + "\"";
        if (!client.contains(w->geometry()))
            problems.push_back(name + " reaches outside the dialog");
        if (c->kind != DialogControlKind::Edit && c->kind != DialogControlKind::Icon &&
            c->kind != DialogControlKind::Rule && needed_width(w, text) > w->width())
            problems.push_back(name + " is cut off: needs " +
                               std::to_string(needed_width(w, text)) + " pixels, has " +
                               std::to_string(w->width()));
        if (c->kind == DialogControlKind::Edit && needed_width(w, text) > w->width())
            problems.push_back(name + " does not show its whole value");
        const int lineHeight = QFontMetrics(w->font()).height();
        if (c->kind != DialogControlKind::Rule && c->kind != DialogControlKind::GroupBox &&
            w->height() < lineHeight)
            problems.push_back(name + " is lower than a line of text");
        placed.push_back({name, w->geometry(), c->kind});
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (placed[i].kind == DialogControlKind::RadioButton) {
            bool inside = false;
            for (const Placed &p : placed)
                if (p.kind == DialogControlKind::GroupBox && p.rect.contains(placed[i].rect))
                    inside = true;
            if (!inside) problems.push_back(placed[i].name + " is outside every group box");
        }
        if (placed[i].kind == DialogControlKind::GroupBox) continue;
        for (std::size_t j = i + 1; j < placed.size(); ++j) {
            if (placed[j].kind == DialogControlKind::GroupBox) continue;
            if (placed[i].rect.intersects(placed[j].rect))
                problems.push_back(placed[i].name + " overlaps " + placed[j].name);
        }
    }
    return problems;
}

RECT testing_dialog_screen_rect(HWND dialog)
{
    DialogRecord *d = dialog_record(dialog);
    if (!d || !d->widget) return RECT{};
    return toRECT(QRect(d->widget->mapToGlobal(QPoint(0, 0)), d->widget->size()));
}

bool testing_dialog_has_title_bar(HWND dialog)
{
    DialogRecord *d = dialog_record(dialog);
    return d && d->widget && !(d->widget->windowFlags() & Qt::FramelessWindowHint);
}

bool testing_dialog_grab(HWND dialog, const char *png_path)
{
    DialogRecord *d = dialog_record(dialog);
    if (!d || !d->widget || !png_path) return false;
    QCoreApplication::processEvents();
    return d->widget->grab().save(QString::fromLocal8Bit(png_path), "PNG");
}
