// CFile64::SetLength: a file cut back or extended to a 64-bit length, and a
// cut that the platform refuses.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "engine/file64.h"
#include "platform/fault_injection.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

TEST_F(File64Test, SetLengthCutsTheFileAndLeavesThePositionAtItsNewEnd) {
    const auto bytes = PatternBytes(1000, 3);
    const CString path = MakeFile("temp", bytes);
    CFile64 f;
    ASSERT_TRUE(OpenResult(f, path));
    f.Seek(900, CFile64::begin, TRUE);
    f.SetLength(123);
    EXPECT_EQ(f.GetPosition(), 123);
    EXPECT_EQ(f.GetLength(), 123);
    f.Close();
    EXPECT_EQ(ReadAll(dir.path() / "temp"), Slice(bytes, 0, 123));
}

TEST_F(File64Test, SetLengthWorksBeyondFourGiB) {
    const CString path = MakeFile("temp", PatternBytes(10, 4));
    CFile64 f;
    ASSERT_TRUE(OpenResult(f, path));
    f.SetLength(k4GiB + 5);
    EXPECT_EQ(f.GetLength(), k4GiB + 5);
    f.SetLength(7);
    f.Close();
    EXPECT_EQ(ReadAll(dir.path() / "temp"), Slice(PatternBytes(10, 4), 0, 7));
}

TEST_F(File64Test, ARefusedCutRaisesWithTheFilesPathAndChangesNothing) {
    if (!fault_injection::SupportsSystemCalls()) {
        GTEST_SKIP() << "kernel32's own SetEndOfFile cannot be made to fail";
    }
    const auto bytes = PatternBytes(100, 5);
    const CString path = MakeFile("temp", bytes);
    CFile64 f;
    ASSERT_TRUE(OpenResult(f, path));
    fault_injection::FailSystemCall(fault_injection::SystemCall::ftruncate, EROFS);
    EXPECT_EQ(Catch([&] { f.SetLength(10); }),
              Expected(CFileException::accessDenied, 19, path.ToUtf8(),
                       path.ToUtf8() + " へのｱｸｾｽは拒否されました。"));
    EXPECT_TRUE(f.IsOpen());
    f.Close();
    EXPECT_EQ(ReadAll(dir.path() / "temp"), bytes);
}

}  // namespace
