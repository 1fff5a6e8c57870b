// The path look-ups on Linux.
#include <sys/stat.h>

#include <string>

#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "platform/injection_point.h"
#include "platform/path_lookup.h"
#include "platform/system_calls_posix.h"
#include "platform/utf.h"

namespace {

// A path that is not well-formed UTF-16 (a lone surrogate) has no Linux name.
bool ToUtf8Path(const char16_t* path, std::string& out) {
    return path != nullptr && Utf16ToUtf8(std::u16string_view(path), out);
}

}  // namespace

std::int64_t QueryFileSizeByPath(const char16_t* path) {
    if (DWORD error = ERROR_SUCCESS;
        fault_injection::TakeFailure(fault_injection::Call::QueryFileSizeByPath, error)) {
        SetLastError(error);
        return -1;
    }
    std::string utf8;
    struct stat st {};
    if (!ToUtf8Path(path, utf8) || sys::Stat(utf8.c_str(), &st) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>(st.st_size);
}

PathEntryKind LookUpPathEntry(const char16_t* path) {
    std::string utf8;
    if (!ToUtf8Path(path, utf8) || utf8.empty()) {
        return PathEntryKind::nothing;
    }
    // The entry itself, not what a link points to: a dangling link still
    // occupies the name, and a create there fails.
    struct stat st {};
    if (sys::Lstat(utf8.c_str(), &st) != 0) {
        return PathEntryKind::nothing;
    }
    std::string last = utf8;
    while (last.size() > 1 && last.back() == '/') {
        last.pop_back();
    }
    const std::size_t slash = last.find_last_of('/');
    if (slash != std::string::npos) {
        last = last.substr(slash + 1);
    }
    if (last == "." || last == "..") {
        return PathEntryKind::dotEntry;
    }
    return S_ISDIR(st.st_mode) ? PathEntryKind::directory : PathEntryKind::file;
}
