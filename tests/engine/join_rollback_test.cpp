// A press of the tenth row that fails or is cancelled takes its bytes back
// out of `temp`, so the next press of the row completes the file; and the
// tenth piece is refused where `temp` does not end at a multiple of 9.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/join.h"
#include "platform/fault_injection.h"
#include "resources/resource.h"
#include "tests/support/transfer_fixture.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;
using fault_injection::SystemCall;

const std::string kSizeMessage = "ファイルサイズ異常です。";

class TenthRowTest : public JoinFixture {
protected:
    // Splits `bytes` and joins pieces 1 to 9: `temp` then holds 9 × N bytes.
    void JoinFirstNine(const Bytes& bytes) {
        SplitAll(bytes);
        for (int row = 1; row <= 9; ++row) {
            ASSERT_EQ(JoinPiece(host, row), kTransferCompleted);
        }
        ASSERT_EQ(fs::file_size(Result()), 9 * (bytes.size() / 10));
    }

    // The tenth press, with the file error it raised ("" when none).
    std::string PressTenth() {
        try {
            JoinPiece(host, 10);
        } catch (const CFileException& e) {
            return e.GetErrorMessage().ToUtf8();
        }
        return "";
    }
};

// N = 247,576 and R = 9: the tenth piece is 247,585 bytes, and nine pieces
// end 40 bytes short of a 4 KiB page.
const std::size_t kSourceSize = 2475769;

TEST_F(TenthRowTest, AMediumThatFillsUpLeavesNoBytesOfTheTenthPiece) {
    if (!fault_injection::SupportsSystemCalls()) {
        GTEST_SKIP() << "needs the Linux file layer's seam to fill the medium";
    }
    const Bytes bytes = PatternBytes(kSourceSize, 21);
    JoinFirstNine(bytes);
    // 40 bytes reach the medium, then it is full.
    fault_injection::ShortenWrite(40, ENOSPC);
    EXPECT_EQ(PressTenth(), Result().string() + " へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
    EXPECT_EQ(fs::file_size(Result()), 9 * (kSourceSize / 10));
    // Space freed: the same press now completes the file.
    EXPECT_EQ(JoinPiece(host, 10), kTransferCompleted);
    EXPECT_EQ(ReadAll(Result()), bytes);
}

TEST_F(TenthRowTest, AFailureAtClosingTempIsCutBackThroughANewOpen) {
    if (!fault_injection::SupportsSystemCalls()) {
        GTEST_SKIP() << "needs the Linux file layer's seam to fail the flush at close";
    }
    const Bytes bytes = PatternBytes(kSourceSize, 22);
    JoinFirstNine(bytes);
    // The whole piece is written; the flush of `temp` at its close fails, so
    // `temp` is opened again to cut it back.
    fault_injection::FailSystemCall(SystemCall::fdatasync, EIO);
    EXPECT_EQ(PressTenth(), Result().string() + " へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。");
    EXPECT_EQ(fs::file_size(Result()), 9 * (kSourceSize / 10));
    EXPECT_EQ(JoinPiece(host, 10), kTransferCompleted);
    EXPECT_EQ(ReadAll(Result()), bytes);
}

TEST_F(TenthRowTest, ACutThatFailsTooLeavesThePressesFailureAndTheRowRefused) {
    if (!fault_injection::SupportsSystemCalls()) {
        GTEST_SKIP() << "needs the Linux file layer's seam to fail the flush and the cut";
    }
    const Bytes bytes = PatternBytes(kSourceSize, 23);
    JoinFirstNine(bytes);
    fault_injection::FailSystemCall(SystemCall::fdatasync, EIO);
    fault_injection::FailSystemCall(SystemCall::ftruncate, EIO);
    // The press's own failure is what is shown; `temp` keeps the piece, and
    // the row is refused until the user cuts it back.
    EXPECT_EQ(PressTenth(), Result().string() + " へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。");
    EXPECT_EQ(ReadAll(Result()), bytes);
    EXPECT_EQ(JoinPiece(host, 10), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].ToUtf8(), kSizeMessage);
    EXPECT_EQ(ReadAll(Result()), bytes);
}

TEST_F(TenthRowTest, ACancelledTenthPieceIsTakenBackOut) {
    // N = 1,258,291 and a tenth piece of 1,258,298 bytes: one full chunk.
    const Bytes bytes = PatternBytes(12582917, 24);
    JoinFirstNine(bytes);
    TransferResult nested = kTransferCompleted;
    host.AtPump(host.pumps + 1, [&] { nested = JoinPiece(host, 10); });
    EXPECT_EQ(JoinPiece(host, 10), kTransferFailed);
    EXPECT_EQ(nested, kTransferFailed);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(fs::file_size(Result()), 9 * (bytes.size() / 10));
    EXPECT_EQ(JoinPiece(host, 10), kTransferCompleted);
    EXPECT_EQ(ReadAll(Result()), bytes);
}

TEST_F(TenthRowTest, IsRefusedWhereTempDoesNotEndAtAMultipleOfNine) {
    const Bytes bytes = PatternBytes(kSourceSize, 25);
    JoinFirstNine(bytes);
    // What a press killed after a short write would leave: inside the
    // bounds of the size check, but no end of nine equal pieces.
    Bytes leftover = ReadAll(Result());
    leftover.insert(leftover.end(), bytes.begin() + 9 * (kSourceSize / 10),
                    bytes.begin() + 9 * (kSourceSize / 10) + 40);
    WriteAll(Result(), leftover);
    EXPECT_EQ(JoinPiece(host, 10), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].ToUtf8(), kSizeMessage);
    EXPECT_EQ(ReadAll(Result()), leftover);
}

}  // namespace
