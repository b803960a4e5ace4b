// The resource scripts (resources/*.rc, compiled into the program) and the images they name.
// Internal to platform/; later units (dialog templates) read their own statements with
// resource_statement.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPoint>
#include <string>
#include <vector>

struct MenuTemplate {
    struct Entry {
        std::string text;
        unsigned id = 0;
        bool separator = false;
        bool popup = false;
        bool grayed = false;
        std::vector<Entry> children;
    };
    std::string name;
    std::vector<Entry> entries;
};

// One statement of a script: "NAME TYPE ..." up to the end of its BEGIN ... END block (or of
// its line when it has none), as tokens: quoted strings keep their quotes off, and
// BEGIN/END or braces appear as "BEGIN" and "END".
struct ResourceStatement {
    std::string name;
    std::string type;                 // upper case: MENU, ICON, BITMAP, CURSOR, DIALOG, ...
    std::vector<std::string> tokens;  // everything after the type
    std::vector<bool> quoted;         // whether each token was a quoted string
};

// Names compare without regard to case. Null / empty when there is no such resource.
const ResourceStatement *resource_statement(const char *type, const char *name);
const MenuTemplate *resource_menu(const char *name);
QImage resource_image(const char *type, const char *name, int size = 0);
QIcon resource_icon(const char *name);
QImage resource_cursor_image(const char *name, QPoint *hotSpot);
// Parses script text (also used by the tests); problems go to errors, one line each.
std::vector<ResourceStatement> resource_parse(const std::string &text,
                                              std::vector<std::string> *errors);
bool resource_build_menu(const ResourceStatement &statement, MenuTemplate *menu,
                         std::string *error);
