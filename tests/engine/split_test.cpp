// Splitting one piece: sizes and bytes of the ten pieces, agreement with
// `split -n 10`, every failure message, and the state after each way out.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/split.h"
#include "platform/fault_injection.h"
#include "resources/resource.h"
#include "tests/support/fake_host.h"
#include "tests/support/temp_dir.h"
#include "tests/support/transfer_fixture.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t MiB = ChunkSize;

const std::string kSourceRead1 = "ファイル「";
const std::string kSourceRead2 =
    "」がリードできません。ファイルが存在するか。アクセス権があるか。"
    "他のアプリによりロックされていないか等々を確認してください。";
const std::string kCreate2 =
    "」を作成できません。アクセス権があるか。ディレクトリが存在するか、等々を確認してください。";

std::string Utf8(const CString& s) {
    return s.ToUtf8();
}

class SplitTest : public TransferFixture {
protected:
    void ExpectPiecesOf(const std::vector<unsigned char>& bytes) {
        const std::size_t n = bytes.size() / 10;
        for (int row = 1; row <= 10; ++row) {
            const std::size_t from = (row - 1) * n;
            const std::size_t to = row == 10 ? bytes.size() : from + n;
            const std::vector<unsigned char> expected(bytes.begin() + from, bytes.begin() + to);
            EXPECT_EQ(ReadAll(Piece(row)), expected) << "piece " << row;
        }
    }
};

TEST_F(SplitTest, PiecesOfSmallSourcesHoldTheirByteRanges) {
    for (std::size_t size : {0u, 9u, 25u}) {
        SCOPED_TRACE(size);
        for (int row = 1; row <= 10; ++row) {
            fs::remove(Piece(row));
        }
        const auto bytes = PatternBytes(size, static_cast<unsigned>(size));
        SplitAll(bytes, {3, 1, 10, 2, 9, 4, 8, 5, 7, 6});
        ExpectPiecesOf(bytes);
        // No full chunk: every press shows only the final line.
        for (const CString& line : host.statusLines) {
            EXPECT_EQ(Utf8(line), "100%");
        }
        host.statusLines.clear();
    }
    EXPECT_EQ(fs::file_size(Piece(1)), 2u);
    EXPECT_EQ(fs::file_size(Piece(10)), 7u);
}

TEST_F(SplitTest, TenMiBAndSevenBytesGivesNineWholeMiBAndALongerTenth) {
    const auto bytes = PatternBytes(10 * MiB + 7, 3);
    WriteAll(source, bytes);
    ASSERT_EQ(SplitPiece(host, 1), kTransferCompleted);
    EXPECT_EQ(host.statusLines.size(), 2u);
    EXPECT_EQ(Utf8(host.statusLines[0]), "0%  (0M/1M ) 処理速度：0MB/s");
    EXPECT_EQ(Utf8(host.statusLines[1]), "100%");
    for (int row = 2; row <= 10; ++row) {
        ASSERT_EQ(SplitPiece(host, row), kTransferCompleted);
    }
    for (int row = 1; row <= 9; ++row) {
        EXPECT_EQ(fs::file_size(Piece(row)), MiB);
    }
    EXPECT_EQ(fs::file_size(Piece(10)), MiB + 7);
    ExpectPiecesOf(bytes);
}

