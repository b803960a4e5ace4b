// Menus as a tree of items (what the program asks about) mirrored into Qt actions (what the
// user sees). Every change goes to the tree first, then to the action if there is one.
#include "platform/menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <cstring>

#include "platform/menu_internal.h"
#include "platform/msgloop.h"
#include "platform/qt_convert.h"
#include "platform/resources_internal.h"
#include "platform/window_internal.h"

namespace {

std::vector<HMENU> &live_menus()
{
    static std::vector<HMENU> menus;
    return menus;
}

HMENU__ *menu_live(HMENU menu)
{
    if (!menu) return nullptr;
    const auto &all = live_menus();
    return std::find(all.begin(), all.end(), menu) != all.end() ? menu : nullptr;
}

HMENU new_menu(bool bar)
{
    auto *menu = new HMENU__;
    menu->bar = bar;
    live_menus().push_back(menu);
    return menu;
}

MenuItem *find_item(HMENU menu, UINT position, UINT flags)
{
    HMENU__ *m = menu_live(menu);
    if (!m) return nullptr;
    if (flags & MF_BYPOSITION) return position < m->items.size() ? &m->items[position] : nullptr;
    return menu_find_by_command(m, position);
}

void sync_action(MenuItem &item)
{
    if (!item.action) return;
    item.action->setText(toQString(item.text.c_str()));
    item.action->setEnabled(!item.grayed);
    item.action->setCheckable(item.checked);
    item.action->setChecked(item.checked);
}

void post_command(HMENU__ *menu, QAction *action)
{
    // The id is read when the item is chosen: ModifyMenuA may have changed it.
    for (HMENU m : live_menus()) {
        for (const MenuItem &item : m->items) {
            if (item.action == action && !item.popup && !item.separator && !item.grayed) {
                PostMessageA(menu->owner, WM_COMMAND, MAKEWPARAM(item.id, 0), 0);
                return;
            }
        }
    }
}

void fill_qt_menu(HMENU menu, HMENU root, QWidget *qmenu)
{
    for (MenuItem &item : menu->items) {
        QAction *action = nullptr;
        if (item.separator) {
            action = new QAction(qmenu);
            action->setSeparator(true);
        } else if (item.popup) {
            auto *sub = new QMenu(toQString(item.text.c_str()), qmenu);
            item.popup->qmenu = sub;
            item.popup->owner = root->owner;
            fill_qt_menu(item.popup, root, sub);
            action = sub->menuAction();
        } else {
            action = new QAction(qmenu);
            QObject::connect(action, &QAction::triggered, action, [root, action] {
                if (menu_live(root) && root->owner) post_command(root, action);
            });
        }
        qmenu->addAction(action);
        item.action = action;
        sync_action(item);
    }
}

void free_menu(HMENU menu)
{
    if (!menu_live(menu)) return;
    for (MenuItem &item : menu->items)
        if (item.popup) free_menu(item.popup);
    std::erase(live_menus(), menu);
    delete menu;
}

// The command of the item whose action was picked, in the menu or one of its pop-ups (0 for
// none); the actions, gone with the menu that showed them, are forgotten.
UINT picked_command(HMENU menu, const QAction *picked)
{
    UINT chosen = 0;
    for (MenuItem &item : menu->items) {
        if (item.popup) {
            if (const UINT id = picked_command(item.popup, picked)) chosen = id;
        } else if (picked && item.action == picked && !item.separator && !item.grayed) {
            chosen = item.id;
        }
        item.action = nullptr;
    }
    return chosen;
}

}  // namespace

MenuItem *menu_find_by_command(HMENU menu, UINT id)
{
    if (!menu_live(menu)) return nullptr;
    for (MenuItem &item : menu->items) {
        if (item.popup) {
            if (MenuItem *found = menu_find_by_command(item.popup, id)) return found;
        } else if (!item.separator && item.id == id) {
            return &item;
        }
    }
    return nullptr;
}

QMenuBar *menu_realize_bar(HMENU menu, HWND owner, QWidget *parent)
{
    if (!menu_live(menu)) return nullptr;
    menu->owner = owner;
    auto *bar = new QMenuBar(parent);
    menu->qbar = bar;
    fill_qt_menu(menu, menu, bar);
    return bar;
}

void menu_detach(HMENU menu, HWND owner)
{
    if (!menu_live(menu) || menu->owner != owner) return;
    free_menu(menu);
}

namespace {
std::function<UINT(const std::vector<std::string> &)> popup_interceptor;
}

void menu_set_popup_interceptor(std::function<UINT(const std::vector<std::string> &)> f)
{
    popup_interceptor = std::move(f);
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT *)
{
    HMENU__ *m = menu_live(menu);
    if (!m || m->bar) return FALSE;
    UINT chosen = 0;
    if (popup_interceptor) {
        std::vector<std::string> texts;
        for (const MenuItem &item : m->items) texts.push_back(item.separator ? "-" : item.text);
        chosen = popup_interceptor(texts);
    } else {
        // No owner while the menu is open: a choice is read back here, not posted.
        m->owner = nullptr;
        QMenu qmenu(window_top_widget(hwnd));
        fill_qt_menu(menu, menu, &qmenu);
        chosen = picked_command(m, qmenu.exec(QPoint(x, y)));
    }
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen) PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return TRUE;
}

HMENU CreateMenu() { return new_menu(true); }
HMENU CreatePopupMenu() { return new_menu(false); }

