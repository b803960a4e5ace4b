// Headless test support for modal dialogs: a test queues what the user does in the next
// dialogs, chooses the menu command that opens them, and reads back what each dialog showed.
// Qt-free.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"

// From now on dialogs do not wait for a user: each one that opens is shown and handed to the
// next queued script; a dialog still open when its script returns is cancelled (Escape). A
// dialog that opens with no script queued is cancelled at once.
void testing_dialogs_begin();
// Dialogs wait for their user again; queued scripts and the log are forgotten.
void testing_dialogs_end();
void testing_dialog_script(std::function<void(HWND dialog)> script);
// Template names of the dialogs opened since testing_dialogs_begin, in order.
const std::vector<std::string> &testing_dialogs_opened();
// Runs when a dialog procedure calls EndDialog (before the dialog is marked ended): a test
// can see what the program had already done at that moment. Null to stop.
void testing_dialog_on_end(std::function<void(HWND dialog)> watcher);
// Scripts still waiting for their dialog.
int testing_dialog_scripts_left();

// What a control shows.
struct TestDialogControl {
    int id;
    std::string kind;  // "LTEXT", "EDITTEXT", "CHECKBOX", "RADIOBUTTON", "GROUPBOX", ...
    std::string text;  // as shown: an edit's contents, a label with "&&" as "&"
    bool checked;
    RECT rect;  // in the dialog's client area, pixels
};
std::vector<TestDialogControl> testing_dialog_controls(HWND dialog);
std::string testing_dialog_text(HWND dialog, int id);
bool testing_dialog_checked(HWND dialog, int id);
// Replaces the contents of an edit field as the user would by selecting all and typing.
bool testing_dialog_type(HWND dialog, int id, const std::string &text);
// Clicks a button, check box or radio button with the mouse (nothing for a disabled one).
bool testing_dialog_click(HWND dialog, int id);
// Presses a key where the focus is: VK_RETURN or VK_ESCAPE.
void testing_dialog_key(HWND dialog, int virtualKey);
// Presses Tab (or Shift+Tab) where the focus is.
void testing_dialog_tab(HWND dialog, bool backwards = false);
// The id of the control with the keyboard focus (0 when none).
int testing_dialog_focus(HWND dialog);
// Whether the dialog window is still open.
bool testing_dialog_open(HWND dialog);
// Problems a user would see: a text cut off by its control, a control reaching outside the
// dialog, a radio button outside every group box, or two controls overlapping (a group box
// may hold others). One line per problem; empty when the layout is tidy.
std::vector<std::string> testing_dialog_layout_problems(HWND dialog);
// Client rectangle of the dialog on the screen, and whether it has a title bar.
RECT testing_dialog_screen_rect(HWND dialog);
bool testing_dialog_has_title_bar(HWND dialog);

// Renders the dialog (client area and controls) into a PNG file.
bool testing_dialog_grab(HWND dialog, const char *png_path);