TEST_F(SplitTest, AllPiecesMayShareOneFolder) {
    for (int row = 1; row <= 10; ++row) {
        host.SetField(IDC_FOLDER_1 + row - 1, ToCString(folders[0]));
    }
    const auto bytes = PatternBytes(1234, 5);
    SplitAll(bytes);
    std::vector<unsigned char> joined;
    for (int row = 1; row <= 10; ++row) {
        const auto piece = ReadAll(folders[0] / PieceName(row));
        joined.insert(joined.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(joined, bytes);
}

TEST_F(SplitTest, PiecesEqualThoseOfTheStandardSplitTool) {
#ifdef _WIN32
    GTEST_SKIP() << "the standard split and cmp tools are not part of Windows";
#else
    std::mt19937 random(20261207);
    // From 1 to 9 bytes `split` fills its first pieces, while ours keep pieces 1
    // to 9 empty and put everything into the tenth; those sizes are checked
    // above against the byte ranges directly.
    std::vector<std::size_t> sizes = {0, 10, 11, 99, MiB - 1, MiB * 3 + 17};
    for (int i = 0; i < 4; ++i) {
        sizes.push_back(std::uniform_int_distribution<std::size_t>(10, 24 * MiB)(random));
    }
    const fs::path reference = dir.path() / "reference";
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        for (int row = 1; row <= 10; ++row) {
            fs::remove(Piece(row));
        }
        fs::remove_all(reference);
        fs::create_directory(reference);
        SplitAll(PatternBytes(size, static_cast<unsigned>(size + 1)));
        ASSERT_EQ(RunCommand("split -n 10 -a 3 --numeric-suffixes=1 '" + source.string() + "' '" +
                             (reference / "temp").string() + "'"),
                  0);
        for (int row = 1; row <= 10; ++row) {
            EXPECT_EQ(RunCommand("cmp -s '" + Piece(row).string() + "' '" +
                                 (reference / PieceName(row)).string() + "'"),
                      0)
                << "piece " << row;
        }
    }
#endif
}

TEST_F(SplitTest, AMissingSourceOrAFolderAsSourceCannotBeRead) {
    for (const fs::path& bad : {dir.path() / "missing.bin", folders[0]}) {
        host.errors.clear();
        host.SetField(IDC_SOURCE_PATH, ToCString(bad));
        EXPECT_EQ(SplitPiece(host, 2), kTransferFailed);
        ASSERT_EQ(host.errors.size(), 1u);
        EXPECT_EQ(Utf8(host.errors[0]), kSourceRead1 + bad.string() + kSourceRead2);
        EXPECT_FALSE(fs::exists(Piece(2)));
    }
}

TEST_F(SplitTest, AnExistingPieceOrAFolderOfThatNameIsNeverTouched) {
    WriteAll(source, PatternBytes(100));
    WriteAll(Piece(4), {'k', 'e', 'e', 'p'});
    fs::create_directory(Piece(5));
#ifndef _WIN32
    // A link to nothing still holds the name.
    fs::create_symlink(dir.path() / "nowhere", Piece(6));
    const std::vector<int> rows = {4, 5, 6};
#else
    const std::vector<int> rows = {4, 5};
#endif

    for (int row : rows) {
        host.errors.clear();
        EXPECT_EQ(SplitPiece(host, row), kTransferFailed);
        ASSERT_EQ(host.errors.size(), 1u);
        EXPECT_EQ(Utf8(host.errors[0]),
                  "既にファイル「" + Piece(row).string() + "」は存在します。");
    }
    EXPECT_EQ(ReadAll(Piece(4)), (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));
    EXPECT_TRUE(fs::is_directory(Piece(5)));
    EXPECT_TRUE(fs::is_empty(Piece(5)));
    EXPECT_FALSE(fs::exists(dir.path() / "nowhere"));
    EXPECT_TRUE(host.statusLines.empty());
}

TEST_F(SplitTest, AMissingFolderGivesTheCannotCreateMessageWithThePiecePath) {
    WriteAll(source, PatternBytes(100));
    const fs::path missing = dir.path() / "no-such-card";
    host.SetField(IDC_FOLDER_1 + 2, ToCString(missing));
    EXPECT_EQ(SplitPiece(host, 3), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), "ファイル「" + (missing / "temp003").string() + kCreate2);
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(SplitTest, AFolderTextEndingInASeparatorIsUsedAsTyped) {
    const auto bytes = PatternBytes(50);
    WriteAll(source, bytes);
    host.SetField(IDC_FOLDER_1 + 6, ToCString(folders[6].string() + Separator()));
    ASSERT_EQ(SplitPiece(host, 7), kTransferCompleted);
    EXPECT_EQ(ReadAll(Piece(7)),
              std::vector<unsigned char>(bytes.begin() + 30, bytes.begin() + 35));
    // The message shows the path exactly as it was built: two separators.
    EXPECT_EQ(SplitPiece(host, 7), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), "既にファイル「" + folders[6].string() + Separator() +
                                        Separator() + "temp007」は存在します。");
}

TEST_F(SplitTest, ASourceThatShrinksDuringTheCopyFailsWithoutStaleBytes) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps other programs from writing the source while it is read, so it "
                    "cannot shrink";
#else
    const auto bytes = PatternBytes(30 * MiB, 9);
    WriteAll(source, bytes);
    // Piece 2 covers [3 MiB, 6 MiB); the source is cut to 4.5 MiB after its
    // first chunk.
    host.AtPump(1, [&] { fs::resize_file(source, 4 * MiB + MiB / 2); });
    try {
        SplitPiece(host, 2);
        FAIL() << "the shrunken source must raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::endOfFile);
        EXPECT_EQ(e.m_strFileName, ToCString(source));
    }
    EXPECT_EQ(ReadAll(Piece(2)),
              std::vector<unsigned char>(bytes.begin() + 3 * MiB, bytes.begin() + 4 * MiB));
#endif
}

TEST_F(SplitTest, AFailedSizeQueryStopsWithTheReadMessageInsteadOfEmptyPieces) {
    WriteAll(source, PatternBytes(1000));
    fault_injection::FailCall(fault_injection::Call::QueryFileSizeByPath, ERROR_ACCESS_DENIED);
    EXPECT_EQ(SplitPiece(host, 10), kTransferFailed);
    fault_injection::ClearFailures();
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(Utf8(host.errors[0]), kSourceRead1 + source.string() + kSourceRead2);
    // The piece was created before the size was asked for; it goes again,
    // so the next press of the row is not refused for an empty piece.
    EXPECT_FALSE(fs::exists(Piece(10)));
    EXPECT_TRUE(host.statusLines.empty());
    host.errors.clear();
    EXPECT_EQ(SplitPiece(host, 10), kTransferCompleted);
    EXPECT_EQ(fs::file_size(Piece(10)), 100u);
}

