// The test seam: counting the file layer's system calls, failing a chosen one
// with an errno value, cutting a write short, and what the layer above makes
// of each, as it would of a real failure.
#include "platform/fault_injection.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/file_api.h"
#include "platform/path_lookup.h"
#include "tests/support/file_test.h"
#include "tests/support/temp_dir.h"
#ifndef _WIN32
#include "platform/errno_table.h"
#include "tests/platform/file_calls.h"
#endif

namespace {

using fault_injection::Call;
using fault_injection::SystemCall;

TEST(FaultInjection, SupportsSaysWhatCanBeMadeToFailHere) {
#ifdef _WIN32
    EXPECT_FALSE(fault_injection::Supports(Call::CloseHandle));
    EXPECT_FALSE(fault_injection::Supports(Call::GetFileSize));
    EXPECT_FALSE(fault_injection::Supports(Call::SetFilePointer));
    EXPECT_TRUE(fault_injection::Supports(Call::QueryFileSizeByPath));
    EXPECT_TRUE(fault_injection::Supports(Call::QueryFileSystemSpace));
    EXPECT_FALSE(fault_injection::SupportsSystemCalls());
#else
    EXPECT_TRUE(fault_injection::Supports(Call::CloseHandle));
    EXPECT_TRUE(fault_injection::Supports(Call::GetFileSize));
    EXPECT_TRUE(fault_injection::Supports(Call::SetFilePointer));
    EXPECT_TRUE(fault_injection::Supports(Call::QueryFileSizeByPath));
    EXPECT_TRUE(fault_injection::Supports(Call::QueryFileSystemSpace));
    EXPECT_TRUE(fault_injection::SupportsSystemCalls());
#endif
}

TEST(FaultInjection, EveryKindHasItsOwnName) {
    const std::vector<std::string> expected = {
        "open", "close", "read",    "write",         "lseek",     "fstat",  "stat",      "lstat",
        "lock", "fcntl", "fadvise", "syncFileRange", "fdatasync", "unlink", "ftruncate", "statfs",
    };
    ASSERT_EQ(fault_injection::kSystemCallKinds, expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(fault_injection::NameOf(static_cast<SystemCall>(i)), expected[i]);
    }
}

#ifndef _WIN32

using namespace file_calls;

constexpr DWORD kMiB = 1024 * 1024;

class SystemCallSeamTest : public FileTest {};

using Calls = std::map<std::string, std::int64_t>;

// --- Counting ------------------------------------------------------------------

TEST_F(SystemCallSeamTest, CountsEachCallOfAReadingOpenAndItsUse) {
    const auto bytes = PatternBytes(10);
    const CString path = MakeFile("source", bytes);

    fault_injection::CallCounter opening;
    const HANDLE h = OpenForReading(path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Counted(opening),
              (Calls{{"open", 1}, {"fstat", 1}, {"fcntl", 2}, {"lock", 1}, {"fadvise", 1}}));
    EXPECT_EQ(opening.Total(), 6);

    // A read that asks for more than is there: the data, then the end.
    fault_injection::CallCounter reading;
    std::vector<unsigned char> buffer(16, 0);
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(h, buffer.data(), 16, &got, nullptr));
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(Counted(reading), (Calls{{"read", 2}}));

    fault_injection::CallCounter querying;
    EXPECT_EQ(GetFileSize(h, nullptr), 10u);
    EXPECT_EQ(SetFilePointer(h, 4, nullptr, FILE_BEGIN), 4u);
    EXPECT_EQ(QueryFileSizeByPath(path), 10);
    EXPECT_EQ(LookUpPathEntry(path), PathEntryKind::file);
    EXPECT_EQ(Counted(querying), (Calls{{"fstat", 1}, {"lseek", 1}, {"stat", 1}, {"lstat", 1}}));

