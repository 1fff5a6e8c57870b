// The window menu over the system's menus: a CMenu bound to a menu (m_hMenu,
// the dialog's system menu) works on it through the system's calls; one
// without is shown as a popup menu of the same items.
#include <vector>

#include "framework/window/win32/system_text.h"
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

bool IsSeparator(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) &&
           (info.fType & MFT_SEPARATOR) != 0;
}

CString ItemText(HMENU menu, int position) {
    const int length = ::GetMenuStringW(menu, position, nullptr, 0, MF_BYPOSITION);
    if (length <= 0) {
        return CString();
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = ::GetMenuStringW(menu, position, buffer.data(), length + 1, MF_BYPOSITION);
    return FromWide(buffer.data(), copied);
}

}  // namespace

std::vector<CMenu::Item> SystemMenuItems(HMENU menu) {
    std::vector<CMenu::Item> items;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (IsSeparator(menu, position)) {
            items.push_back(CMenu::Item{0, CString(), true});
        } else {
            // A submenu answers -1; it is no command.
            const UINT id = ::GetMenuItemID(menu, position);
            items.push_back(
                CMenu::Item{id == static_cast<UINT>(-1) ? 0 : id, ItemText(menu, position), false});
        }
    }
    return items;
}

void AppendSystemMenuItem(HMENU menu, const CMenu::Item& item) {
    ::AppendMenuW(menu, item.separator ? MF_SEPARATOR : MF_STRING, item.separator ? 0 : item.id,
                  item.separator ? nullptr : WideText(item.text));
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
        AppendSystemMenuItem(shown.Get(), item);
    }
    return static_cast<unsigned>(
        TrackPopupMenu(shown.Get(), kFlags, screenX, screenY, 0, owner, nullptr));
}
