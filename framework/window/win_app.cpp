#include "framework/window/win_app.h"

#include <QApplication>
#include <QFileInfo>

#include "framework/window/dialog.h"
#include "framework/window/qt_text.h"

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

int CWinApp::Run() {
    QApplication::exec();
    return ExitInstance();
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

CString ProgramFileTitle() {
    const QString path = QCoreApplication::applicationFilePath();
    return FromQt(QFileInfo(path).completeBaseName());
}

CString AfxGetAppName() {
    if (g_pApp != nullptr && g_pApp->m_pszAppName != nullptr) {
        return CString(g_pApp->m_pszAppName);
    }
    return ProgramFileTitle();
}

namespace {

// The one QApplication, from AfxWinInit to AfxWinTerm. Never left to the exit
// list: Qt's own statics may be gone by then.
QApplication* g_pApplication = nullptr;

}  // namespace

bool AfxWinInit(int& argc, char** argv) {
    if (g_pApplication == nullptr && QCoreApplication::instance() == nullptr) {
        g_pApplication = new QApplication(argc, argv);
    }
    // The dialog's modal loop, not the last window, decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    if (g_pApp != nullptr && g_pApp->m_pszAppName == nullptr) {
        g_pApp->m_strAppName = ProgramFileTitle();
        g_pApp->m_pszAppName = g_pApp->m_strAppName.GetString();
    }
    QCoreApplication::setApplicationName(ToQt(AfxGetAppName()));
    return true;
}

void AfxWinTerm() {
    delete g_pApplication;
    g_pApplication = nullptr;
}

int AfxWinMain(int argc, char** argv) {
    static int s_argc;
    s_argc = argc;
    // Qt is ended only by the routine that began it (a test may call this
    // routine inside a running QApplication).
    const bool ownsQt = g_pApplication == nullptr && QCoreApplication::instance() == nullptr;
    int result = -1;
    if (AfxWinInit(s_argc, argv)) {
        if (CWinApp* app = AfxGetApp()) {
            result = app->InitInstance() ? app->Run() : app->ExitInstance();
        }
    }
    if (ownsQt) {
        AfxWinTerm();
    }
    return result;
}
