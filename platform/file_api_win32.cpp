// The file services on Windows: kernel32 itself, plus the program's size query
// and path lookup in Windows terms.
#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "platform/fault_injection.h"
#include "platform/file_api.h"

namespace {

thread_local bool t_sizeQueryFails = false;
thread_local int t_sizeQuerySkip = 0;

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

bool TakeInjectedSizeFailure() {
    if (!t_sizeQueryFails) {
        return false;
    }
    if (t_sizeQuerySkip > 0) {
        --t_sizeQuerySkip;
        return false;
    }
    t_sizeQueryFails = false;
    return true;
}

}  // namespace

std::int64_t QueryFileSizeByPath(const char16_t* path) {
    if (TakeInjectedSizeFailure()) {
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

namespace fault_injection {

void FailCall(Call call, DWORD error, int skip) {
    if (call == Call::QueryFileSizeByPath) {
        t_sizeQueryFails = true;
        t_sizeQuerySkip = skip;
        (void)error;  // the size query reports no error number, only -1
    }
}

void ClearFailures() {
    t_sizeQueryFails = false;
    t_sizeQuerySkip = 0;
}

bool Supports(Call call) {
    return call == Call::QueryFileSizeByPath;
}

}  // namespace fault_injection
