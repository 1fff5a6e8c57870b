// Which reparse points the program treats as links when it writes: only the
// ones that name another file or folder. A `temp` in a folder kept in sync
// with a cloud service carries a reparse point too, and must stay writable.
#include "platform/reparse_point.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(ReparsePoint, OnlyNameSurrogatesAreLinks) {
    struct Case {
        const char* what;
        std::uint32_t attributes;
        std::uint32_t tag;
        bool link;
    };
    constexpr std::uint32_t kReparse = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT
    constexpr std::uint32_t kArchive = 0x20;   // FILE_ATTRIBUTE_ARCHIVE
    const std::vector<Case> cases = {
        {"a symbolic link", kReparse | kArchive, 0xA000000C, true},
        {"a junction or mount point", kReparse, 0xA0000003, true},
        {"a link made by the Linux subsystem", kReparse, 0xA000001D, true},
        {"a cloud placeholder", kReparse | kArchive, 0x9000001A, false},
        {"a cloud placeholder of another provider", kReparse, 0x9000601A, false},
        {"a OneDrive file", kReparse, 0x80000021, false},
        {"a deduplicated file", kReparse, 0x80000013, false},
        {"an app execution alias", kReparse, 0x8000001B, false},
        {"a plain file with a stale tag", kArchive, 0xA000000C, false},
        {"a plain file", kArchive, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsLinkReparsePoint(c.attributes, c.tag), c.link) << c.what;
    }
}

}  // namespace
