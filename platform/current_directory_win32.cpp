// The working directory and the argument vector on Windows: the runtime's own.
#include <direct.h>
#include <stdlib.h>

#include <string>

#include "platform/current_directory.h"

namespace {

std::u16string& FirstArgument() {
    static std::u16string text;
    return text;
}

bool g_haveFirstArgument = false;

}  // namespace

char16_t* GetCurrentDirectoryText(char16_t* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return nullptr;
    }
    buffer[0] = u'\0';
    if (_wgetcwd(reinterpret_cast<wchar_t*>(buffer), size) == nullptr) {
        buffer[0] = u'\0';
        return nullptr;
    }
    return buffer;
}

const char16_t* ProgramFirstArgument() {
    if (!g_haveFirstArgument) {
        FirstArgument() = __wargv != nullptr && __wargv[0] != nullptr
                              ? std::u16string(reinterpret_cast<const char16_t*>(__wargv[0]))
                              : std::u16string();
        g_haveFirstArgument = true;
    }
    return FirstArgument().c_str();
}
