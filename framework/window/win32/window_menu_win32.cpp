// CMenu over the system's menus: a CMenu bound to a menu (m_hMenu, the
// dialog's system menu) works on it through the system's calls; one without
// keeps its own list, as on Linux. TrackSystemWindowMenu shows either.
#include <vector>

#include "framework/window/system_window_menu.h"
#include "framework/window/win32/win_text.h"
#include "framework/window/window_menu.h"

namespace {

// A popup menu of our own, destroyed with this object.
class PopupMenu {
public:
    PopupMenu() : m_menu(CreatePopupMenu()) {}
    ~PopupMenu() {
        if (m_menu != nullptr) {
            DestroyMenu(m_menu);
        }
    }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    HMENU Get() const { return m_menu; }

private:
    HMENU m_menu;
};

}  // namespace

void CMenu::AppendMenu(unsigned flags, unsigned id, const CString& text) {
    const bool separator = (flags & MF_SEPARATOR) != 0;
    if (m_hMenu != nullptr) {
        ::AppendMenuW(m_hMenu, separator ? MF_SEPARATOR : MF_STRING, separator ? 0 : id,
                      separator ? nullptr : WideText(text));
        return;
    }
    if (separator) {
        m_items.push_back(Item{0, CString(), true});
    } else {
        m_items.push_back(Item{id, text, false});
    }
}

int CMenu::GetMenuItemCount() const {
    if (m_hMenu != nullptr) {
        const int count = ::GetMenuItemCount(m_hMenu);
        return count > 0 ? count : 0;
    }
    return static_cast<int>(m_items.size());
}

unsigned CMenu::GetMenuItemID(int position) const {
    if (position < 0 || position >= GetMenuItemCount()) {
        return 0;
    }
    if (m_hMenu != nullptr) {
        // A submenu answers -1; it is no command.
        const UINT id = ::GetMenuItemID(m_hMenu, position);
        return id == static_cast<UINT>(-1) ? 0 : id;
    }
    return m_items[static_cast<std::size_t>(position)].id;
}

CString CMenu::GetMenuString(int position) const {
    if (position < 0 || position >= GetMenuItemCount()) {
        return CString();
    }
    if (m_hMenu != nullptr) {
        const int length = ::GetMenuStringW(m_hMenu, position, nullptr, 0, MF_BYPOSITION);
        if (length <= 0) {
            return CString();
        }
        std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
        const int copied =
            ::GetMenuStringW(m_hMenu, position, buffer.data(), length + 1, MF_BYPOSITION);
        return FromWide(buffer.data(), copied);
    }
    return m_items[static_cast<std::size_t>(position)].text;
}

std::vector<CMenu::Item> CMenu::Items() const {
    if (m_hMenu == nullptr) {
        return m_items;
    }
    std::vector<Item> items;
    const int count = GetMenuItemCount();
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        const bool separator =
            ::GetMenuItemInfoW(m_hMenu, static_cast<UINT>(position), TRUE, &info) &&
            (info.fType & MFT_SEPARATOR) != 0;
        if (separator) {
            items.push_back(Item{0, CString(), true});
        } else {
            items.push_back(Item{GetMenuItemID(position), GetMenuString(position), false});
        }
    }
    return items;
}

unsigned TrackSystemWindowMenu(const CMenu& menu, HWND owner, int screenX, int screenY) {
    constexpr UINT kFlags = TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY;
    // The menu closes on a click elsewhere only when its owner is in front.
    SetForegroundWindow(owner);
    if (menu.m_hMenu != nullptr) {
        return static_cast<unsigned>(
            TrackPopupMenu(menu.m_hMenu, kFlags, screenX, screenY, 0, owner, nullptr));
    }
    const PopupMenu shown;
    if (shown.Get() == nullptr) {
        return 0;
    }
    for (const CMenu::Item& item : menu.Items()) {
        if (item.separator) {
            AppendMenuW(shown.Get(), MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(shown.Get(), MF_STRING, item.id, WideText(item.text));
        }
    }
    return static_cast<unsigned>(
        TrackPopupMenu(shown.Get(), kFlags, screenX, screenY, 0, owner, nullptr));
}
