// The space query on Windows asks the volume that really holds the path,
// also when the path is relative to the working directory. Built on Windows
// only; the Linux query is tested on real file systems (room_on_real_media).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/space_query.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(SpaceQueryWin32Test, ARelativePathIsAskedOfTheVolumeThatHoldsIt) {
    TempDir dir;
    WriteAll(dir.path() / "temp", {1, 2, 3});
    std::wstring previous(MAX_PATH + 1, L'\0');
    previous.resize(GetCurrentDirectoryW(static_cast<DWORD>(previous.size()), previous.data()));
    ASSERT_TRUE(SetCurrentDirectoryW(dir.path().wstring().c_str()));
    FileSystemSpace relative;
    FileSystemSpace full;
    const bool relativeAnswered = QueryFileSystemSpace(u"temp", relative);
    const bool fullAnswered = QueryFileSystemSpace(dir.Child("temp"), full);
    SetCurrentDirectoryW(previous.c_str());
    EXPECT_TRUE(relativeAnswered);
    ASSERT_TRUE(fullAnswered);
    EXPECT_EQ(relative.fat, full.fat);
    EXPECT_GT(relative.freeBytes, 0u);
}

}  // namespace
