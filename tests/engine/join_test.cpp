// Joining one piece: round trips through split and join, agreement with
// `split` and `cat`, placement of each piece, every message, cancellation,
// and a piece that lands beyond 4 GiB.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/join.h"
#include "engine/split.h"
#include "platform/fault_injection.h"
#include "resources/resource.h"
#include "tests/support/fake_host.h"
#include "tests/support/temp_dir.h"
#include "tests/support/transfer_fixture.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t MiB = ChunkSize;
using Bytes = std::vector<unsigned char>;

const std::string kSizeMessage = "ファイルサイズ異常です。";

std::string Utf8(const CString& s) {
    return s.ToUtf8();
}

std::string PieceMessage(const fs::path& piece) {
    return "ファイル「" + piece.string() +
           "」がリードできません。ファイルが存在するか。アクセス権があるか。"
           "他のアプリによりロックされていないかを確認してください。";
}

std::string ResultMessage(const fs::path& result) {
    return "ファイル「" + result.string() +
           "」へ書き込みできません。アクセス権があるか。"
           "他のアプリによりロックされていないかを確認してください。";
}

class JoinTest : public JoinFixture {
protected:
    void RemovePiecesAndResult() {
        for (int row = 1; row <= 10; ++row) {
            fs::remove(Piece(row));
        }
        fs::remove(Result());
    }

    // Joins pieces 1 to 9 in a shuffled order, then the tenth.
    void JoinAll(std::mt19937& random) {
        std::vector<int> rows = {1, 2, 3, 4, 5, 6, 7, 8, 9};
        std::shuffle(rows.begin(), rows.end(), random);
        rows.push_back(10);
        for (int row : rows) {
            ASSERT_EQ(JoinPiece(host, row), kTransferCompleted) << "join row " << row;
        }
    }
};

TEST_F(JoinTest, SplitThenJoinInAnyOrderGivesTheSourceBack) {
    std::mt19937 random(7);
    std::vector<std::size_t> sizes = {0, 1, 9, 10, 11, 25, MiB - 1, MiB, 10 * MiB + 7};
    for (int i = 0; i < 3; ++i) {
        sizes.push_back(std::uniform_int_distribution<std::size_t>(12, 30 * MiB)(random));
    }
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        RemovePiecesAndResult();
        const Bytes bytes = PatternBytes(size, static_cast<unsigned>(size));
        SplitAll(bytes);
        JoinAll(random);
        EXPECT_EQ(ReadAll(Result()), bytes);
    }
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(JoinTest, PiecesOfTheStandardSplitJoinAndOurPiecesCatTogether) {
#ifdef _WIN32
    GTEST_SKIP() << "the standard split and cat tools are not part of Windows";
#else
    std::mt19937 random(11);
    for (std::size_t size : {std::size_t{10}, std::size_t{12345}, 3 * MiB + 3}) {
        SCOPED_TRACE(size);
        RemovePiecesAndResult();
        const Bytes bytes = PatternBytes(size, 99);
        WriteAll(source, bytes);
        // `split` writes all ten pieces into one folder.
        const fs::path shared = dir.path() / "shared";
        fs::remove_all(shared);
        fs::create_directory(shared);
        ASSERT_EQ(RunCommand("split -n 10 -a 3 --numeric-suffixes=1 '" + source.string() + "' '" +
                             (shared / "temp").string() + "'"),
                  0);
        for (int row = 1; row <= 10; ++row) {
            host.SetField(IDC_FOLDER_1 + row - 1, ToCString(shared));
        }
        JoinAll(random);
        EXPECT_EQ(ReadAll(Result()), bytes);

        // And the other way round: our pieces, put together by `cat`.
        for (int row = 1; row <= 10; ++row) {
            host.SetField(IDC_FOLDER_1 + row - 1, ToCString(folders[row - 1]));
        }
        SplitAll(bytes);
        std::string command = "cat";
        for (int row = 1; row <= 10; ++row) {
            command += " '" + Piece(row).string() + "'";
        }
        const fs::path catted = dir.path() / "catted";
        ASSERT_EQ(RunCommand(command + " > '" + catted.string() + "'"), 0);
        EXPECT_EQ(ReadAll(catted), bytes);
    }
#endif
}

