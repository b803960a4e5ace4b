// Modal dialogs built from the DIALOG statements of the resource scripts. The dialog and each
// control get a window record, so that the program addresses them by handle and id; the
// dialog's procedure receives WM_INITDIALOG once the controls exist, and WM_COMMAND for every
// button click, Enter (the default button, or the focused push button) and Escape (Cancel).
#include "platform/dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <map>

#include "platform/dialog_internal.h"
#include "platform/qt_convert.h"
#include "platform/resources_internal.h"
#include "platform/window_internal.h"

namespace {

std::function<void(HWND, const char *)> driver;
std::function<void(HWND)> end_listener;

// The dialog window's own procedure: the program's dialog procedure first; what it leaves
// is handled as a dialog does by default (closing the box is Cancel).
LRESULT CALLBACK dialog_window_proc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogRecord *d = dialog_record(hDlg);
    if (!d) return 0;
    if (d->proc && d->proc(hDlg, message, wParam, lParam)) return TRUE;
    if (message == WM_CLOSE) SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    return 0;
}

// Dialog units to pixels with the dialog font: x by a quarter of the average character
// width, y by an eighth of the character height.
struct DialogUnits {
    double cx = 8, cy = 16;
    explicit DialogUnits(const QFont &font)
    {
        const QFontMetrics metrics(font);
        const QString alphabet =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        cx = metrics.horizontalAdvance(alphabet) / 52.0;
        cy = metrics.height();
    }
    int x(int du) const { return static_cast<int>(du * cx / 4.0 + 0.5); }
    int y(int du) const { return static_cast<int>(du * cy / 8.0 + 0.5); }
    QRect rect(const DialogControlTemplate &c) const
    {
        return QRect(x(c.x), y(c.y), x(c.x + c.width) - x(c.x), y(c.y + c.height) - y(c.y));
    }
};

class DialogWidget : public QDialog {
public:
    DialogWidget(QWidget *owner, bool titleBar)
        : QDialog(owner, titleBar ? Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                  : Qt::Dialog | Qt::FramelessWindowHint),
          bordered(!titleBar)
    {
    }
    HWND hwnd = nullptr;

    // Escape and the close box ask the procedure for Cancel; only EndDialog closes the box.
    void reject() override
    {
        if (hwnd) SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        DialogRecord *d = dialog_record(hwnd);
        if (d && !d->ended) {
            event->ignore();
            SendMessageA(hwnd, WM_CLOSE, 0, 0);
            return;
        }
        event->accept();
    }
    void paintEvent(QPaintEvent *event) override
    {
        QDialog::paintEvent(event);
        if (!bordered) return;
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    bool bordered;
};

// A one-pixel line in the text colour across the middle of its rectangle.
class RuleWidget : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const int y = height() / 2;
        painter.drawLine(0, y, width() - 1, y);
    }
};

// Statics show "&&" as one ampersand and a single "&" not at all (it only marks a mnemonic).
QString static_text(const std::string &text)
{
    QString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += QLatin1Char(text[i]);
    }
    return out;
}

