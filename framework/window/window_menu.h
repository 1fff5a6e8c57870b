// The dialog's window menu. On Windows it is the system menu itself (CMenu
// then works on the system's menu through m_hMenu). Linux window managers let
// no program add to their own window menu, so there a dialog with a system
// menu has one of its own: opened by a right click on the dialog, Shift+F10,
// the Menu key or Alt+Space, it holds the platform's items that apply to a
// fixed-size dialog (move, close) and whatever the program appends. Every
// item is a system command whose id reaches the dialog's OnSysCommand.
#pragma once

#include <functional>
#include <vector>

#include "framework/core/string.h"
#include "framework/window/window_handle.h"

#ifndef _WIN32
// Item kinds for AppendMenu (the system's own names on Windows).
inline constexpr unsigned MF_STRING = 0x0;
inline constexpr unsigned MF_SEPARATOR = 0x800;

// System command ids of the platform's items. The low four bits of a
// system command are the platform's own; handlers compare id & 0xFFF0.
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_CLOSE = 0xF060;
#endif

class CMenu {
public:
    struct Item {
        unsigned id;  // 0 for a separator
        CString text;
        bool separator;
    };

    // Appends a separator (MF_SEPARATOR) or a text item with its command id.
    void AppendMenu(unsigned flags, unsigned id = 0, const CString& text = CString());
    int GetMenuItemCount() const;
    // The command id of the item at `position`; 0 for a separator or none.
    unsigned GetMenuItemID(int position) const;
    // The text of the item at `position`; empty for a separator or none.
    CString GetMenuString(int position) const;
    std::vector<Item> Items() const;
    // A menu with its own list of the items this one holds now.
    CMenu Copy() const;

    // The window menu of a dialog: move, then close with its key.
    static CMenu PlatformWindowMenu();

    // The system's menu this object works on; null for a menu of its own.
    HMENU m_hMenu = nullptr;

private:
    void AppendItem(const Item& item);

    std::vector<Item> m_items;
};

// Shows `menu` at the screen position x, y over `owner` and waits for a choice
// (or hands the hook a copy with its own list of the items). Returns the
// chosen command id, 0 when the menu was dismissed.
unsigned TrackWindowMenu(const CMenu& menu, HWND owner, int screenX, int screenY);

// Replaces every window menu by a call of `hook`, whose result is the chosen
// command id (0: dismissed); an empty hook shows menus again. Returns the
// hook that was installed before.
using WindowMenuHook = std::function<unsigned(const CMenu&)>;
WindowMenuHook SetWindowMenuHook(WindowMenuHook hook);

// Each port's (its window_menu.cpp):

// The system's own showing of a window menu, behind TrackWindowMenu when no
// hook is installed: `menu` at the screen position x, y over `owner`, until a
// choice. Returns the chosen command id, 0 when the menu was dismissed.
unsigned TrackSystemWindowMenu(const CMenu& menu, HWND owner, int screenX, int screenY);
// The items of a system menu a CMenu is bound to (m_hMenu), and appending one;
// a port whose dialogs keep window menus of their own binds none, and never
// gets these calls.
std::vector<CMenu::Item> SystemMenuItems(HMENU menu);
void AppendSystemMenuItem(HMENU menu, const CMenu::Item& item);