TEST_F(JoinTest, TheTenthPieceFirstIsRefusedUntilTheOthersAreIn) {
    const Bytes bytes = PatternBytes(1000, 4);
    SplitAll(bytes);
    host.statusLines.clear();
    EXPECT_EQ(JoinPiece(host, 10), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), kSizeMessage);
    EXPECT_TRUE(host.statusLines.empty());
    EXPECT_TRUE(fs::exists(Result()));
    EXPECT_EQ(fs::file_size(Result()), 0u);

    for (int row = 1; row <= 10; ++row) {
        ASSERT_EQ(JoinPiece(host, row), kTransferCompleted);
    }
    EXPECT_EQ(ReadAll(Result()), bytes);
}

TEST_F(JoinTest, ATenthPieceOfAtMostNineBytesFitsAnEmptyResult) {
    const Bytes bytes = PatternBytes(7, 5);
    SplitAll(bytes);
    EXPECT_EQ(JoinPiece(host, 10), kTransferCompleted);
    EXPECT_EQ(ReadAll(Result()), bytes);
    // The empty pieces 1 to 9 copy nothing and end with the final line.
    host.statusLines.clear();
    EXPECT_EQ(JoinPiece(host, 5), kTransferCompleted);
    EXPECT_EQ(host.statusLines.size(), 1u);
    EXPECT_EQ(Utf8(host.statusLines[0]), "100%");
    EXPECT_EQ(ReadAll(Result()), bytes);
}

TEST_F(JoinTest, AMissingPieceLeavesTheDestinationUntouched) {
    EXPECT_EQ(JoinPiece(host, 3), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), PieceMessage(Piece(3)));
    EXPECT_TRUE(fs::is_empty(dest));
}

TEST_F(JoinTest, AMissingDestinationFolderIsNotCreated) {
    WriteAll(source, PatternBytes(100));
    ASSERT_EQ(SplitPiece(host, 1), kTransferCompleted);
    const fs::path missing = dir.path() / "no-such-folder";
    host.SetField(IDC_DEST_FOLDER, ToCString(missing));
    EXPECT_EQ(JoinPiece(host, 1), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), ResultMessage(missing / "temp"));
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(JoinTest, AResultHeldOpenElsewhereCannotBeWritten) {
    WriteAll(source, PatternBytes(100));
    ASSERT_EQ(SplitPiece(host, 1), kTransferCompleted);
    CFile64 other;
    ASSERT_TRUE(other.Open(ToCString(Result()), GENERIC_WRITE, 0, OPEN_ALWAYS));
    EXPECT_EQ(JoinPiece(host, 1), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), ResultMessage(Result()));
    EXPECT_EQ(fs::file_size(Result()), 0u);
}

TEST_F(JoinTest, ALongerOldResultKeepsItsTailAndRefusesTheTenthPiece) {
    const Bytes bytes = PatternBytes(100, 6);
    SplitAll(bytes);
    Bytes old(200, 0xEE);
    WriteAll(Result(), old);
    for (int row = 1; row <= 9; ++row) {
        ASSERT_EQ(JoinPiece(host, row), kTransferCompleted);
    }
    Bytes expected(bytes.begin(), bytes.begin() + 90);
    expected.insert(expected.end(), old.begin() + 90, old.end());
    EXPECT_EQ(ReadAll(Result()), expected);

    EXPECT_EQ(JoinPiece(host, 10), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), kSizeMessage);
    EXPECT_EQ(ReadAll(Result()), expected);
}

TEST_F(JoinTest, JoiningAPieceAgainRewritesItInPlace) {
    const Bytes bytes = PatternBytes(1000, 8);
    SplitAll(bytes);
    std::mt19937 random(3);
    JoinAll(random);
    ASSERT_EQ(JoinPiece(host, 3), kTransferCompleted);
    ASSERT_EQ(JoinPiece(host, 1), kTransferCompleted);
    EXPECT_EQ(ReadAll(Result()), bytes);
}

TEST_F(JoinTest, AnExactMiBPieceEndsWithAnEmptyRemainder) {
    const Bytes bytes = PatternBytes(20 * MiB, 12);
    SplitAll(bytes);
    host.statusLines.clear();
    ASSERT_EQ(JoinPiece(host, 2), kTransferCompleted);
    std::vector<std::string> lines;
    for (const CString& s : host.statusLines) {
        lines.push_back(Utf8(s));
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"0%  (0M/2M ) 処理速度：0MB/s",
                                               "50%  (1M/2M ) 処理速度：0MB/s", "100%"}));
    EXPECT_EQ(fs::file_size(Result()), 4 * MiB);
    const Bytes result = ReadAll(Result());
    EXPECT_TRUE(
        std::equal(bytes.begin() + 2 * MiB, bytes.begin() + 4 * MiB, result.begin() + 2 * MiB));
}