BOOL AppendMenuA(HMENU menu, UINT flags, std::uintptr_t idOrPopup, LPCSTR text)
{
    HMENU__ *m = menu_live(menu);
    if (!m) return FALSE;
    MenuItem item;
    item.separator = (flags & MF_SEPARATOR) != 0;
    item.grayed = (flags & (MF_GRAYED | MF_DISABLED)) != 0;
    item.checked = (flags & MF_CHECKED) != 0;
    if (flags & MF_POPUP)
        item.popup = reinterpret_cast<HMENU>(idOrPopup);
    else
        item.id = static_cast<UINT>(idOrPopup);
    if (!item.separator && text) item.text = text;
    m->items.push_back(std::move(item));
    return TRUE;
}

BOOL DestroyMenu(HMENU menu)
{
    if (!menu_live(menu)) return FALSE;
    free_menu(menu);
    return TRUE;
}

HMENU LoadMenuA(HINSTANCE, LPCSTR name)
{
    const MenuTemplate *tmpl = resource_menu(name);
    if (!tmpl) return nullptr;
    // Builds the records from the template tree, pop-ups depth first.
    struct Builder {
        static HMENU build(const std::vector<MenuTemplate::Entry> &entries, bool bar)
        {
            HMENU menu = new_menu(bar);
            for (const auto &entry : entries) {
                if (entry.separator) {
                    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
                } else if (entry.popup) {
                    HMENU sub = build(entry.children, false);
                    AppendMenuA(menu, MF_POPUP | (entry.grayed ? static_cast<UINT>(MF_GRAYED) : 0u),
                                reinterpret_cast<std::uintptr_t>(sub), entry.text.c_str());
                } else {
                    AppendMenuA(menu,
                                MF_STRING | (entry.grayed ? static_cast<UINT>(MF_GRAYED) : 0u),
                                entry.id, entry.text.c_str());
                }
            }
            return menu;
        }
    };
    return Builder::build(tmpl->entries, true);
}

HMENU GetMenu(HWND hwnd)
{
    HWND__ *w = window_live(hwnd);
    return w ? w->menu : nullptr;
}

BOOL SetMenu(HWND hwnd, HMENU menu)
{
    HWND__ *w = window_live(hwnd);
    if (!w || w->parent || !menu_live(menu)) return FALSE;
    auto *frame = qobject_cast<QMainWindow *>(w->frame.data());
    if (!frame) return FALSE;
    w->menu = menu;
    frame->setMenuBar(menu_realize_bar(menu, w, frame));
    return TRUE;
}

// The bar shows every change as it is made.
BOOL DrawMenuBar(HWND hwnd) { return window_live(hwnd) ? TRUE : FALSE; }

HMENU GetSubMenu(HMENU menu, int pos)
{
    HMENU__ *m = menu_live(menu);
    if (!m || pos < 0 || pos >= static_cast<int>(m->items.size())) return nullptr;
    return m->items[static_cast<std::size_t>(pos)].popup;
}

int GetMenuItemCount(HMENU menu)
{
    HMENU__ *m = menu_live(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos)
{
    HMENU__ *m = menu_live(menu);
    if (!m || pos < 0 || pos >= static_cast<int>(m->items.size())) return MENU_ITEM_NOT_FOUND;
    const MenuItem &item = m->items[static_cast<std::size_t>(pos)];
    return item.popup ? MENU_ITEM_NOT_FOUND : item.id;
}

UINT EnableMenuItem(HMENU menu, UINT id, UINT enable)
{
    MenuItem *item = find_item(menu, id, enable);
    if (!item) return MENU_ITEM_NOT_FOUND;
    const UINT previous = item->grayed ? MF_GRAYED : MF_ENABLED;
    item->grayed = (enable & (MF_GRAYED | MF_DISABLED)) != 0;
    sync_action(*item);
    return previous;
}

UINT CheckMenuItem(HMENU menu, UINT id, UINT check)
{
    MenuItem *item = find_item(menu, id, check);
    if (!item) return MENU_ITEM_NOT_FOUND;
    const UINT previous = item->checked ? MF_CHECKED : MF_UNCHECKED;
    item->checked = (check & MF_CHECKED) != 0;
    sync_action(*item);
    return previous;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t newId, LPCSTR text)
{
    MenuItem *item = find_item(menu, position, flags);
    if (!item || item->popup) return FALSE;
    item->id = static_cast<UINT>(newId);
    item->text = text ? text : "";
    item->grayed = (flags & (MF_GRAYED | MF_DISABLED)) != 0;
    item->checked = (flags & MF_CHECKED) != 0;
    sync_action(*item);
    return TRUE;
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags)
{
    MenuItem *item = find_item(menu, id, flags);
    if (!item) return MENU_ITEM_NOT_FOUND;
    UINT state = 0;
    if (item->grayed) state |= MF_GRAYED;
    if (item->checked) state |= MF_CHECKED;
    if (item->separator) state |= MF_SEPARATOR;
    if (item->popup) state |= MF_POPUP;
    return state;
}

int GetMenuStringA(HMENU menu, UINT id, LPSTR buffer, int size, UINT flags)
{
    MenuItem *item = find_item(menu, id, flags);
    if (!item) return 0;
    const int n = static_cast<int>(item->text.size());
    if (!buffer || size <= 0) return n;
    const int copied = std::min(n, size - 1);
    std::memcpy(buffer, item->text.data(), static_cast<std::size_t>(copied));
    buffer[copied] = '\0';
    return copied;
}
