// The Linux file layer's errno to Windows error number conversion. Linux
// only: on Windows the numbers are kernel32's own.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/errno_table.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(WindowsErrorFromErrno, EachErrnoGivesTheWindowsNumberOfTheSameMeaning) {
    const std::vector<std::pair<int, DWORD>> expected = {
        {0, 0},       {ENOENT, 2},         {ENOTDIR, 3},  {EACCES, 5},   {EPERM, 5},   {EISDIR, 5},
        {EEXIST, 80}, {EROFS, 19},         {ENOSPC, 112}, {EDQUOT, 112}, {EFBIG, 112}, {EMFILE, 4},
        {ENFILE, 4},  {ENAMETOOLONG, 206}, {EBADF, 6},    {EFAULT, 998}, {EIO, 23},    {ENODEV, 21},
        {ENXIO, 21},  {EAGAIN, 32},        {ETXTBSY, 32}, {EBUSY, 170},  {EXDEV, 17},
    };
    for (const auto& [error, number] : expected) {
        EXPECT_EQ(WindowsErrorFromErrno(error), number) << "errno " << error;
    }
}

TEST(WindowsErrorFromErrno, AMissingEntryIsAFileOrAFolderOnTheWay) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder");
    WriteAll(dir.path() / "plain", {1});
    // The folder exists, the file does not: 2.
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("folder/missing")), 2u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("missing")), 2u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, u"/no-such-file-at-the-root-of-tesserak"), 2u);
    // A folder on the way is missing, or is a file: 3.
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("missing/temp001")), 3u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("missing/deeper/temp001")), 3u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("plain/temp001")), 3u);
    // Without a path there is nothing to check: a missing file.
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, nullptr), 2u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT), 2u);
}

}  // namespace

#endif  // _WIN32
