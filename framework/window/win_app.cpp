#include "framework/window/win_app.h"

#include "framework/window/dialog.h"

IMPLEMENT_DYNAMIC(CWinApp, CObject)

namespace {

// A plain pointer: set during static initialisation, before any object with a
// constructor of this file may be ready.
CWinApp* g_pApp = nullptr;

}  // namespace

CWinApp::CWinApp(const char16_t* appName) : m_pszAppName(appName) {
    if (g_pApp == nullptr) {
        g_pApp = this;
    }
}

CWinApp::~CWinApp() {
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

BOOL CWinApp::OnCmdMsg(unsigned) {
    return FALSE;
}

void CWinApp::OnHelp() {
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->ShowHelp();
    }
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CString AfxGetAppName() {
    if (g_pApp != nullptr && g_pApp->m_pszAppName != nullptr) {
        return CString(g_pApp->m_pszAppName);
    }
    return ProgramFileTitle();
}
