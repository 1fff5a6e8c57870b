// The space query on Windows: the free space and the file system of the
// volume that holds the path.
#include <string>

#include "platform/file_api.h"
#include "platform/space_query.h"

namespace {

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

// The full path of `path`; empty when the system cannot make one.
std::wstring FullPath(const char16_t* path) {
    if (path == nullptr) {
        return {};
    }
    std::wstring full(MAX_PATH + 1, L'\0');
    DWORD length =
        GetFullPathNameW(Wide(path), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {  // too short: the length needed, with its terminator
        full.resize(length);
        length =
            GetFullPathNameW(Wide(path), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    return full;
}

}  // namespace

bool AskSystemForSpace(const char16_t* path, FileSystemSpace& space) {
    // The volume that holds the path (a drive's root or a mounted folder):
    // both calls below want a folder, and the path may name a file. A
    // relative path is made full first, from the working directory as the
    // file was opened from it; taken as typed, the volume found may be
    // another disk's.
    const std::wstring full = FullPath(path);
    std::wstring volume(full.size() + 2, L'\0');
    if (full.empty() ||
        !GetVolumePathNameW(full.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) {
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
