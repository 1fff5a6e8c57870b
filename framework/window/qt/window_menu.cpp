// The window menu as a Qt menu. A dialog keeps its window menu itself here
// (Linux window managers take no items from a program), so no CMenu is bound
// to a menu of the system's.
#include <QAction>
#include <QMenu>
#include <QPoint>

#include "framework/window/qt/system_text.h"
#include "framework/window/window_menu.h"

std::vector<CMenu::Item> SystemMenuItems(HMENU) {
    return {};
}

void AppendSystemMenuItem(HMENU, const CMenu::Item&) {}

unsigned TrackSystemWindowMenu(const CMenu& menu, HWND owner, int screenX, int screenY) {
    QMenu shown(owner);
    for (const CMenu::Item& item : menu.Items()) {
        if (item.separator) {
            shown.addSeparator();
        } else {
            shown.addAction(ToQt(item.text))->setData(item.id);
        }
    }
    const QAction* chosen = shown.exec(QPoint(screenX, screenY));
    return chosen != nullptr ? chosen->data().toUInt() : 0;
}
