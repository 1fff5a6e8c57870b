// The program's first argument on Windows: the first token of the command
// line, whatever the runtime's own wide argument vector holds. Built on
// Windows only.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "platform/current_directory.h"

namespace {

// The program's name on `commandLine`: up to the first blank or tab outside
// quotes, the quotes dropped.
std::u16string FirstToken(const wchar_t* commandLine) {
    std::u16string token;
    bool quoted = false;
    for (; *commandLine != L'\0'; ++commandLine) {
        if (*commandLine == L'"') {
            quoted = !quoted;
        } else if (!quoted && (*commandLine == L' ' || *commandLine == L'\t')) {
            break;
        } else {
            token += static_cast<char16_t>(*commandLine);
        }
    }
    return token;
}

TEST(ProgramFirstArgumentWin32Test, IsTheFirstTokenOfTheCommandLine) {
    // A narrow main gets no wide argument vector from the runtime on Windows
    // (Wine fills one all the same), so the answer must not come from it.
    // Nothing in this test program asks for the first argument before here.
    wchar_t** const runtimeArguments = __wargv;
    __wargv = nullptr;
    const std::u16string first = ProgramFirstArgument();
    __wargv = runtimeArguments;
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, FirstToken(GetCommandLineW()));
}

}  // namespace
