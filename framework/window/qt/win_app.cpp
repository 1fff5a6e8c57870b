// The application's start and end over Qt: the one QApplication.
#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QString>

#include "framework/window/qt/system_text.h"
#include "framework/window/win_app.h"

namespace {

// The one QApplication, from AfxWinInit to AfxWinTerm. Never left to the exit
// list: Qt's own statics may be gone by then.
QApplication* g_pApplication = nullptr;

}  // namespace

CString ProgramFileTitle() {
    const QString path = QCoreApplication::applicationFilePath();
    return FromQt(QFileInfo(path).completeBaseName());
}

bool WindowSystemStarted() {
    return g_pApplication != nullptr || QCoreApplication::instance() != nullptr;
}

void StartWindowSystem(int& argc, char** argv) {
    if (!WindowSystemStarted()) {
        g_pApplication = new QApplication(argc, argv);
    }
    // The dialog's modal loop, not the last window, decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
}

void NameApplication(const CString& name) {
    QCoreApplication::setApplicationName(ToQt(name));
    // The application id the windows announce on Wayland.
    const CWinApp* app = AfxGetApp();
    QGuiApplication::setDesktopFileName(app != nullptr && app->m_pszDesktopEntryName != nullptr
                                            ? ToQt(CString(app->m_pszDesktopEntryName))
                                            : QString());
}

void RunMessageLoop() {
    QApplication::exec();
}

void EndWindowSystem() {
    delete g_pApplication;
    g_pApplication = nullptr;
}
