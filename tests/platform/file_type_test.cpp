// What GetFileType tells of an open handle: a file on a medium, a character
// device, a pipe, and what a failed query gives.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#include <utility>
#include <vector>

#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "tests/support/temp_dir.h"

namespace {

// Opens `path` for reading as the split opens its source.
HANDLE OpenToRead(const CString& path) {
    return CreateFileW(reinterpret_cast<LPCWSTR>(path.GetString()), GENERIC_READ, FILE_SHARE_READ,
                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// The type of whatever `path` names, and the error number after the query.
std::pair<DWORD, DWORD> TypeOf(const CString& path) {
    const HANDLE h = OpenToRead(path);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << path.ToUtf8();
    SetLastError(ERROR_ACCESS_DENIED);
    const DWORD type = GetFileType(h);
    const DWORD error = GetLastError();
    CloseHandle(h);
    return {type, error};
}

TEST(GetFileType, AFileIsDiskAndADeviceOrAPipeIsNot) {
    TempDir dir;
    WriteAll(dir.path() / "source.bin", PatternBytes(10));
    std::vector<std::pair<CString, DWORD>> cases = {{dir.Child("source.bin"), FILE_TYPE_DISK}};
#ifdef _WIN32
    cases.push_back({CString(u"NUL"), FILE_TYPE_CHAR});
#else
    ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    cases.push_back({CString(u"/dev/zero"), FILE_TYPE_CHAR});
    cases.push_back({dir.Child("fifo"), FILE_TYPE_PIPE});
    if (::access("/dev/loop0", R_OK) == 0) {
        cases.push_back({CString(u"/dev/loop0"), FILE_TYPE_UNKNOWN});
    }
#endif
    for (const auto& [path, type] : cases) {
        const auto [got, error] = TypeOf(path);
        EXPECT_EQ(got, type) << path.ToUtf8();
        if (type == FILE_TYPE_UNKNOWN) {
            // Told apart from a failed query by error number 0.
            EXPECT_EQ(error, 0u) << path.ToUtf8();
        }
    }
}

TEST(GetFileType, AFailedQueryIsUnknownWithTheFailuresNumber) {
    if (!fault_injection::SupportsSystemCalls()) {
        GTEST_SKIP() << "the status query of kernel32 itself cannot be made to fail";
    }
#ifndef _WIN32
    TempDir dir;
    WriteAll(dir.path() / "source.bin", PatternBytes(10));
    const HANDLE h = OpenToRead(dir.Child("source.bin"));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    fault_injection::FailSystemCall(fault_injection::SystemCall::fstat, EIO);
    EXPECT_EQ(GetFileType(h), FILE_TYPE_UNKNOWN);
    EXPECT_EQ(GetLastError(), 23u);
    fault_injection::ClearFailures();
    CloseHandle(h);
#endif
}

}  // namespace
