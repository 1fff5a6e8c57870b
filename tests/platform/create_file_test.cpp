// An open that creates a file and then fails as a whole takes the file away
// again, and only a file it created; what it reports is the failing step's
// error. The failures come from the test seam, right where the layer calls
// the system.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "tests/platform/file_calls.h"
#include "tests/support/file_test.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using fault_injection::SystemCall;
using namespace file_calls;

class CreateThenFailTest : public FileTest {};

TEST_F(CreateThenFailTest, ACreateNewThatFailsAtTheLockRemovesItsFile) {
    const int before = CountOpenDescriptors();
    fault_injection::FailSystemCall(SystemCall::lock, EIO);
    fault_injection::CallCounter counter;
    EXPECT_EQ(CreatePiece(dir.Child("temp001")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 23u);  // EIO's number, not that of the removal
    EXPECT_EQ(fault_injection::LastFailure(), SystemCall::lock);
    EXPECT_EQ(counter.Calls(SystemCall::unlink), 1);
    EXPECT_EQ(counter.Calls(SystemCall::close), 1);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{});
    EXPECT_EQ(CountOpenDescriptors(), before);
}

TEST_F(CreateThenFailTest, ACreateNewThatFailsAtTheStatusQueryRemovesItsFile) {
    fault_injection::FailSystemCall(SystemCall::fstat, ENOMEM);
    EXPECT_EQ(CreatePiece(dir.Child("temp001")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 8u);  // ERROR_NOT_ENOUGH_MEMORY
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{});
    // Nothing is in the way of the next attempt.
    const HANDLE h = CreatePiece(dir.Child("temp001"));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"temp001"});
}

TEST_F(CreateThenFailTest, AnOpenAlwaysThatCreatedItsFileAndFailsRemovesIt) {
    fault_injection::FailSystemCall(SystemCall::lock, EIO);
    EXPECT_EQ(OpenResult(dir.Child("temp")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 23u);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{});

    fault_injection::FailSystemCall(SystemCall::fstat, EIO);
    EXPECT_EQ(OpenResult(dir.Child("temp")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 23u);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{});
}

TEST_F(CreateThenFailTest, AnOpenAlwaysOfAnExistingFileThatFailsLeavesTheFileAsItWas) {
    const auto bytes = PatternBytes(64);
    WriteAll(dir.path() / "temp", bytes);
    for (const SystemCall step : {SystemCall::lock, SystemCall::fstat}) {
        SCOPED_TRACE(fault_injection::NameOf(step));
        fault_injection::FailSystemCall(step, EIO);
        fault_injection::CallCounter counter;
        EXPECT_EQ(OpenResult(dir.Child("temp")), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), 23u);
        EXPECT_EQ(counter.Calls(SystemCall::unlink), 0);
        EXPECT_EQ(counter.Calls(SystemCall::open), 1);
        EXPECT_EQ(ReadAll(dir.path() / "temp"), bytes);
    }
}

TEST_F(CreateThenFailTest, ACreatedFileThatAnotherOpenHoldsByThenIsLeftToIt) {
    // A conflicting lock on a file this call has just made means another open
    // has it by now.
    fault_injection::FailSystemCall(SystemCall::lock, EAGAIN);
    fault_injection::CallCounter counter;
    EXPECT_EQ(CreatePiece(dir.Child("temp001")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 32u);  // ERROR_SHARING_VIOLATION
    EXPECT_EQ(counter.Calls(SystemCall::unlink), 0);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"temp001"});
}

TEST_F(CreateThenFailTest, AFailingRemovalLeavesTheFileAndTheErrorOfTheFailingStep) {
    fault_injection::FailSystemCall(SystemCall::lock, EIO);
    fault_injection::FailSystemCall(SystemCall::unlink, EACCES);
    EXPECT_EQ(CreatePiece(dir.Child("temp001")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 23u);
    EXPECT_EQ(fault_injection::LastFailure(), SystemCall::unlink);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"temp001"});
}

TEST_F(CreateThenFailTest, AnOpenAlwaysWhoseFileAppearsMeanwhileOpensItWithoutClaimingIt) {
    // Nothing at the first look; the exclusive create then finds a file.
    fault_injection::FailSystemCall(SystemCall::open, EEXIST, 1);
    fault_injection::CallCounter counter;
    const HANDLE h = OpenResult(dir.Child("temp"));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(counter.Calls(SystemCall::open), 3);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"temp"});

    // Not its own: a failure after it leaves the file.
    ASSERT_TRUE(fs::remove(dir.path() / "temp"));
    fault_injection::FailSystemCall(SystemCall::open, EEXIST, 1);
    fault_injection::FailSystemCall(SystemCall::lock, EIO);
    EXPECT_EQ(OpenResult(dir.Child("temp")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 23u);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"temp"});
}

TEST_F(CreateThenFailTest, AnOpenAlwaysThroughALinkWhoseTargetIsMissingCreatesTheTarget) {
    fs::create_symlink(dir.path() / "target", dir.path() / "temp");
    const HANDLE h = OpenResult(dir.Child("temp"));
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const std::vector<unsigned char> bytes = {1, 2, 3};
    DWORD put = 0;
    EXPECT_TRUE(WriteFile(h, bytes.data(), 3, &put, nullptr));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "temp")));
    EXPECT_EQ(ReadAll(dir.path() / "target"), bytes);
}

TEST_F(CreateThenFailTest, AFailingStatusQueryOfAnOpenReportsItsOwnError) {
    WriteAll(dir.path() / "source", {1});
    fault_injection::FailSystemCall(SystemCall::fstat, EOVERFLOW);
    EXPECT_EQ(OpenForReading(dir.Child("source")), INVALID_HANDLE_VALUE);
    // Not a number of the table: the unknown-error number.
    EXPECT_EQ(GetLastError(), 1117u);
    // A folder is still refused as Windows refuses it.
    fs::create_directory(dir.path() / "folder");
    EXPECT_EQ(OpenForReading(dir.Child("folder")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), 5u);
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
}

}  // namespace
#endif