TEST_F(SplitTest, TheStartCheckRefusesWithoutTouchingAnything) {
    WriteAll(source, PatternBytes(100));
    TransferState = kTransferRunning;
    EXPECT_EQ(SplitPiece(host, 1), kTransferFailed);
    EXPECT_EQ(TransferState, kTransferCancelRequested);
    EXPECT_TRUE(host.fieldReads.empty());
    EXPECT_FALSE(fs::exists(Piece(1)));
    EXPECT_EQ(TransferBuffer::LiveCount(), 0);
    TransferState = kTransferIdle;
}

TEST_F(SplitTest, ASecondPressCancelsAfterTheCurrentChunkAndKeepsThePartialPiece) {
    const auto bytes = PatternBytes(50 * MiB, 11);
    WriteAll(source, bytes);
    TransferResult nested = kTransferCompleted;
    host.AtPump(2, [&] {
        EXPECT_EQ(TransferBuffer::LiveCount(), 1);
        nested = SplitPiece(host, 3);
        EXPECT_EQ(TransferState, kTransferCancelRequested);
    });
    EXPECT_EQ(SplitPiece(host, 3), kTransferFailed);
    EXPECT_EQ(nested, kTransferFailed);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(Utf8(host.statusLines.back()), "20%  (1M/5M ) 処理速度：0MB/s");
    EXPECT_EQ(ReadAll(Piece(3)),
              std::vector<unsigned char>(bytes.begin() + 10 * MiB, bytes.begin() + 12 * MiB));
    // The partial piece blocks a later press until the user removes it.
    EXPECT_EQ(SplitPiece(host, 3), kTransferFailed);
    EXPECT_EQ(Utf8(host.errors.at(0)), "既にファイル「" + Piece(3).string() + "」は存在します。");
}

#ifndef _WIN32
// Runs `body` in a child process and returns its exit status; for tests that
// change process limits.
template <typename Body>
int InChild(Body body) {
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}
#endif

TEST_F(SplitTest, AWriteErrorLeavesTheCallAsAFileErrorWithTheStateIdle) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a file size limit (RLIMIT_FSIZE) and fork, which Windows does not have";
#else
    WriteAll(source, PatternBytes(30 * MiB, 2));
    const int status = InChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{MiB + MiB / 2, MiB + MiB / 2};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            SplitPiece(host, 1);
            return 1;
        } catch (const CFileException& e) {
            if (e.m_cause != CFileException::diskFull || e.m_strFileName != ToCString(Piece(1))) {
                return 2;
            }
        }
        return TransferState == kTransferIdle && TransferBuffer::LiveCount() == 0 ? 0 : 3;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(fs::file_size(Piece(1)), MiB + MiB / 2);
#endif
}

TEST_F(SplitTest, AnUnobtainableBufferRaisesAMemoryError) {
#if defined(_WIN32)
    GTEST_SKIP()
        << "needs an address space limit (RLIMIT_AS) and fork, which Windows does not have";
#elif defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space for its shadow memory "
                    "and allocates behind the program's back, so an address space limit cannot "
                    "leave room for everything but the buffer";
#else
    WriteAll(source, PatternBytes(100));
    const int status = InChild([&] {
        // Cap the address space a little above what is in use, then take
        // everything left in small blocks (the allocator may hold free
        // memory from earlier tests), and give back a little room for small
        // allocations: far too little for a 1 MiB buffer.
        std::FILE* statm = std::fopen("/proc/self/statm", "r");
        unsigned long pages = 0;
        if (statm == nullptr || std::fscanf(statm, "%lu", &pages) != 1) {
            return 4;
        }
        std::fclose(statm);
        rlimit current{};
        getrlimit(RLIMIT_AS, &current);
        const rlimit tight{pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + 4 * MiB,
                           current.rlim_max};
        setrlimit(RLIMIT_AS, &tight);
        std::vector<void*> blocks;
        blocks.reserve(100000);
        while (void* block = std::malloc(64 * 1024)) {
            blocks.push_back(block);
        }
        for (int i = 0; i < 4 && !blocks.empty(); ++i) {
            std::free(blocks.back());
            blocks.pop_back();
        }
        try {
            SplitPiece(host, 1);
            return 1;
        } catch (const CMemoryException& e) {
            return e.GetErrorMessage() == CString(u"ﾒﾓﾘが不足しています。") &&
                           TransferState == kTransferIdle && TransferBuffer::LiveCount() == 0
                       ? 0
                       : 2;
        } catch (...) {
            return 3;
        }
    });
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(fs::exists(Piece(1)));
#endif
}

}  // namespace