QWidget *make_control(const DialogControlTemplate &c, HWND dialog, QWidget *parent)
{
    const QString text = toQString(c.text.c_str());
    switch (c.kind) {
    case DialogControlKind::LeftText:
    case DialogControlKind::RightText:
    case DialogControlKind::CenterText: {
        auto *label = new QLabel(static_text(c.text), parent);
        Qt::Alignment align = Qt::AlignVCenter;
        if (c.kind == DialogControlKind::LeftText) align |= Qt::AlignLeft;
        if (c.kind == DialogControlKind::RightText) align |= Qt::AlignRight;
        if (c.kind == DialogControlKind::CenterText) align |= Qt::AlignHCenter;
        label->setAlignment(align);
        return label;
    }
    case DialogControlKind::Edit: return new QLineEdit(text, parent);
    case DialogControlKind::CheckBox:
    case DialogControlKind::RadioButton: {
        QAbstractButton *button =
            c.kind == DialogControlKind::CheckBox
                ? static_cast<QAbstractButton *>(new QCheckBox(text, parent))
                : static_cast<QAbstractButton *>(new QRadioButton(text, parent));
        // The click is handled as the dialog's own: see dialog_click.
        button->setAutoExclusive(false);
        const int id = c.id;
        QObject::connect(button, &QAbstractButton::clicked, button, [dialog, id, button](bool) {
            // The toolkit has already toggled the button; undo that and click it our way.
            button->setChecked(!button->isChecked());
            dialog_click(dialog, id);
        });
        return button;
    }
    case DialogControlKind::GroupBox: {
        auto *box = new QGroupBox(text, parent);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        return box;
    }
    case DialogControlKind::PushButton:
    case DialogControlKind::DefPushButton: {
        auto *button = new QPushButton(text, parent);
        button->setAutoDefault(true);
        if (c.kind == DialogControlKind::DefPushButton) button->setDefault(true);
        const int id = c.id;
        QObject::connect(button, &QPushButton::clicked, button,
                         [dialog, id](bool) { dialog_click(dialog, id); });
        return button;
    }
    case DialogControlKind::Icon: {
        // The picture is made once the control's size is known (build_dialog).
        auto *label = new QLabel(parent);
        label->setAlignment(Qt::AlignCenter);
        return label;
    }
    case DialogControlKind::Rule: return new RuleWidget(parent);
    case DialogControlKind::ListBox: {
        auto *list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return list;
    }
    }
    return new QWidget(parent);
}

DWORD style_of(const DialogControlTemplate &c)
{
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (c.group) style |= 0x00020000L;                          // WS_GROUP
    if (dialog_kind_takes_focus(c.kind)) style |= 0x00010000L;  // WS_TABSTOP
    return style;
}

// Builds the dialog window and its controls, each with its window record.
HWND build_dialog(const DialogTemplate &t, HWND owner, DLGPROC proc)
{
    auto *widget = new DialogWidget(window_top_widget(owner), t.titleBar);
    widget->setWindowTitle(toQWindowTitle(t.caption.c_str()));
    widget->setModal(true);
    const DialogUnits units(widget->font());
    widget->setFixedSize(units.x(t.width), units.y(t.height));

    auto *record = new DialogRecord;
    record->source = &t;
    record->proc = proc;
    record->widget = widget;
    HWND dialog =
        window_attach(widget, widget, dialog_window_proc, nullptr,
                      WS_POPUP | (t.titleBar ? WS_CAPTION : WS_BORDER), 0, t.caption.c_str());
    dialog->extension = record;
    dialog->onDestroy = [](HWND w) { delete static_cast<DialogRecord *>(w->extension); };
    widget->hwnd = dialog;

    int group = 0;
    QWidget *previousFocus = nullptr;
    for (const DialogControlTemplate &c : t.controls) {
        if (c.group) ++group;
        QWidget *control = make_control(c, dialog, widget);
        control->setGeometry(units.rect(c));
        if (c.kind == DialogControlKind::Icon) {
            const int side = std::min(control->width(), control->height());
            static_cast<QLabel *>(control)->setPixmap(
                resource_icon(c.text.c_str()).pixmap(side, side));
        }
        if (c.kind == DialogControlKind::GroupBox || c.kind == DialogControlKind::Rule)
            control->lower();
        if (dialog_kind_takes_focus(c.kind)) {
            control->setFocusPolicy(Qt::StrongFocus);
            if (previousFocus) QWidget::setTabOrder(previousFocus, control);
            previousFocus = control;
        } else {
            control->setFocusPolicy(Qt::NoFocus);
        }
        auto *info = new ControlRecord;
        info->kind = c.kind;
        info->group = group;
        info->widget = control;
        HWND h = window_attach(control, control, dialog_control_proc, dialog, style_of(c), c.id,
                               c.text.c_str());
        h->extension = info;
        h->onDestroy = [](HWND w) { delete static_cast<ControlRecord *>(w->extension); };
    }
    return dialog;
}

