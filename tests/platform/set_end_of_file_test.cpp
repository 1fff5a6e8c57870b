// SetEndOfFile: a file cut back at the handle's position, and a failing or
// interrupted cut.
#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "tests/support/temp_dir.h"

namespace {

class SetEndOfFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fault_injection::ClearFailures();
        WriteAll(dir.path() / "temp", bytes);
        // Others may read it, so the test can look at the file meanwhile.
        const CString path = dir.Child("temp");
        h = CreateFileW(reinterpret_cast<LPCWSTR>(path.GetString()), GENERIC_WRITE, FILE_SHARE_READ,
                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ASSERT_EQ(SetFilePointer(h, 40, nullptr, FILE_BEGIN), 40u);
    }
    void TearDown() override {
        fault_injection::ClearFailures();
        CloseHandle(h);
    }

    TempDir dir;
    const std::vector<unsigned char> bytes = PatternBytes(100, 7);
    HANDLE h = INVALID_HANDLE_VALUE;
};

TEST_F(SetEndOfFileTest, CutsTheFileAtThePosition) {
    EXPECT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(GetFileSize(h, nullptr), 40u);
    EXPECT_EQ(ReadAll(dir.path() / "temp"),
              std::vector<unsigned char>(bytes.begin(), bytes.begin() + 40));
}

TEST_F(SetEndOfFileTest, AFailingCutLeavesTheFileWithTheFailuresNumber) {
    if (!fault_injection::SupportsSystemCalls()) {
        GTEST_SKIP() << "kernel32's own SetEndOfFile cannot be made to fail";
    }
    fault_injection::FailSystemCall(fault_injection::SystemCall::ftruncate, EIO);
    EXPECT_FALSE(SetEndOfFile(h));
    EXPECT_EQ(GetLastError(), 23u);
    EXPECT_EQ(ReadAll(dir.path() / "temp"), bytes);
    // An interrupted cut is made again.
    fault_injection::FailSystemCall(fault_injection::SystemCall::ftruncate, EINTR);
    EXPECT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(ReadAll(dir.path() / "temp").size(), 40u);
}

}  // namespace
