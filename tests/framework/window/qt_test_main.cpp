// The main of the window tests: the framework started on Qt's offscreen
// platform (no display needed) as the program's main routine starts it, the
// window driver's failures bound to GoogleTest, then every test.
#include <gtest/gtest.h>

#include "tests/support/offscreen_app.h"
#include "tests/support/window_driver_gtest.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    static int qtArgc = 1;
    const OffscreenApp app(qtArgc, argv);
    ReportDriverFailuresThroughGoogleTest();
    return RUN_ALL_TESTS();
}
