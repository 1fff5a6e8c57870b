// The main of the window tests on Windows: the framework initialised as the
// program's main routine does it, the window driver's failures bound to
// GoogleTest, then every test. Windows appear on the desktop the tests run on
// (under Wine, a virtual X server's).
#include <gtest/gtest.h>

#include "framework/window/win_app.h"
#include "tests/support/window_driver_gtest.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxWinInit(argc, argv);
    ReportDriverFailuresThroughGoogleTest();
    const int result = RUN_ALL_TESTS();
    AfxWinTerm();
    return result;
}
