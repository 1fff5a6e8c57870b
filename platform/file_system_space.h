// What a file system can still take: the program's own space query.
#pragma once

#include <cstdint>

struct FileSystemSpace {
    // Bytes this user may still write there.
    std::uint64_t freeBytes = 0;
    // FAT12, FAT16 or FAT32, which hold no file of 4 GiB or more.
    bool fat = false;
};

// The largest file a FAT file system holds: 4 GiB - 1 bytes.
inline constexpr std::uint64_t kFatLargestFile = 0xFFFFFFFFu;

// What the file system that holds `path` (an existing file or folder) can
// still take. True with `space` filled; false when the system cannot say,
// and then nothing is known (callers go on as if there were room).
bool QueryFileSystemSpace(const char16_t* path, FileSystemSpace& space);
