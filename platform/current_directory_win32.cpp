// The working directory and the first argument on Windows: the runtime's
// directory query, and the first argument taken from the command line itself.
#include "platform/current_directory.h"  // first: windows.h, which shellapi.h needs

#include <direct.h>
#include <shellapi.h>

#include <memory>
#include <string>

namespace {

std::u16string& FirstArgument() {
    static std::u16string text;
    return text;
}

bool g_haveFirstArgument = false;

struct LocalFreer {
    void operator()(LPWSTR* memory) const { LocalFree(memory); }
};

// The program's full path; empty when the system gives none.
std::u16string ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            return std::u16string(reinterpret_cast<const char16_t*>(path.data()), length);
        }
        path.resize(path.size() * 2);  // cut short: ask again with room
    }
}

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
        // The runtime fills its wide argument vector only for a wide entry
        // point, and the program's main is narrow; so the command line is
        // split here, by the rules the runtime splits it by (the program's
        // name up to the first blank, quotes removed). For an empty command
        // line the split gives the program's full path, as the runtime does.
        int count = 0;
        const std::unique_ptr<LPWSTR, LocalFreer> arguments(
            CommandLineToArgvW(GetCommandLineW(), &count));
        FirstArgument() =
            arguments != nullptr && count > 0 && arguments.get()[0] != nullptr
                ? std::u16string(reinterpret_cast<const char16_t*>(arguments.get()[0]))
                : ModulePath();
        g_haveFirstArgument = true;
    }
    return FirstArgument().c_str();
}
