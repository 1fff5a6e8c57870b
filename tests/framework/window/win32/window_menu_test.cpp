// The main dialog's window menu on Windows: every way of opening it that the
// dialog handles itself reaches the window menu hook with the system menu's
// items and the About item last, and the About item opens the About box owned
// by the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/window/win32/system_text.h"
#include "framework/window/win_app.h"
#include "framework/window/window_menu.h"
#include "resources/resource.h"
#include "tests/support/cstring_printer.h"
#include "tests/support/window_driver.h"
#include "ui/main_dialog.h"

namespace {

class RecordedMenus {
public:
    explicit RecordedMenus(unsigned choice) : m_choice(choice) {
        m_previous = SetWindowMenuHook([this](const CMenu& menu) {
            menus.push_back(menu);
            return m_choice;
        });
    }
    ~RecordedMenus() { SetWindowMenuHook(m_previous); }
    RecordedMenus(const RecordedMenus&) = delete;
    RecordedMenus& operator=(const RecordedMenus&) = delete;

    std::vector<CMenu> menus;

private:
    unsigned m_choice;
    WindowMenuHook m_previous;
};

TEST(WindowMenuWin32Test, RightClickKeyboardAndAltSpaceOpenTheSystemMenuWithAboutLast) {
    RecordedMenus recorded(0);
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                      HWND window = dlg.GetSafeHwnd();
                      POINT inside{20, 20};
                      ClientToScreen(window, &inside);
                      SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                                   MAKELPARAM(inside.x, inside.y));
                      SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1);
                      SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
                      EXPECT_TRUE(IsWindowVisible(window));
                  }});
    ASSERT_EQ(recorded.menus.size(), 3u);
    for (const CMenu& menu : recorded.menus) {
        EXPECT_EQ(menu.m_hMenu, nullptr);  // a copy that outlives the window
        const std::vector<CMenu::Item> items = menu.Items();
        ASSERT_GE(items.size(), 4u);
        EXPECT_EQ(items.back().text, CString(u"Tesserak のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
        EXPECT_EQ(items.back().id, static_cast<unsigned>(IDM_ABOUT));
        EXPECT_TRUE(items[items.size() - 2].separator);
        std::vector<unsigned> ids;
        for (const CMenu::Item& item : items) {
            ids.push_back(item.id & 0xFFF0);
        }
        EXPECT_NE(std::find(ids.begin(), ids.end(), static_cast<unsigned>(SC_MOVE)), ids.end());
        EXPECT_NE(std::find(ids.begin(), ids.end(), static_cast<unsigned>(SC_CLOSE)), ids.end());
    }
}

CString g_aboutTitle;
HWND g_aboutOwner = nullptr;

// Runs inside the About box's own modal loop: notes it and presses its OK.
void CALLBACK CloseAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND about = GetActiveWindow();
    g_aboutTitle = WindowTextOf(about);
    g_aboutOwner = GetWindow(about, GW_OWNER);
    SendMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
}

TEST(WindowMenuWin32Test, TheAboutItemOpensTheAboutBoxOwnedByTheMainWindow) {
    RecordedMenus recorded(IDM_ABOUT);
    CWinApp app;  // the About box's owner is the application's main window
    CSplitJoinDlg dlg;
    app.m_pMainWnd = &dlg;
    HWND main = nullptr;
    RunModalSteps(dlg, {[&] {
                      main = dlg.GetSafeHwnd();
                      SetTimer(nullptr, 0, 0, &CloseAbout);
                      SendMessageW(main, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(main), -1);
                      EXPECT_TRUE(IsWindowVisible(main));
                  }});
    EXPECT_EQ(g_aboutTitle, CString(u"Tesserakのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(g_aboutOwner, main);
}

TEST(WindowMenuWin32Test, TheCloseItemEndsTheDialogThroughItsCloseHandling) {
    RecordedMenus recorded(SC_CLOSE);
    CSplitJoinDlg dlg;
    EXPECT_EQ(RunModalSteps(dlg, {[&] {
                                SendMessageW(dlg.GetSafeHwnd(), WM_CONTEXTMENU,
                                             reinterpret_cast<WPARAM>(dlg.GetSafeHwnd()), -1);
                            }}),
              IDCANCEL);
}

}  // namespace
