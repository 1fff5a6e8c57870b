#include "framework/window/window_menu.h"

#include <utility>

#include "framework/window/system_window_menu.h"

namespace {

WindowMenuHook& Hook() {
    static WindowMenuHook hook;
    return hook;
}

// A menu with its own list of the items `menu` holds now: the hook may keep
// it after the window, and with it the system's menu, is gone.
CMenu Snapshot(const CMenu& menu) {
    CMenu copy;
    for (const CMenu::Item& item : menu.Items()) {
        if (item.separator) {
            copy.AppendMenu(MF_SEPARATOR);
        } else {
            copy.AppendMenu(MF_STRING, item.id, item.text);
        }
    }
    return copy;
}

}  // namespace

CMenu CMenu::PlatformWindowMenu() {
    CMenu menu;
    menu.AppendMenu(MF_STRING, SC_MOVE, u"移動(&M)");
    menu.AppendMenu(MF_STRING, SC_CLOSE, u"閉じる(&C)\tAlt+F4");
    return menu;
}

unsigned TrackWindowMenu(const CMenu& menu, HWND owner, int screenX, int screenY) {
    if (Hook()) {
        // A copy: the hook may replace itself while it runs.
        WindowMenuHook hook = Hook();
        return hook(Snapshot(menu));
    }
    return TrackSystemWindowMenu(menu, owner, screenX, screenY);
}

WindowMenuHook SetWindowMenuHook(WindowMenuHook hook) {
    return std::exchange(Hook(), std::move(hook));
}
