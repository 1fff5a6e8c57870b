#include "framework/window/window_menu.h"

#include <QAction>
#include <QMenu>
#include <QPoint>

#include "framework/window/qt/qt_text.h"
#include "framework/window/system_window_menu.h"

void CMenu::AppendMenu(unsigned flags, unsigned id, const CString& text) {
    if ((flags & MF_SEPARATOR) != 0) {
        m_items.push_back(Item{0, CString(), true});
    } else {
        m_items.push_back(Item{id, text, false});
    }
}

int CMenu::GetMenuItemCount() const {
    return static_cast<int>(m_items.size());
}

std::vector<CMenu::Item> CMenu::Items() const {
    return m_items;
}

unsigned CMenu::GetMenuItemID(int position) const {
    if (position < 0 || position >= GetMenuItemCount()) {
        return 0;
    }
    return m_items[static_cast<std::size_t>(position)].id;
}

CString CMenu::GetMenuString(int position) const {
    if (position < 0 || position >= GetMenuItemCount()) {
        return CString();
    }
    return m_items[static_cast<std::size_t>(position)].text;
}

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
