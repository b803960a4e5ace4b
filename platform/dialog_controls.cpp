// The controls of a dialog addressed by id: texts, numbers and check marks.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/dialog.h"
#include "platform/dialog_internal.h"
#include "platform/gdi_qt.h"
#include "platform/qt_convert.h"
#include "platform/window_internal.h"

namespace {

QAbstractButton *check_button(HWND dialog, int id)
{
    ControlRecord *c = dialog_control(dialog, id);
    if (!c || (c->kind != DialogControlKind::CheckBox && c->kind != DialogControlKind::RadioButton))
        return nullptr;
    return qobject_cast<QAbstractButton *>(c->widget.data());
}

// The list box messages; LB_ERR for a row that does not exist.
LRESULT list_box_message(QListWidget *list, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int row = static_cast<int>(wParam);
    const QListWidgetItem *item =
        message == LB_GETTEXT || message == LB_GETTEXTLEN ? list->item(row) : nullptr;
    const QByteArray text = item ? item->text().toLatin1() : QByteArray();
    switch (message) {
    case LB_ADDSTRING:
        list->addItem(toQString(reinterpret_cast<LPCSTR>(lParam)));
        return list->count() - 1;
    case LB_RESETCONTENT: list->clear(); return 0;
    case LB_GETCOUNT: return list->count();
    case LB_GETTEXTLEN: return item ? LRESULT(text.size()) : LRESULT(LB_ERR);
    case LB_GETTEXT:
        if (!item || !lParam) return LB_ERR;
        std::memcpy(reinterpret_cast<char *>(lParam), text.constData(), text.size() + 1);
        return text.size();
    }
    return 0;
}

// A font given by WM_SETFONT replaces the dialog's; a null one puts the dialog's back.
void set_control_font(ControlRecord *c, HFONT font)
{
    const GdiObject *o = gdi_object(font, OBJ_FONT);
    c->widget->setFont(o ? o->font : c->widget->parentWidget()->font());
}

}  // namespace

LRESULT CALLBACK dialog_control_proc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    ControlRecord *c = dialog_control_of(control);
    if (!c || !c->widget) return DefWindowProcA(control, message, wParam, lParam);
    auto *list = qobject_cast<QListWidget *>(c->widget.data());
    switch (message) {
    case WM_SETFONT: set_control_font(c, reinterpret_cast<HFONT>(wParam)); return 0;
    case LB_ADDSTRING:
    case LB_RESETCONTENT:
    case LB_GETCOUNT:
    case LB_GETTEXTLEN:
    case LB_GETTEXT:
        return list ? list_box_message(list, message, wParam, lParam) : LRESULT(LB_ERR);
    }
    return DefWindowProcA(control, message, wParam, lParam);
}

LRESULT SendDlgItemMessageA(HWND hDlg, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = GetDlgItem(hDlg, id);
    return control ? SendMessageA(control, message, wParam, lParam) : 0;
}

UINT GetDlgItemTextA(HWND hDlg, int id, LPSTR buffer, int size)
{
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    HWND control = GetDlgItem(hDlg, id);
    ControlRecord *c = dialog_control_of(control);
    std::string text;
    if (c && c->kind == DialogControlKind::Edit) {
        if (auto *edit = qobject_cast<QLineEdit *>(c->widget.data()))
            text = edit->text().toLatin1().toStdString();
    } else if (control) {
        text = control->title;
    } else {
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<UINT>(n);
}

BOOL SetDlgItemTextA(HWND hDlg, int id, LPCSTR text)
{
    HWND control = GetDlgItem(hDlg, id);
    if (!control) return FALSE;
    const std::string value = text ? text : "";
    control->title = value;
    ControlRecord *c = dialog_control_of(control);
    if (!c || !c->widget) return TRUE;
    const QString q = toQString(value.c_str());
    if (auto *edit = qobject_cast<QLineEdit *>(c->widget.data())) {
        edit->setText(q);
        edit->setCursorPosition(0);
        if (edit->hasFocus()) edit->selectAll();
    } else if (auto *button = qobject_cast<QAbstractButton *>(c->widget.data())) {
        button->setText(q);
    } else if (auto *box = qobject_cast<QGroupBox *>(c->widget.data())) {
        box->setTitle(q);
    } else if (auto *label = qobject_cast<QLabel *>(c->widget.data())) {
        label->setText(q);
    }
    return TRUE;
}

UINT GetDlgItemInt(HWND hDlg, int id, BOOL *translated, BOOL isSigned)
{
    if (translated) *translated = FALSE;
    char text[64];
    if (!GetDlgItem(hDlg, id)) return 0;
    GetDlgItemTextA(hDlg, id, text, sizeof text);
    const char *p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = false;
    if (isSigned && *p == '-') {
        negative = true;
        ++p;
    }
    if (!std::isdigit(static_cast<unsigned char>(*p))) return 0;
    unsigned long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        value = value * 10 + static_cast<unsigned>(*p - '0');
        if (value > std::numeric_limits<UINT>::max()) return 0;
    }
    while (*p == ' ' || *p == '\t') ++p;
    if (*p) return 0;
    if (isSigned) {
        const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                         : std::numeric_limits<int>::max();
        if (static_cast<long long>(value) > limit) return 0;
    }
    if (translated) *translated = TRUE;
    return negative ? static_cast<UINT>(-static_cast<long long>(value)) : static_cast<UINT>(value);
}

BOOL SetDlgItemInt(HWND hDlg, int id, UINT value, BOOL isSigned)
{
    char text[16];
    if (isSigned)
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    else
        std::snprintf(text, sizeof text, "%u", value);
    return SetDlgItemTextA(hDlg, id, text);
}

BOOL CheckDlgButton(HWND hDlg, int id, UINT check)
{
    QAbstractButton *button = check_button(hDlg, id);
    if (!button) return FALSE;
    const QSignalBlocker quiet(button);
    button->setChecked(check == BST_CHECKED);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int id)
{
    QAbstractButton *button = check_button(hDlg, id);
    return button && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

BOOL CheckRadioButton(HWND hDlg, int first, int last, int checked)
{
    if (!dialog_record(hDlg)) return FALSE;
    for (int id = first; id <= last; ++id)
        CheckDlgButton(hDlg, id, id == checked ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}
