// The working directory and the argument vector on Linux, as the Windows
// runtime gives them.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/current_directory.h"
#include "platform/errno_table.h"
#include "platform/utf.h"

namespace {

std::u16string& FirstArgument() {
    static std::u16string text;
    return text;
}

bool g_haveFirstArgument = false;

int g_argc = 0;
char** g_argv = nullptr;

// glibc hands argc, argv and envp to every function of .init_array. This one
// runs before every C++ static constructor of the program (priority 101, the
// first that programs may use), so the application object can read argv.
void CaptureArguments(int argc, char** argv, char**) {
    g_argc = argc;
    g_argv = argv;
}
__attribute__((section(".init_array.00101"),
               used)) void (*const kCaptureArguments)(int, char**, char**) = &CaptureArguments;

// The program's full path, for a command line without arguments.
std::string ProgramPath() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// argv[0] from the kernel's copy, where the runtime handed none to us.
std::string CommandLineFirstArgument() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return all.substr(0, all.find('\0'));
}

}  // namespace

BOOL SetCurrentDirectoryW(LPCWSTR path) {
    std::string utf8;
    if (path == nullptr || !Utf16ToUtf8(path, utf8)) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    if (chdir(utf8.c_str()) != 0) {
        SetLastError(WindowsErrorFromErrno(errno, path));
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

char16_t* GetCurrentDirectoryText(char16_t* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return nullptr;
    }
    buffer[0] = u'\0';
    char path[PATH_MAX];
    if (getcwd(path, sizeof(path)) == nullptr) {
        return nullptr;
    }
    const std::u16string text = Utf8ToUtf16(path);
    if (text.size() + 1 > static_cast<std::size_t>(size)) {
        return nullptr;
    }
    std::memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    return buffer;
}

const char16_t* ProgramFirstArgument() {
    if (!g_haveFirstArgument) {
        std::string first;
        if (g_argv != nullptr) {
            first = g_argc > 0 && g_argv[0] != nullptr ? g_argv[0] : ProgramPath();
        } else {
            first = CommandLineFirstArgument();
        }
        FirstArgument() = Utf8ToUtf16(first);
        g_haveFirstArgument = true;
    }
    return FirstArgument().c_str();
}
