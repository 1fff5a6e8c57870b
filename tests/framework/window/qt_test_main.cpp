// The main of the window tests: Qt on the offscreen platform (no display
// needed), the framework initialised as the program's main routine does it,
// then every test.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include "framework/window/win_app.h"

int main(int argc, char** argv) {
    // CTest sets it too; this covers running the test program by hand and the
    // test listing at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    }
    ::testing::InitGoogleTest(&argc, argv);
    static int qtArgc = 1;
    AfxWinInit(qtArgc, argv);
    const int result = RUN_ALL_TESTS();
    AfxWinTerm();
    return result;
}
