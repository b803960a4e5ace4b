// What the dialog units share: the record behind a dialog window and behind each of its
// controls, and the hook through which the test support drives a dialog. Internal to
// platform/ (it includes Qt).
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/dialog.h"
#include "platform/dialog_template.h"

class QDialog;

struct DialogRecord {
    const DialogTemplate *source = nullptr;
    DLGPROC proc = nullptr;
    QPointer<QDialog> widget;
    bool ended = false;
    INT_PTR result = 0;
};

struct ControlRecord {
    DialogControlKind kind = DialogControlKind::LeftText;
    int group = 0;  // index of the control group (radio buttons clear each other within one)
    QPointer<QWidget> widget;
};

// The record of a live dialog window, or null.
DialogRecord *dialog_record(HWND dialog);
// The record of a control of a live dialog, or null.
ControlRecord *dialog_control(HWND dialog, int id);
ControlRecord *dialog_control_of(HWND control);
// The dialog that owns a control window, or null.
HWND dialog_of_control(HWND control);

// The procedure of every control: WM_SETFONT and the list box messages (platform/dialog.h);
// the rest as DefWindowProcA.
LRESULT CALLBACK dialog_control_proc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// A click on a button as the mouse or the space bar makes it: a check box toggles, a radio
// button checks itself and clears its group, then WM_COMMAND with the control's id goes to the
// dialog procedure. False for a missing or disabled control, or one that is not a button.
bool dialog_click(HWND dialog, int id);

// While set, DialogBoxParamA does not wait: it shows the dialog, calls the driver with it,
// and cancels the dialog if the driver left it open.
void dialog_set_driver(std::function<void(HWND dialog, const char *templateName)> driver);
// Called by EndDialog, before it marks the dialog ended.
void dialog_set_end_listener(std::function<void(HWND dialog)> listener);
