#include "framework/window/window_menu.h"

#include <utility>

namespace {

WindowMenuHook& Hook() {
    static WindowMenuHook hook;
    return hook;
}

}  // namespace

void CMenu::AppendMenu(unsigned flags, unsigned id, const CString& text) {
    AppendItem((flags & MF_SEPARATOR) != 0 ? Item{0, CString(), true} : Item{id, text, false});
}

void CMenu::AppendItem(const Item& item) {
    if (m_hMenu != nullptr) {
        AppendSystemMenuItem(m_hMenu, item);
    } else {
        m_items.push_back(item);
    }
}

std::vector<CMenu::Item> CMenu::Items() const {
    return m_hMenu != nullptr ? SystemMenuItems(m_hMenu) : m_items;
}

int CMenu::GetMenuItemCount() const {
    return static_cast<int>(Items().size());
}

unsigned CMenu::GetMenuItemID(int position) const {
    const std::vector<Item> items = Items();
    return position >= 0 && position < static_cast<int>(items.size())
               ? items[static_cast<std::size_t>(position)].id
               : 0;
}

CString CMenu::GetMenuString(int position) const {
    const std::vector<Item> items = Items();
    return position >= 0 && position < static_cast<int>(items.size())
               ? items[static_cast<std::size_t>(position)].text
               : CString();
}

CMenu CMenu::Copy() const {
    CMenu copy;
    copy.m_items = Items();
    return copy;
}

CMenu CMenu::PlatformWindowMenu() {
    CMenu menu;
    menu.AppendMenu(MF_STRING, SC_MOVE, u"移動(&M)");
    menu.AppendMenu(MF_STRING, SC_CLOSE, u"閉じる(&C)\tAlt+F4");
    return menu;
}

unsigned TrackWindowMenu(const CMenu& menu, HWND owner, int screenX, int screenY) {
    if (Hook()) {
        // A copy of the hook, which may replace itself while it runs, and of
        // the items, which it may keep after the window and its menu are gone.
        WindowMenuHook hook = Hook();
        return hook(menu.Copy());
    }
    return TrackSystemWindowMenu(menu, owner, screenX, screenY);
}

WindowMenuHook SetWindowMenuHook(WindowMenuHook hook) {
    return std::exchange(Hook(), std::move(hook));
}