TEST_F(JoinTest, ASecondPressCancelsTheJoinAfterTheCurrentChunk) {
    const Bytes bytes = PatternBytes(50 * MiB, 13);
    SplitAll(bytes);
    host.statusLines.clear();
    TransferResult nested = kTransferCompleted;
    host.AtPump(host.pumps + 3, [&] { nested = JoinPiece(host, 5); });
    EXPECT_EQ(JoinPiece(host, 5), kTransferFailed);
    EXPECT_EQ(nested, kTransferFailed);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(host.statusLines.size(), 3u);
    EXPECT_EQ(Utf8(host.statusLines.back()), "40%  (2M/5M ) 処理速度：0MB/s");
    // Piece 5 starts at 20 MiB; three chunks of it are in.
    EXPECT_EQ(fs::file_size(Result()), 23 * MiB);
    const Bytes result = ReadAll(Result());
    EXPECT_TRUE(
        std::equal(bytes.begin() + 20 * MiB, bytes.begin() + 23 * MiB, result.begin() + 20 * MiB));
}

TEST_F(JoinTest, AFailedPieceSizeQueryIsRefusedBeforeAnythingIsWritten) {
    WriteAll(source, PatternBytes(100));
    ASSERT_EQ(SplitPiece(host, 4), kTransferCompleted);
    fault_injection::FailCall(fault_injection::Call::QueryFileSizeByPath, ERROR_ACCESS_DENIED);
    EXPECT_EQ(JoinPiece(host, 4), kTransferFailed);
    fault_injection::ClearFailures();
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), kSizeMessage);
    EXPECT_EQ(fs::file_size(Result()), 0u);
}

TEST_F(JoinTest, APieceThatShrinksDuringTheJoinRaisesEndOfFile) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps other programs from writing the piece while it is read, so it "
                    "cannot shrink";
#else
    const Bytes bytes = PatternBytes(30 * MiB, 14);
    SplitAll(bytes);
    host.AtPump(host.pumps + 1, [&] { fs::resize_file(Piece(1), MiB + 10); });
    try {
        JoinPiece(host, 1);
        FAIL() << "a short piece must raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::endOfFile);
        EXPECT_EQ(e.m_strFileName, ToCString(Piece(1)));
    }
    EXPECT_EQ(ReadAll(Result()), Bytes(bytes.begin(), bytes.begin() + MiB));
#endif
}

TEST_F(JoinTest, PieceNineOfALargeFileLandsBeyondFourGiB) {
    // Piece 9, of 512 MiB + 1 byte, starts after eight of its size: at 4 GiB + 8.
    const std::uint64_t pieceSize = 512 * MiB + 1;
    MakeSparseFile(Piece(9), pieceSize);
    {
        std::fstream piece(Piece(9), std::ios::in | std::ios::out | std::ios::binary);
        piece.seekp(0);
        piece.write("HEAD", 4);
        piece.seekp(static_cast<std::streamoff>(pieceSize - 4));
        piece.write("TAIL", 4);
    }
    ASSERT_EQ(JoinPiece(host, 9), kTransferCompleted);
    const std::uint64_t offset = 8 * pieceSize;
    ASSERT_GT(offset, 0x100000000ull);
    EXPECT_EQ(fs::file_size(Result()), offset + pieceSize);

    std::ifstream result(Result(), std::ios::binary);
    char head[5] = {};
    char tail[5] = {};
    char before = 'x';
    result.seekg(static_cast<std::streamoff>(offset - 1));
    result.read(&before, 1);
    result.read(head, 4);
    result.seekg(static_cast<std::streamoff>(offset + pieceSize - 4));
    result.read(tail, 4);
    EXPECT_EQ(before, '\0');
    EXPECT_STREQ(head, "HEAD");
    EXPECT_STREQ(tail, "TAIL");
}

