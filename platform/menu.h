// Menus: menu bars and pop-ups built from the menu resources or by hand, items found by
// command id. A choice sends WM_COMMAND (id in the low word of wParam) to the owner window
// through the message queue once the menu has closed. Qt-free.
#pragma once

#include "platform/win32types.h"

enum : UINT { MF_POPUP = 0x0010, MF_CHECKED = 0x0008, MF_UNCHECKED = 0x0000 };
constexpr UINT MENU_ITEM_NOT_FOUND = 0xFFFFFFFF;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// uIDNewItem is the command id, or the HMENU of a pop-up when uFlags holds MF_POPUP.
BOOL AppendMenuA(HMENU hMenu, UINT uFlags, std::uintptr_t uIDNewItem, LPCSTR lpNewItem);
BOOL DestroyMenu(HMENU hMenu);
// Loads a menu resource by name (see resources/README.md); null when there is none.
HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR lpMenuName);

// TrackPopupMenu flags: TPM_RETURNCMD returns the chosen id (0 when none) instead of sending
// WM_COMMAND to hWnd; the others are accepted for their Win32 meaning (the menu always
// follows either mouse button).
enum : UINT {
    TPM_LEFTALIGN = 0x0000,
    TPM_RIGHTBUTTON = 0x0002,
    TPM_NONOTIFY = 0x0080,
    TPM_RETURNCMD = 0x0100
};
// Shows a pop-up menu at the screen point (x, y) and waits until it closes.
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd,
                    const RECT *prcRect);

HMENU GetMenu(HWND hWnd);
BOOL SetMenu(HWND hWnd, HMENU hMenu);
BOOL DrawMenuBar(HWND hWnd);
HMENU GetSubMenu(HMENU hMenu, int nPos);
int GetMenuItemCount(HMENU hMenu);
UINT GetMenuItemID(HMENU hMenu, int nPos);  // -1 for pop-ups and bad positions

// Greys or enables one item; returns its previous state (MF_GRAYED or MF_ENABLED), or
// MENU_ITEM_NOT_FOUND. Items are found by command id (MF_BYCOMMAND) in the whole menu tree,
// or by position (MF_BYPOSITION) in this menu.
UINT EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
UINT CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
// Replaces an item: new text, new id and the state given by uFlags (MF_GRAYED, MF_CHECKED).
BOOL ModifyMenuA(HMENU hMnu, UINT uPosition, UINT uFlags, std::uintptr_t uIDNewItem,
                 LPCSTR lpNewItem);
// MF_GRAYED / MF_CHECKED / MF_SEPARATOR / MF_POPUP bits of an item, or MENU_ITEM_NOT_FOUND.
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
int GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags);
