// Reading DIALOG statements:
//
//     SystemBox DIALOG 200 94              // client width and height
//     CAPTION "Optics Specifications"      // or NOCAPTION: border only
//     BEGIN
//         LTEXT       "Wavelength (nm)"   -1   8  10  70   8
//         EDITTEXT    "500.0"            116  84   8  56  12
//         RADIOBUTTON "X (horizontal direction)" 118 16 50 110 10 GROUP
//         DEFPUSHBUTTON "OK"               1 ...
//     END
//
// Each control line is KIND "text" id x y width height, then optional GROUP.
#include "platform/dialog_template.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>

#include "platform/resources_internal.h"

namespace {

std::string upper(std::string s)
{
    for (char &c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool kind_from_keyword(const std::string &keyword, DialogControlKind *kind)
{
    static const std::map<std::string, DialogControlKind> kinds = {
        {"LTEXT", DialogControlKind::LeftText},
        {"RTEXT", DialogControlKind::RightText},
        {"CTEXT", DialogControlKind::CenterText},
        {"EDITTEXT", DialogControlKind::Edit},
        {"CHECKBOX", DialogControlKind::CheckBox},
        {"RADIOBUTTON", DialogControlKind::RadioButton},
        {"GROUPBOX", DialogControlKind::GroupBox},
        {"PUSHBUTTON", DialogControlKind::PushButton},
        {"DEFPUSHBUTTON", DialogControlKind::DefPushButton},
        {"ICON", DialogControlKind::Icon},
        {"HRULE", DialogControlKind::Rule},
        {"LISTBOX", DialogControlKind::ListBox},
    };
    auto found = kinds.find(upper(keyword));
    if (found == kinds.end()) return false;
    *kind = found->second;
    return true;
}

bool to_int(const std::string &text, int *value)
{
    char *end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 0);
    if (text.empty() || !end || *end || v < -32768 || v > 65535) return false;
    *value = static_cast<int>(v);
    return true;
}

}  // namespace

bool dialog_kind_takes_focus(DialogControlKind kind)
{
    switch (kind) {
    case DialogControlKind::Edit:
    case DialogControlKind::CheckBox:
    case DialogControlKind::RadioButton:
    case DialogControlKind::PushButton:
    case DialogControlKind::DefPushButton:
    case DialogControlKind::ListBox: return true;
    default: return false;
    }
}

bool dialog_template_parse(const ResourceStatement &s, DialogTemplate *out, std::string *error)
{
    auto fail = [error, &s](const std::string &why) {
        if (error) *error = s.name + ": " + why;
        return false;
    };
    const auto &t = s.tokens;
    DialogTemplate d;
    d.name = s.name;
    std::size_t pos = 0;
    if (t.size() < 2 || !to_int(t[0], &d.width) || !to_int(t[1], &d.height) || d.width <= 0 ||
        d.height <= 0)
        return fail("DIALOG needs a width and a height");
    pos = 2;
    while (pos < t.size() && t[pos] != "BEGIN") {
        const std::string option = upper(t[pos]);
        if (option == "CAPTION" && pos + 1 < t.size() && s.quoted[pos + 1]) {
            d.caption = t[pos + 1];
            pos += 2;
        } else if (option == "NOCAPTION") {
            d.titleBar = false;
            ++pos;
        } else {
            return fail("unexpected '" + t[pos] + "' before BEGIN");
        }
    }
    if (pos >= t.size()) return fail("no BEGIN");
    ++pos;
    while (pos < t.size() && t[pos] != "END") {
        DialogControlTemplate c;
        if (!kind_from_keyword(t[pos], &c.kind)) return fail("unknown control '" + t[pos] + "'");
        ++pos;
        if (pos >= t.size() || !s.quoted[pos]) return fail("a control needs its text in quotes");
        c.text = t[pos++];
        int *numbers[] = {&c.id, &c.x, &c.y, &c.width, &c.height};
        for (int *n : numbers) {
            if (pos >= t.size() || !to_int(t[pos], n))
                return fail("control \"" + c.text + "\" needs id x y width height");
            ++pos;
        }
        if (c.width <= 0 || c.height <= 0) return fail("control \"" + c.text + "\" has no size");
        if (pos < t.size() && !s.quoted[pos] && upper(t[pos]) == "GROUP") {
            c.group = true;
            ++pos;
        }
        d.controls.push_back(std::move(c));
    }
    if (pos >= t.size()) return fail("no END");
    *out = std::move(d);
    return true;
}

const DialogTemplate *dialog_template_find(const char *name)
{
    static std::map<std::string, std::unique_ptr<DialogTemplate>> cache;
    if (!name || (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0) return nullptr;
    const ResourceStatement *s = resource_statement("DIALOG", name);
    if (!s) return nullptr;
    auto &slot = cache[upper(s->name)];
    if (!slot) {
        auto parsed = std::make_unique<DialogTemplate>();
        std::string error;
        if (!dialog_template_parse(*s, parsed.get(), &error)) return nullptr;
        slot = std::move(parsed);
    }
    return slot.get();
}
