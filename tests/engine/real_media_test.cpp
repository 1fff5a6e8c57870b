// Presses on real media that fail, beside the injected failures of the
// sweep: a memory file system that fills up (or, where none can be mounted,
// a file size limit), read-only folders, and a program killed mid-press.
// Mounts are made in a child's own mount namespace and go with the child.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine/join.h"
#include "engine/split.h"
#include "platform/fault_injection.h"
#include "resources/resource.h"
#include "tests/engine/room_messages.h"
#include "tests/support/child_process.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/transfer_fixture.h"
#endif

namespace {

#ifdef _WIN32
TEST(RealMedia, NeedLinux) {
    GTEST_SKIP()
        << "needs fork, mount namespaces and file size limits, which Windows does not have";
}
#else

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

constexpr std::size_t MiB = ChunkSize;
// N = 247,576 and R = 9: nine pieces end 40 bytes short of a 4 KiB page, so
// a full memory file system still takes 40 bytes of the tenth piece.
constexpr std::size_t kSmallSource = 2475769;

std::string CreateMessage(const fs::path& piece) {
    return "ファイル「" + piece.string() +
           "」を作成できません。アクセス権があるか。ディレクトリが存在するか、等々を確認してくださ"
           "い"
           "。";
}

class RealMediaTest : public JoinFixture {
protected:
    // Joins pieces 1 to 9 into `temp`; the medium fills up (`fillUp`) while
    // the tenth is written; room is made (`makeRoom`) and the tenth pressed
    // again. Runs in a child; returns what was not as expected.
    std::string TenthPieceOnAFullMedium(const Bytes& bytes, const std::function<void()>& fillUp,
                                        const std::function<void()>& makeRoom) {
        std::ostringstream wrong;
        const fs::path temp = dest / "temp";
        for (int row = 1; row <= 9; ++row) {
            if (JoinPiece(host, row) != kTransferCompleted) {
                return "row " + std::to_string(row) + " did not join";
            }
        }
        fillUp();
        // The space query saw room: another writer filled the medium after it,
        // which no check can foresee; the writes report the full disk.
        fault_injection::FakeFileSystemSpace(FileSystemSpace{1ull << 40, false});
        try {
            JoinPiece(host, 10);
            wrong << "the tenth piece fitted a full medium; ";
        } catch (const CFileException& e) {
            const std::string expected =
                temp.string() + " へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。";
            if (e.GetErrorMessage().ToUtf8() != expected) {
                wrong << "box: " << e.GetErrorMessage().ToUtf8() << "; ";
            }
        }
        if (fs::file_size(temp) != 9 * (bytes.size() / 10)) {
            wrong << "temp holds " << fs::file_size(temp) << " bytes after the failure; ";
        }
        fault_injection::ClearFailures();
        makeRoom();
        if (JoinPiece(host, 10) != kTransferCompleted) {
            wrong << "the tenth press with room again failed; ";
        }
        if (ReadAll(temp) != bytes) {
            wrong << "temp is not the source; ";
        }
        if (!host.errors.empty() || TransferState != kTransferIdle ||
            TransferBuffer::LiveCount() != 0) {
            wrong << "a box, a busy state or a buffer is left; ";
        }
        return wrong.str();
    }
};

TEST_F(RealMediaTest, ATenthPieceThatFillsAMemoryFileSystemLeavesNothingAndJoinsLater) {
    const Bytes bytes = PatternBytes(kSmallSource, 41);
    SplitAll(bytes);
    const ChildResult child = RunInChild([&]() -> std::string {
        if (!EnterPrivateMountNamespace() || !MountMemoryFileSystem(dest, "3m", false)) {
            return "no mount";
        }
        const fs::path filler = dest / "filler";
        return TenthPieceOnAFullMedium(
            bytes,
            [&] {
                // Every page that is left; the last page of `temp` keeps its
                // 40 free bytes.
                const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
                const std::vector<char> page(4096, 'f');
                while (::write(fd, page.data(), page.size()) > 0) {
                }
                ::close(fd);
            },
            [&] { fs::remove(filler); });
    });
    ASSERT_TRUE(child.exited) << "signal " << child.signal;
    if (child.report == "no mount") {
        GTEST_SKIP() << "cannot mount a small memory file system here (needs root and a mount "
                        "namespace); the file size limit below stands in for a full medium";
    }
    EXPECT_EQ(child.report, "");
}

TEST_F(RealMediaTest, APieceTooLargeForASmallMemoryFileSystemIsRefusedBeforeItIsWritten) {
    WriteAll(source, Bytes(20 * MiB, 3));
    const ChildResult child = RunInChild([&]() -> std::string {
        if (!EnterPrivateMountNamespace() || !MountMemoryFileSystem(folders[0], "1m", false)) {
            return "no mount";
        }
        struct statvfs st {};
        ::statvfs(folders[0].c_str(), &st);
        const std::uint64_t free = static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
        const std::string expected = NoRoom(folders[0], 2 * MiB, free);
        if (SplitPiece(host, 1) != kTransferFailed || host.errors.size() != 1) {
            return "the piece was not refused";
        }
        if (host.errors[0].ToUtf8() != expected) {
            return "box: " + host.errors[0].ToUtf8();
        }
        return fs::is_empty(folders[0]) ? "" : "something was left on the medium";
    });
    ASSERT_TRUE(child.exited) << "signal " << child.signal;
    if (child.report == "no mount") {
        GTEST_SKIP() << "cannot mount a small memory file system here (needs root and a mount "
                        "namespace)";
    }
    EXPECT_EQ(child.report, "");
}

TEST_F(RealMediaTest, ATenthPieceThatMeetsAFileSizeLimitLeavesNothingAndJoinsLater) {
    const Bytes bytes = PatternBytes(kSmallSource, 42);
    SplitAll(bytes);
    const ChildResult child = RunInChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        return TenthPieceOnAFullMedium(
            bytes,
            [&] {
                const rlimit capped{9 * (kSmallSource / 10) + 40, unlimited.rlim_max};
                setrlimit(RLIMIT_FSIZE, &capped);
            },
            [&] { setrlimit(RLIMIT_FSIZE, &unlimited); });
    });
    ASSERT_TRUE(child.exited) << "signal " << child.signal;
    EXPECT_EQ(child.report, "");
}

