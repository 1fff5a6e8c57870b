// The path look-ups on Windows.
#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "platform/injection_point.h"
#include "platform/path_lookup.h"

namespace {

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

}  // namespace

std::int64_t QueryFileSizeByPath(const char16_t* path) {
    DWORD ignored = ERROR_SUCCESS;  // the size query reports no error number, only -1
    if (fault_injection::TakeFailure(fault_injection::Call::QueryFileSizeByPath, ignored)) {
        return -1;
    }
    struct _stat64 st {};
    if (path == nullptr || _wstat64(Wide(path), &st) != 0) {
        return -1;
    }
    return static_cast<std::int64_t>(st.st_size);
}

PathEntryKind LookUpPathEntry(const char16_t* path) {
    if (path == nullptr) {
        return PathEntryKind::nothing;
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(Wide(path), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return PathEntryKind::nothing;
    }
    FindClose(search);
    const std::wstring name(found.cFileName);
    if (name == L"." || name == L"..") {
        return PathEntryKind::dotEntry;
    }
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathEntryKind::directory
                                                                    : PathEntryKind::file;
}
