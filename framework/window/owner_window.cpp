#include "framework/window/owner_window.h"

#include "framework/window/win_app.h"
#include "framework/window/wnd.h"

HWND ChooseOwnerWindow(HWND requested, const CWnd* opening) {
    if (const HWND active = ActiveModalWindow(); active != nullptr) {
        return active;
    }
    if (requested != nullptr) {
        return requested;
    }
    if (CWinApp* app = AfxGetApp();
        app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != opening) {
        return app->m_pMainWnd->GetSafeHwnd();
    }
    return nullptr;
}
