// What a file system can still take, as the space query (space_query.h)
// reports it.
#pragma once

#include <cstdint>

struct FileSystemSpace {
    // Bytes this process may still write there.
    std::uint64_t freeBytes = 0;
    // FAT12, FAT16 or FAT32, which hold no file of 4 GiB or more.
    bool fat = false;
};

// The largest file a FAT file system holds: 4 GiB - 1 bytes.
inline constexpr std::uint64_t kFatLargestFile = 0xFFFFFFFFu;
