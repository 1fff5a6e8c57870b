// The file services on Windows: kernel32 itself, plus the program's size query
// and path lookup in Windows terms.
#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "platform/injection_point.h"

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

bool IsLinkHandle(HANDLE hFile) {
    BY_HANDLE_FILE_INFORMATION information{};
    // A handle that cannot say what it is on is not trusted with the data.
    return !GetFileInformationByHandle(hFile, &information) ||
           (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool QueryFileSystemSpace(const char16_t* path, FileSystemSpace& space) {
    DWORD ignored = ERROR_SUCCESS;  // the query reports no error number, only false
    if (fault_injection::TakeFailure(fault_injection::Call::QueryFileSystemSpace, ignored)) {
        return false;
    }
    if (const auto faked = fault_injection::FakedFileSystemSpace()) {
        space = *faked;
        return true;
    }
    // The volume that holds the path (a drive's root or a mounted folder):
    // both calls below want a folder, and the path may name a file.
    std::wstring volume(MAX_PATH + 1, L'\0');
    if (path == nullptr ||
        !GetVolumePathNameW(Wide(path), volume.data(), static_cast<DWORD>(volume.size()))) {
        return false;
    }
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(volume.c_str(), &available, nullptr, nullptr)) {
        return false;
    }
    wchar_t fileSystem[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(volume.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                               MAX_PATH + 1)) {
        return false;
    }
    space.freeBytes = available.QuadPart;
    // "FAT" (FAT12 and FAT16) and "FAT32"; exFAT has no 4 GiB limit.
    const std::wstring name(fileSystem);
    space.fat = name == L"FAT" || name == L"FAT32";
    return true;
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
