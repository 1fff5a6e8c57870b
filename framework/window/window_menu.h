// The dialog's window menu. Linux window managers let no program add to their
// own window menu, so a dialog with a system menu has one of its own: opened
// by a right click on the dialog, Shift+F10, the Menu key or Alt+Space, it
// holds the platform's items that apply to a fixed-size dialog (move, close)
// and whatever the program appends. Every item is a system command whose id
// reaches the dialog's OnSysCommand.
#pragma once

#include <functional>
#include <vector>

#include "framework/core/string.h"

class QPoint;
class QWidget;

// Item kinds for AppendMenu.
inline constexpr unsigned MF_STRING = 0x0;
inline constexpr unsigned MF_SEPARATOR = 0x800;

// System command ids of the platform's items. The low four bits of a
// system command are the platform's own; handlers compare id & 0xFFF0.
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_CLOSE = 0xF060;

class CMenu {
public:
    struct Item {
        unsigned id;  // 0 for a separator
        CString text;
        bool separator;
    };

    // Appends a separator (MF_SEPARATOR) or a text item with its command id.
    void AppendMenu(unsigned flags, unsigned id = 0, const CString& text = CString());
    int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
    // The command id of the item at `position`; 0 for a separator or none.
    unsigned GetMenuItemID(int position) const;
    // The text of the item at `position`; empty for a separator or none.
    CString GetMenuString(int position) const;
    const std::vector<Item>& Items() const { return m_items; }

    // The window menu of a dialog: move, then close with its key.
    static CMenu PlatformWindowMenu();

private:
    std::vector<Item> m_items;
};

// Shows `menu` at `globalPos` over `owner` and waits for a choice (or hands it
// to the hook). Returns the chosen command id, 0 when the menu was dismissed.
unsigned TrackWindowMenu(const CMenu& menu, QWidget* owner, const QPoint& globalPos);

// Replaces every window menu by a call of `hook`, whose result is the chosen
// command id (0: dismissed); an empty hook shows menus again. Returns the
// hook that was installed before.
using WindowMenuHook = std::function<unsigned(const CMenu&)>;
WindowMenuHook SetWindowMenuHook(WindowMenuHook hook);
