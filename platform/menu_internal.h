// Menu records and their toolkit realisation. Internal to platform/.
#pragma once

#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "platform/menu.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

struct MenuItem {
    UINT id = 0;
    std::string text;
    bool grayed = false;
    bool checked = false;
    bool separator = false;
    HMENU popup = nullptr;
    QPointer<QAction> action;  // once realised
};

struct HMENU__ {
    std::vector<MenuItem> items;
    bool bar = false;
    HWND owner = nullptr;
    QPointer<QMenuBar> qbar;
    QPointer<QMenu> qmenu;
};

// Builds the toolkit menu bar for a top-level window; choices go to owner.
QMenuBar *menu_realize_bar(HMENU menu, HWND owner, QWidget *parent);
// The window is going: its menu is destroyed with it.
void menu_detach(HMENU menu, HWND owner);
// Tests answer pop-up menus instead of a user: the interceptor gets the item texts in order
// and returns the id chosen (0 for none).
void menu_set_popup_interceptor(std::function<UINT(const std::vector<std::string> &)> f);
// Finds an item by command id anywhere in the tree (null when there is none).
MenuItem *menu_find_by_command(HMENU menu, UINT id);
