// Dialog templates: the DIALOG statements of the resource scripts (resources/README.md) read
// into a list of controls. Positions are in dialog units: a quarter of the dialog font's
// average character width across, an eighth of its height down. Internal to platform/;
// Qt-free.
#pragma once

#include <string>
#include <vector>

struct ResourceStatement;

enum class DialogControlKind {
    LeftText,       // LTEXT: static label, left aligned
    RightText,      // RTEXT
    CenterText,     // CTEXT
    Edit,           // EDITTEXT: one-line edit field
    CheckBox,       // CHECKBOX: check box that toggles itself
    RadioButton,    // RADIOBUTTON: clears the other radio buttons of its control group
    GroupBox,       // GROUPBOX: frame with a title, drawn under the controls it surrounds
    PushButton,     // PUSHBUTTON
    DefPushButton,  // DEFPUSHBUTTON: the button Enter presses
    Icon,           // ICON: an icon resource, by name in the text
    Rule,           // HRULE: a one-pixel horizontal line across the control's width
    ListBox,        // LISTBOX: a list of text rows, one selectable at a time, with a scroll bar
};

struct DialogControlTemplate {
    DialogControlKind kind = DialogControlKind::LeftText;
    std::string text;
    int id = -1;
    int x = 0, y = 0, width = 0, height = 0;
    bool group = false;  // starts a new control group (radio buttons clear within a group)
};

struct DialogTemplate {
    std::string name;
    std::string caption;
    bool titleBar = true;                         // NOCAPTION: a bordered box without a title bar
    int width = 0, height = 0;                    // client area
    std::vector<DialogControlTemplate> controls;  // in tab and creation order
};

// Reads one DIALOG statement; false with a one-line reason when it is malformed.
bool dialog_template_parse(const ResourceStatement &statement, DialogTemplate *out,
                           std::string *error);
// The template of that name from the program's resources, or null.
const DialogTemplate *dialog_template_find(const char *name);
// Whether a kind takes the keyboard focus (edit fields and buttons of every kind).
bool dialog_kind_takes_focus(DialogControlKind kind);
