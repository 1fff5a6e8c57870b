// The main of the Windows window tests: the framework initialised as the
// program's main routine does it, then every test.
#include <gtest/gtest.h>

#include "framework/window/win_app.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxWinInit(argc, argv);
    const int result = RUN_ALL_TESTS();
    AfxWinTerm();
    return result;
}