// The first control that takes the focus, in tab order.
HWND first_tab_stop(HWND dialog)
{
    HWND__ *d = window_live(dialog);
    if (!d) return nullptr;
    for (HWND child : d->children)
        if (ControlRecord *c = static_cast<ControlRecord *>(child->extension);
            c && dialog_kind_takes_focus(c->kind))
            return child;
    return nullptr;
}

void focus_control(HWND control)
{
    HWND__ *c = window_live(control);
    if (c && c->frame) c->frame->setFocus(Qt::TabFocusReason);
}

}  // namespace

// --- records -----------------------------------------------------------------------------------

DialogRecord *dialog_record(HWND dialog)
{
    HWND__ *w = window_live(dialog);
    if (!w || w->proc != dialog_window_proc) return nullptr;
    return static_cast<DialogRecord *>(w->extension);
}

HWND dialog_of_control(HWND control)
{
    HWND__ *w = window_live(control);
    if (!w || !dialog_record(w->parent)) return nullptr;
    return w->parent;
}

ControlRecord *dialog_control_of(HWND control)
{
    if (!dialog_of_control(control)) return nullptr;
    return static_cast<ControlRecord *>(control->extension);
}

ControlRecord *dialog_control(HWND dialog, int id)
{
    if (!dialog_record(dialog)) return nullptr;
    return dialog_control_of(GetDlgItem(dialog, id));
}

void dialog_set_driver(std::function<void(HWND, const char *)> d) { driver = std::move(d); }
void dialog_set_end_listener(std::function<void(HWND)> listener)
{
    end_listener = std::move(listener);
}

bool dialog_click(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    ControlRecord *c = dialog_control_of(control);
    if (!c || !c->widget || !c->widget->isEnabled()) return false;
    switch (c->kind) {
    case DialogControlKind::CheckBox:
        CheckDlgButton(dialog, id, IsDlgButtonChecked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
        break;
    case DialogControlKind::RadioButton:
        // An automatic radio button: it checks itself and clears every other radio button of
        // its control group, whichever group box it sits in.
        for (HWND other : window_live(dialog)->children) {
            ControlRecord *o = static_cast<ControlRecord *>(other->extension);
            if (o && o->kind == DialogControlKind::RadioButton && o->group == c->group)
                CheckDlgButton(dialog, other->id, other == control ? BST_CHECKED : BST_UNCHECKED);
        }
        break;
    case DialogControlKind::PushButton:
    case DialogControlKind::DefPushButton: break;
    default: return false;
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(control));
    return true;
}

// --- the calls ---------------------------------------------------------------------------------

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param)
{
    if (!proc || !qApp) return -1;
    const DialogTemplate *t = dialog_template_find(name);
    if (!t) return -1;
    HWND dialog = build_dialog(*t, owner, proc);
    QPointer<QDialog> widget = dialog_record(dialog)->widget;

    HWND focus = first_tab_stop(dialog);
    if (SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param) && focus)
        focus_control(focus);

    DialogRecord *d = dialog_record(dialog);
    if (d && !d->ended && widget) {
        if (driver) {
            widget->show();
            widget->activateWindow();
            if (focus && window_live(focus)) focus_control(focus);
            QCoreApplication::processEvents();
            driver(dialog, t->name.c_str());
            if ((d = dialog_record(dialog)) && !d->ended)
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
            if ((d = dialog_record(dialog)) && !d->ended) EndDialog(dialog, -1);
        } else {
            widget->exec();
        }
    }
    d = dialog_record(dialog);
    const INT_PTR result = d ? d->result : -1;
    DestroyWindow(dialog);
    window_return_focus(owner);
    return result;
}

BOOL EndDialog(HWND hDlg, INT_PTR result)
{
    DialogRecord *d = dialog_record(hDlg);
    if (!d) return FALSE;
    if (end_listener && !d->ended) end_listener(hDlg);
    d->ended = true;
    d->result = result;
    if (d->widget) d->widget->done(0);
    return TRUE;
}
