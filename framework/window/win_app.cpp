#include "framework/window/win_app.h"

#include "framework/window/wnd.h"

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

int CWinApp::Run() {
    RunMessageLoop();
    return ExitInstance();
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

bool AfxWinInit(int& argc, char** argv) {
    StartWindowSystem(argc, argv);
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pszAppName == nullptr) {
        app->m_strAppName = ProgramFileTitle();
        app->m_pszAppName = app->m_strAppName.GetString();
    }
    NameApplication(AfxGetAppName());
    return true;
}

void AfxWinTerm() {
    EndWindowSystem();
}

int AfxWinMain(int argc, char** argv) {
    // The window system may keep a reference to the count (Qt does).
    static int s_argc;
    s_argc = argc;
    // The window system is ended only by the routine that began it (a test
    // may call this routine inside a running one).
    const bool began = !WindowSystemStarted();
    int result = -1;
    if (AfxWinInit(s_argc, argv)) {
        if (CWinApp* app = AfxGetApp()) {
            result = app->InitInstance() ? app->Run() : app->ExitInstance();
        }
    }
    if (began) {
        AfxWinTerm();
    }
    return result;
}
