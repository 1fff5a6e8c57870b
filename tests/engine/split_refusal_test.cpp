// What a split refuses before it copies, leaving nothing behind: a source
// that is not a file on a medium, and a piece whose open fails right after
// the piece was created.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/split.h"
#include "platform/fault_injection.h"
#include "resources/resource.h"
#include "tests/support/transfer_fixture.h"

namespace fs = std::filesystem;

namespace {

using fault_injection::SystemCall;

std::string SourceReadMessage(const std::string& path) {
    return "ファイル「" + path +
           "」がリードできません。ファイルが存在するか。アクセス権があるか。"
           "他のアプリによりロックされていないか等々を確認してください。";
}

using SplitRefusalTest = TransferFixture;

TEST_F(SplitRefusalTest, ASourceThatIsNotAFileIsRefusedBeforeAnyPieceIsMade) {
#ifdef _WIN32
    const std::vector<std::string> sources = {"NUL"};
#else
    // A device gives endless bytes or none and a pipe has no size: either
    // would give pieces that are reported done and hold nothing of use.
    const fs::path fifo = dir.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> sources = {"/dev/zero", "/dev/null", fifo.string()};
#endif
    for (int row : {1, 10}) {
        for (const std::string& bad : sources) {
            SCOPED_TRACE(bad);
            host.errors.clear();
            host.SetField(IDC_SOURCE_PATH, CString::FromUtf8(bad));
            EXPECT_EQ(SplitPiece(host, row), kTransferFailed);
            ASSERT_EQ(host.errors.size(), 1u);
            EXPECT_EQ(host.errors[0].ToUtf8(), SourceReadMessage(bad));
            EXPECT_TRUE(fs::is_empty(folders[row - 1]));
        }
    }
    EXPECT_TRUE(host.statusLines.empty());
}

TEST_F(SplitRefusalTest, APieceWhoseOpenFailsAfterItsCreateIsRemovedAndCannotBeCreated) {
    if (!fault_injection::SupportsSystemCalls()) {
        GTEST_SKIP() << "needs the Linux file layer's seam to fail the lock or the status query";
    }
    const auto bytes = PatternBytes(1000, 31);
    WriteAll(source, bytes);
    // Before the piece's open: one lock and two status queries of the source
    // (its open and the check that it is a file).
    const std::vector<std::pair<SystemCall, int>> failures = {{SystemCall::lock, 1},
                                                              {SystemCall::fstat, 2}};
    for (const auto& [kind, skip] : failures) {
        SCOPED_TRACE(fault_injection::NameOf(kind));
        host.errors.clear();
        fault_injection::FailSystemCall(kind, EIO, skip);
        EXPECT_EQ(SplitPiece(host, 4), kTransferFailed);
        EXPECT_EQ(fault_injection::LastFailure(), kind);
        fault_injection::ClearFailures();
        ASSERT_EQ(host.errors.size(), 1u);
        EXPECT_EQ(host.errors[0].ToUtf8(),
                  "ファイル「" + Piece(4).string() +
                      "」を作成できません。アクセス権があるか。ディレクトリが存在するか、"
                      "等々を確認してください。");
        EXPECT_TRUE(fs::is_empty(folders[3]));
    }
    // Nothing blocks the row: the next press writes the piece.
    ASSERT_EQ(SplitPiece(host, 4), kTransferCompleted);
    EXPECT_EQ(ReadAll(Piece(4)),
              std::vector<unsigned char>(bytes.begin() + 300, bytes.begin() + 400));
}

}  // namespace