TEST_F(RealMediaTest, AReadOnlyFolderTakesNoPieceAndNoResultButItsPiecesCanBeRead) {
    const Bytes bytes = PatternBytes(1000, 43);
    WriteAll(source, bytes);
    const fs::path locked = dir.path() / "locked";
    fs::create_directory(locked);
    host.SetField(IDC_FOLDER_1, ToCString(locked));
    ASSERT_EQ(SplitPiece(host, 1), kTransferCompleted);

    const ChildResult child = RunInChild([&]() -> std::string {
        if (::geteuid() == 0) {
            // Permission bits do not stop root: the folder's medium must be
            // read-only itself.
            if (!EnterPrivateMountNamespace() || !MakeReadOnly(locked)) {
                return "no mount";
            }
        } else if (::chmod(locked.c_str(), 0555) != 0) {
            return "no chmod";
        }
        std::ostringstream wrong;
        host.SetField(IDC_FOLDER_2, ToCString(locked));
        if (SplitPiece(host, 2) != kTransferFailed || host.errors.size() != 1 ||
            host.errors[0].ToUtf8() != CreateMessage(locked / "temp002")) {
            wrong << "the split into the read-only folder was not refused as it should be; ";
        }
        if (JoinPiece(host, 1) != kTransferCompleted) {
            wrong << "its piece could not be joined; ";
        }
        host.SetField(IDC_DEST_FOLDER, ToCString(locked));
        if (JoinPiece(host, 1) != kTransferFailed || host.errors.size() != 2 ||
            host.errors[1].ToUtf8() !=
                "ファイル「" + (locked / "temp").string() +
                    "」へ書き込みできません。アクセス権があるか。"
                    "他のアプリによりロックされていないかを確認してください。") {
            wrong << "the join into the read-only folder was not refused as it should be; ";
        }
        if (Entries(locked) != std::vector<std::string>{"temp001"}) {
            wrong << "the read-only folder changed; ";
        }
        return wrong.str();
    });
    ::chmod(locked.c_str(), 0755);
    ASSERT_TRUE(child.exited) << "signal " << child.signal;
    if (child.report == "no mount") {
        GTEST_SKIP() << "cannot make a read-only folder here: permission bits do not stop root, "
                        "and mounting is refused";
    }
    EXPECT_EQ(child.report, "");
    EXPECT_EQ(ReadAll(dest / "temp"), Bytes(bytes.begin(), bytes.begin() + 100));
}

// Pieces of 4 MiB + 5 bytes: four full chunks each.
constexpr std::size_t kKillSource = 10 * (4 * MiB + 5) + 3;

TEST_F(RealMediaTest, APressKilledMidPieceLeavesAnExactPrefixThatBlocksTheRowUntilRemoved) {
    const Bytes bytes = PatternBytes(kKillSource, 44);
    WriteAll(source, bytes);
    const std::size_t n = kKillSource / 10;
    const ChildResult child = RunInChild([&] {
        host.AtPump(3, [] { ::raise(SIGKILL); });
        SplitPiece(host, 7);
        return std::string("the press outlived its kill");
    });
    EXPECT_FALSE(child.exited);
    EXPECT_EQ(child.signal, SIGKILL);
    // Three chunks were written before the third pump.
    EXPECT_EQ(ReadAll(Piece(7)), Slice(bytes, 6 * n, 3 * MiB));
    EXPECT_EQ(ReadAll(source), bytes);
    for (int row = 1; row <= 10; ++row) {
        EXPECT_EQ(Entries(folders[row - 1]).size(), row == 7 ? 1u : 0u) << "row " << row;
    }

    EXPECT_EQ(SplitPiece(host, 7), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].ToUtf8(), "既にファイル「" + Piece(7).string() + "」は存在します。");
    fs::remove(Piece(7));
    ASSERT_EQ(SplitPiece(host, 7), kTransferCompleted);
    EXPECT_EQ(ReadAll(Piece(7)), Slice(bytes, 6 * n, n));
}

TEST_F(RealMediaTest, ATenthPressKilledMidPieceIsRefusedUntilTempIsCutBack) {
    const Bytes bytes = PatternBytes(kKillSource, 45);
    SplitAll(bytes);
    for (int row = 1; row <= 9; ++row) {
        ASSERT_EQ(JoinPiece(host, row), kTransferCompleted);
    }
    const std::uintmax_t nine = 9 * (kKillSource / 10);
    const ChildResult child = RunInChild([&] {
        host.AtPump(host.pumps + 1, [] { ::raise(SIGKILL); });
        JoinPiece(host, 10);
        return std::string("the press outlived its kill");
    });
    EXPECT_EQ(child.signal, SIGKILL);
    // No process is left to take the chunk back out: the size check refuses.
    EXPECT_EQ(fs::file_size(dest / "temp"), nine + MiB);
    EXPECT_EQ(JoinPiece(host, 10), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].ToUtf8(), "ファイルサイズ異常です。");
    fs::resize_file(dest / "temp", nine);
    EXPECT_EQ(JoinPiece(host, 10), kTransferCompleted);
    EXPECT_EQ(ReadAll(dest / "temp"), bytes);
}

#endif

}  // namespace
