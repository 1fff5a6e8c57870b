// CWnd: a window of the program as the framework sees it whatever its kind:
// its handle and its help. The application's main window is one
// (CWinApp::m_pMainWnd), so the application and the owner rule know windows
// without knowing dialogs; CDialog, the program's one kind of window, is the
// only class that gives a CWnd its handle.
#pragma once

#include "framework/core/object.h"
#include "framework/window/window_handle.h"

class CWnd : public CObject {
    DECLARE_DYNAMIC(CWnd)
public:
    ~CWnd() override = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window, null when it does not exist.
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The window's help, shown by the framework's default help handling
    // (F1) when this is the main window. Shows nothing by default.
    virtual void ShowHelp();

protected:
    CWnd() = default;

private:
    friend class CDialog;
    HWND m_hWnd = nullptr;
};
