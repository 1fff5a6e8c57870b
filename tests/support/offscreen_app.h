// The window framework started over Qt for a program other than the window
// program itself (the window tests' main, the benchmark): Qt's offscreen
// platform, so no display is needed, unless QT_QPA_PLATFORM names another (a
// real display, to watch); then the framework's start-up as the program's
// main routine does it, undone when the object goes. Qt only.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include "framework/window/win_app.h"

class OffscreenApp {
public:
    // Qt keeps `argc` and `argv` for the life of the application.
    OffscreenApp(int& argc, char** argv) {
        // Read when the QApplication is made. CTest sets it for the tests too;
        // this covers a test program run by hand and the listing of its tests
        // at build time.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
        }
        m_started = AfxWinInit(argc, argv);
    }
    ~OffscreenApp() {
        if (m_started) {
            AfxWinTerm();
        }
    }
    OffscreenApp(const OffscreenApp&) = delete;
    OffscreenApp& operator=(const OffscreenApp&) = delete;

    bool started() const { return m_started; }

private:
    bool m_started;
};
