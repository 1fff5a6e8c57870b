#include "framework/window/win_app.h"

#include <QApplication>
#include <QFileInfo>

#include "framework/window/message_pump.h"
#include "framework/window/qt/qt_text.h"

int CWinApp::Run() {
    QApplication::exec();
    return ExitInstance();
}

CString ProgramFileTitle() {
    const QString path = QCoreApplication::applicationFilePath();
    return FromQt(QFileInfo(path).completeBaseName());
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
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pszAppName == nullptr) {
        app->m_strAppName = ProgramFileTitle();
        app->m_pszAppName = app->m_strAppName.GetString();
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

void PumpWaitingMessages() {
    QCoreApplication::processEvents();
}