TEST_F(JoinTest, TheTenthPieceFitsExactlyBetweenNineShorterAndNineEqualPieces) {
    // A tenth piece of e bytes goes after nine pieces of e - 9 to e bytes,
    // and only after a multiple of 9: each bound, one byte either side of
    // it, and nine bytes beyond it (a multiple of 9 that only the bound stops).
    constexpr std::int64_t e = 20;
    const Bytes tenth(e, 0x5A);
    struct Case {
        std::int64_t resultSize;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {9 * (e - 9) - 9, false}, {9 * (e - 9) - 1, false}, {9 * (e - 9), true},
        {9 * (e - 9) + 1, false}, {9 * e - 1, false},       {9 * e, true},
        {9 * e + 1, false},       {9 * e + 9, false},
    };
    WriteAll(Piece(10), tenth);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resultSize);
        host.errors.clear();
        const Bytes before(static_cast<std::size_t>(c.resultSize), 0x11);
        WriteAll(Result(), before);
        const TransferResult result = JoinPiece(host, 10);
        Bytes expected = before;
        if (c.accepted) {
            EXPECT_EQ(result, kTransferCompleted);
            EXPECT_TRUE(host.errors.empty());
            expected.insert(expected.end(), tenth.begin(), tenth.end());
        } else {
            EXPECT_EQ(result, kTransferFailed);
            ASSERT_EQ(host.errors.size(), 1u);
            EXPECT_EQ(Utf8(host.errors[0]), kSizeMessage);
        }
        EXPECT_EQ(ReadAll(Result()), expected);
    }
}

TEST_F(JoinTest, RelativeFoldersAndASourceThatChangesBetweenPresses) {
    // Relative folder texts are taken from the working directory, in both modes.
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    host.SetField(IDC_FOLDER_1, u"card1");
    host.SetField(IDC_DEST_FOLDER, u"restored");
    // Each press takes the source's size as it is at that press.
    WriteAll(source, Bytes(100, 1));
    EXPECT_EQ(SplitPiece(host, 1), kTransferCompleted);
    WriteAll(source, Bytes(200, 2));
    EXPECT_EQ(SplitPiece(host, 2), kTransferCompleted);
    EXPECT_EQ(JoinPiece(host, 1), kTransferCompleted);
    fs::current_path(previous);
    EXPECT_EQ(ReadAll(Piece(1)), Bytes(10, 1));
    EXPECT_EQ(ReadAll(Piece(2)), Bytes(20, 2));
    EXPECT_EQ(ReadAll(Result()), Bytes(10, 1));
    EXPECT_TRUE(host.errors.empty());
}

#ifndef _WIN32
TEST_F(JoinTest, NothingIsWrittenThroughALinkPlantedAtAFileName) {
    SplitAll(Bytes(1000, 5));
    const fs::path victim = dir.path() / "victim";
    WriteAll(victim, Bytes(50, 9));
    // `temp` a link to another file, then a link to nothing: the join is
    // refused with the cannot-write box and the link's target is untouched.
    for (const fs::path& target : {victim, dir.path() / "nothing"}) {
        SCOPED_TRACE(target.string());
        host.errors.clear();
        fs::remove(Result());
        fs::create_symlink(target, Result());
        EXPECT_EQ(JoinPiece(host, 1), kTransferFailed);
        ASSERT_EQ(host.errors.size(), 1u);
        EXPECT_EQ(Utf8(host.errors[0]), ResultMessage(Result()));
        EXPECT_TRUE(fs::is_symlink(Result()));
    }
    EXPECT_EQ(ReadAll(victim), Bytes(50, 9));
    EXPECT_FALSE(fs::exists(dir.path() / "nothing"));
    // A dangling link at a piece's name is never created through either.
    fs::remove(Piece(2));
    fs::create_symlink(dir.path() / "elsewhere", Piece(2));
    host.errors.clear();
    EXPECT_EQ(SplitPiece(host, 2), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), "既にファイル「" + Piece(2).string() + "」は存在します。");
    EXPECT_FALSE(fs::exists(dir.path() / "elsewhere"));
}
#endif

TEST_F(JoinTest, TheStartCheckRefusesWithoutReadingAField) {
    TransferState = kTransferCancelRequested;
    EXPECT_EQ(JoinPiece(host, 1), kTransferFailed);
    EXPECT_EQ(TransferState, kTransferCancelRequested);
    EXPECT_TRUE(host.fieldReads.empty());
    EXPECT_TRUE(fs::is_empty(dest));
    TransferState = kTransferIdle;
}

}  // namespace