    // A file that was only read is not flushed.
    fault_injection::CallCounter closing;
    ASSERT_TRUE(CloseHandle(h));
    EXPECT_EQ(Counted(closing), (Calls{{"close", 1}}));
    EXPECT_EQ(opening.Total(), 6 + 2 + 4 + 1);
}

TEST_F(SystemCallSeamTest, CountsTheWritesAndTheCloseOfAWrittenFile) {
    // The write-behind is the program's own (write_behind_test.cpp): kernel32's
    // services write and close, nothing more.
    const CString path = dir.Child("temp001");
    const auto chunk = PatternBytes(kMiB);

    fault_injection::CallCounter all;
    const HANDLE h = CreatePiece(path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    fault_injection::CallCounter writing;
    for (int i = 0; i < 9; ++i) {
        DWORD put = 0;
        ASSERT_TRUE(WriteFile(h, chunk.data(), kMiB, &put, nullptr));
        ASSERT_EQ(put, kMiB);
    }
    EXPECT_EQ(Counted(writing), (Calls{{"write", 9}}));
    fault_injection::CallCounter closing;
    ASSERT_TRUE(CloseHandle(h));
    EXPECT_EQ(Counted(closing), (Calls{{"close", 1}}));
    EXPECT_EQ(Counted(all), (Calls{{"open", 1},
                                   {"fstat", 1},
                                   {"fcntl", 2},
                                   {"lock", 1},
                                   {"fadvise", 1},
                                   {"write", 9},
                                   {"close", 1}}));
    EXPECT_EQ(QueryFileSizeByPath(path), 9 * kMiB);
}

TEST_F(SystemCallSeamTest, CountersRunSideBySideAndClearFailuresLeavesThemCounting) {
    const CString path = MakeFile("source", PatternBytes(4));
    fault_injection::CallCounter outer;
    EXPECT_EQ(QueryFileSizeByPath(path), 4);
    fault_injection::CallCounter inner;
    EXPECT_EQ(QueryFileSizeByPath(path), 4);
    fault_injection::ClearFailures();
    EXPECT_EQ(LookUpPathEntry(path), PathEntryKind::file);
    EXPECT_EQ(Counted(outer), (Calls{{"stat", 2}, {"lstat", 1}}));
    EXPECT_EQ(Counted(inner), (Calls{{"stat", 1}, {"lstat", 1}}));
    EXPECT_EQ(outer.Total(), 3);
    EXPECT_EQ(inner.Total(), 2);
}

// --- Failing a call ------------------------------------------------------------

TEST_F(SystemCallSeamTest, AnEioOnReadFailsReadFileWithTheTablesNumber) {
    const auto bytes = PatternBytes(10);
    const HANDLE h = OpenForReading(MakeFile("source", bytes));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    fault_injection::FailSystemCall(SystemCall::read, EIO);
    std::vector<unsigned char> buffer(10, 0xEE);
    DWORD got = 99;
    EXPECT_FALSE(ReadFile(h, buffer.data(), 10, &got, nullptr));
    EXPECT_EQ(GetLastError(), 23u);  // ERROR_CRC: a hardware I/O error
    EXPECT_EQ(GetLastError(), WindowsErrorFromErrno(EIO));
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(fault_injection::LastFailure(), SystemCall::read);
    // Nothing was read: the next read starts at the beginning.
    EXPECT_TRUE(ReadFile(h, buffer.data(), 10, &got, nullptr));
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(buffer, bytes);
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(SystemCallSeamTest, TheNthCallOfOneKindFails) {
    const auto bytes = PatternBytes(30);
    const HANDLE h = OpenForReading(MakeFile("source", bytes));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    fault_injection::FailSystemCall(SystemCall::read, ENXIO, 2);
    std::vector<unsigned char> buffer(10);
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(h, buffer.data(), 10, &got, nullptr));
    EXPECT_TRUE(ReadFile(h, buffer.data(), 10, &got, nullptr));
    EXPECT_EQ(fault_injection::LastFailure(), std::nullopt);
    EXPECT_FALSE(ReadFile(h, buffer.data(), 10, &got, nullptr));
    EXPECT_EQ(GetLastError(), 21u);  // ERROR_NOT_READY: the medium is gone
    EXPECT_TRUE(ReadFile(h, buffer.data(), 10, &got, nullptr));
    EXPECT_EQ(buffer, std::vector<unsigned char>(bytes.begin() + 20, bytes.end()));
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(SystemCallSeamTest, TheNthCallOverallFailsWhateverItsKind) {
    const CString path = MakeFile("source", PatternBytes(10));
    // open, fstat, fcntl, fcntl, then the lock.
    fault_injection::FailSystemCall(EIO, 4);
    EXPECT_EQ(OpenForReading(path), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 23u);
    EXPECT_EQ(fault_injection::LastFailure(), SystemCall::lock);
    // The first call: the open itself.
    fault_injection::FailSystemCall(EMFILE);
    EXPECT_EQ(OpenForReading(path), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 4u);  // ERROR_TOO_MANY_OPEN_FILES
    EXPECT_EQ(fault_injection::LastFailure(), SystemCall::open);
    // Spent: the same open now succeeds.
    const HANDLE h = OpenForReading(path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(SystemCallSeamTest, AFailureOfTheKindWinsOverOneOfAnyKindDueOnTheSameCall) {
    const CString path = MakeFile("source", PatternBytes(10));
    fault_injection::FailSystemCall(EIO);
    fault_injection::FailSystemCall(SystemCall::open, EACCES);
    EXPECT_EQ(OpenForReading(path), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 5u);  // ERROR_ACCESS_DENIED
    // Both were spent by that one call.
    const HANDLE h = OpenForReading(path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(SystemCallSeamTest, ClearFailuresForgetsWhatHasNotHappenedAndTheLastFailure) {
    const auto bytes = PatternBytes(10);
    const CString path = MakeFile("source", bytes);
    fault_injection::FailSystemCall(SystemCall::stat, EIO);
    EXPECT_EQ(QueryFileSizeByPath(path), -1);
    EXPECT_EQ(fault_injection::LastFailure(), SystemCall::stat);

    fault_injection::FailSystemCall(SystemCall::read, EIO);
    fault_injection::FailSystemCall(EIO, 1);
    fault_injection::FailSystemCall(SystemCall::open, EIO);
    fault_injection::ShortenWrite(1, ENOSPC);
    fault_injection::FailCall(Call::CloseHandle, ERROR_ACCESS_DENIED);
    fault_injection::ClearFailures();
    EXPECT_EQ(fault_injection::LastFailure(), std::nullopt);
    const HANDLE h = OpenForReading(path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::vector<unsigned char> buffer(10);
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(h, buffer.data(), 10, &got, nullptr));
    EXPECT_EQ(buffer, bytes);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(fault_injection::LastFailure(), std::nullopt);
}

// --- Interrupted calls -----------------------------------------------------------

TEST_F(SystemCallSeamTest, AnInterruptedReadIsRetriedAndReadFileSucceeds) {
    const auto bytes = PatternBytes(10);
    const HANDLE h = OpenForReading(MakeFile("source", bytes));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    fault_injection::FailSystemCall(SystemCall::read, EINTR);
    fault_injection::CallCounter counter;
    std::vector<unsigned char> buffer(10);
    DWORD got = 0;
    EXPECT_TRUE(ReadFile(h, buffer.data(), 10, &got, nullptr));
    EXPECT_EQ(got, 10u);
    EXPECT_EQ(buffer, bytes);
    EXPECT_EQ(Counted(counter), (Calls{{"read", 2}}));
    EXPECT_EQ(fault_injection::LastFailure(), SystemCall::read);
    EXPECT_TRUE(CloseHandle(h));
}

// What a round trip through the services of the layer gives, as numbers:
// results, last errors and whether the data came back.
std::vector<std::int64_t> RoundTrip(const TempDir& dir) {
    std::vector<std::int64_t> seen;
    const CString piece = dir.Child("temp001");
    const auto bytes = PatternBytes(100);

    const HANDLE out = CreatePiece(piece);
    seen.push_back(out != INVALID_HANDLE_VALUE);
    seen.push_back(SetFilePointer(out, 1000, nullptr, FILE_BEGIN));
    DWORD put = 0;
    seen.push_back(WriteFile(out, bytes.data(), 100, &put, nullptr));
    seen.push_back(put);
    // A write-only handle refuses to read: "access denied", not "invalid handle".
    unsigned char byte = 0;
    DWORD got = 0;
    seen.push_back(ReadFile(out, &byte, 1, &got, nullptr));
    seen.push_back(GetLastError());
    seen.push_back(GetFileSize(out, nullptr));
    seen.push_back(CloseHandle(out));

    seen.push_back(QueryFileSizeByPath(piece));
    seen.push_back(static_cast<std::int64_t>(LookUpPathEntry(piece)));
    const HANDLE in = OpenForReading(piece);
    seen.push_back(in != INVALID_HANDLE_VALUE);
    seen.push_back(SetFilePointer(in, 1000, nullptr, FILE_BEGIN));
    std::vector<unsigned char> back(101);
    seen.push_back(ReadFile(in, back.data(), 101, &got, nullptr));
    seen.push_back(got);
    back.resize(got);
    seen.push_back(back == bytes);
    seen.push_back(CloseHandle(in));

    // A missing folder on the way: 3, told by a look at the folder.
    seen.push_back(OpenForReading(dir.Child("missing/temp001")) == INVALID_HANDLE_VALUE);
    seen.push_back(GetLastError());
    return seen;
}

TEST_F(SystemCallSeamTest, EveryInterruptedCallOfARoundTripIsRetriedAndChangesNothing) {
    fault_injection::CallCounter counter;
    const std::vector<std::int64_t> expected = RoundTrip(dir);
    const std::int64_t calls = counter.Total();
    ASSERT_EQ(expected, (std::vector<std::int64_t>{1, 1000, 1, 100, 0, 5, 1100, 1, 1100, 1, 1, 1000,
                                                   1, 100, 1, 1, 1, 3}));
    // Every kind of call but the write-behind's (write_behind_test.cpp), the
    // removal after a failed create, the cut of a file's end and the space
    // query.
    EXPECT_EQ(Counted(counter).size(), fault_injection::kSystemCallKinds - 5);
    EXPECT_EQ(Counted(counter).count("syncFileRange"), 0u);
    EXPECT_EQ(Counted(counter).count("fdatasync"), 0u);
    EXPECT_EQ(Counted(counter).count("statfs"), 0u);
    EXPECT_EQ(Counted(counter).count("unlink"), 0u);
    EXPECT_EQ(Counted(counter).count("ftruncate"), 0u);

    for (std::int64_t n = 0; n < calls; ++n) {
        SCOPED_TRACE("interrupted call " + std::to_string(n));
        std::filesystem::remove(dir.path() / "temp001");
        fault_injection::ClearFailures();
        fault_injection::FailSystemCall(EINTR, static_cast<int>(n));
        fault_injection::CallCounter retried;
        EXPECT_EQ(RoundTrip(dir), expected);
        ASSERT_TRUE(fault_injection::LastFailure().has_value());
        // An interrupted close has released its descriptor and is not made
        // again; every other call is.
        const bool close = *fault_injection::LastFailure() == SystemCall::close;
        EXPECT_EQ(retried.Total(), close ? calls : calls + 1)
            << fault_injection::NameOf(*fault_injection::LastFailure());
    }
}

// --- Short writes and a full medium ------------------------------------------------

TEST_F(SystemCallSeamTest, AShortWriteIsContinuedUntilTheWholeBlockIsWritten) {
    const CString path = dir.Child("temp001");
    const HANDLE h = CreatePiece(path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const auto bytes = PatternBytes(10);
    fault_injection::ShortenWrite(3);
    fault_injection::CallCounter counter;
    DWORD put = 0;
    EXPECT_TRUE(WriteFile(h, bytes.data(), 10, &put, nullptr));
    EXPECT_EQ(put, 10u);
    EXPECT_EQ(Counted(counter), (Calls{{"write", 2}}));
    EXPECT_EQ(fault_injection::LastFailure(), SystemCall::write);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(ReadAll(dir.path() / "temp001"), bytes);
}

TEST_F(SystemCallSeamTest, AFewBytesThenAFullMediumGiveAShortCount) {
    const CString path = dir.Child("temp001");
    const HANDLE h = CreatePiece(path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const auto bytes = PatternBytes(10);
    fault_injection::ShortenWrite(3, ENOSPC);
    fault_injection::CallCounter counter;
    DWORD put = 0;
    // As Windows reports a disk that filled up during the write: no failure,
    // fewer bytes than asked, which CFile64 raises as a full disk.
    EXPECT_TRUE(WriteFile(h, bytes.data(), 10, &put, nullptr));
    EXPECT_EQ(put, 3u);
    EXPECT_EQ(Counted(counter), (Calls{{"write", 2}}));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(ReadAll(dir.path() / "temp001"),
              std::vector<unsigned char>(bytes.begin(), bytes.begin() + 3));
}

TEST_F(SystemCallSeamTest, AFullMediumAtTheFirstByteFailsWithTheDiskFullNumber) {
    const HANDLE h = CreatePiece(dir.Child("temp001"));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const auto bytes = PatternBytes(10);
    fault_injection::FailSystemCall(SystemCall::write, ENOSPC);
    DWORD put = 99;
    EXPECT_FALSE(WriteFile(h, bytes.data(), 10, &put, nullptr));
    EXPECT_EQ(GetLastError(), 112u);  // ERROR_DISK_FULL
    EXPECT_EQ(put, 0u);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(ReadAll(dir.path() / "temp001"), std::vector<unsigned char>{});
}

TEST_F(SystemCallSeamTest, AWriteCutToNothingEndsTheLoopWithACountOfZero) {
    const HANDLE h = CreatePiece(dir.Child("temp001"));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const auto bytes = PatternBytes(10);
    fault_injection::ShortenWrite(0, 0, 1);
    DWORD put = 0;
    EXPECT_TRUE(WriteFile(h, bytes.data(), 4, &put, nullptr));
    EXPECT_EQ(put, 4u);
    EXPECT_TRUE(WriteFile(h, bytes.data() + 4, 6, &put, nullptr));
    EXPECT_EQ(put, 0u);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(ReadAll(dir.path() / "temp001"),
              std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4));
}

// --- Closing ---------------------------------------------------------------------

TEST_F(SystemCallSeamTest, AFailingCloseStillReleasesTheDescriptorAndItsLock) {
    const CString path = MakeFile("temp", PatternBytes(8));
    const HANDLE h = OpenResult(path);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const int fd = Descriptor(h);
    fault_injection::FailSystemCall(SystemCall::close, EIO);
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), 23u);
    EXPECT_FALSE(IsOpenDescriptor(fd));
    // The exclusive lock went with the descriptor.
    const HANDLE again = OpenResult(path);
    ASSERT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(again));
}

TEST_F(SystemCallSeamTest, AnInterruptedCloseIsDoneAndNotMadeAgain) {
    const HANDLE h = OpenForReading(MakeFile("source", PatternBytes(8)));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const int fd = Descriptor(h);
    fault_injection::FailSystemCall(SystemCall::close, EINTR);
    fault_injection::CallCounter counter;
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(Counted(counter), (Calls{{"close", 1}}));
    EXPECT_FALSE(IsOpenDescriptor(fd));
}

#endif

}  // namespace
