#include "bench/offscreen_qt.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "bench/bench_error.h"
#include "framework/window/win_app.h"

OffscreenQt::OffscreenQt() {
    // Must be set before the QApplication is made; a platform the user named
    // (a real display, to watch the presses) is kept.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    }
    // Qt keeps references to both for the life of the application.
    static int argc = 1;
    static char name[] = "tesserak_bench";
    static char* argv[] = {name, nullptr};
    if (!AfxWinInit(argc, argv)) {
        throw BenchError("cannot initialise the window framework on the Qt platform " +
                         qEnvironmentVariable("QT_QPA_PLATFORM").toStdString());
    }
}

OffscreenQt::~OffscreenQt() {
    AfxWinTerm();
}
