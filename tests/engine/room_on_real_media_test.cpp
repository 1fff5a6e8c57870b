// The room check on real file systems, where a press that fits must never be
// refused: a memory file system that counts no blocks, a join press that
// rewrites what `temp` already holds on a full medium, and the blocks ext4
// keeps back, which root may use. Mounts are made in a child's own mount
// namespace and go with the child.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine/join.h"
#include "engine/split.h"
#include "tests/engine/room_messages.h"
#include "tests/support/child_process.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/transfer_fixture.h"
#endif

namespace {

#ifdef _WIN32
TEST(RoomOnRealMedia, NeedLinux) {
    GTEST_SKIP() << "needs fork, mount namespaces and memory file systems";
}
#else

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

constexpr std::size_t MiB = ChunkSize;

std::string WhatIsLeft(const FakeHost& host) {
    std::string boxes;
    for (const CString& box : host.errors) {
        boxes += box.ToUtf8() + "; ";
    }
    return boxes;
}

// Judges a child's run, the last thing a test does: a child that could not
// mount its medium skips the test, naming what it needs.
void Judge(const ChildResult& child, const std::string& needs) {
    ASSERT_TRUE(child.exited) << "signal " << child.signal;
    if (child.report == "no mount") {
        GTEST_SKIP() << "cannot mount " << needs;
    }
    EXPECT_EQ(child.report, "");
}

using RoomOnRealMediaTest = JoinFixture;

TEST_F(RoomOnRealMediaTest, AMemoryFileSystemWithoutASizeTakesThePiece) {
    const Bytes bytes = PatternBytes(5000, 51);
    WriteAll(source, bytes);
    const ChildResult child = RunInChild([&]() -> std::string {
        // size=0: no limit, and statfs counts no blocks at all.
        if (!EnterPrivateMountNamespace() || !MountMemoryFileSystem(folders[0], "0", false)) {
            return "no mount";
        }
        if (SplitPiece(host, 1) != kTransferCompleted) {
            return "refused: " + WhatIsLeft(host);
        }
        return ReadAll(Piece(1)) == Slice(bytes, 0, 500) ? "" : "the piece is wrong";
    });
    Judge(child, "a memory file system here (needs root and a mount namespace)");
}

TEST_F(RoomOnRealMediaTest, AJoinPressNeedsRoomOnlyForWhatGoesBeyondTemp) {
    // Pieces of 2 MiB, on a medium of 6 MiB.
    const Bytes bytes = PatternBytes(20 * MiB, 52);
    SplitAll(bytes);
    const ChildResult child = RunInChild([&]() -> std::string {
        if (!EnterPrivateMountNamespace() || !MountMemoryFileSystem(dest, "6m", false)) {
            return "no mount";
        }
        std::ostringstream wrong;
        if (JoinPiece(host, 1) != kTransferCompleted || JoinPiece(host, 2) != kTransferCompleted) {
            return "rows 1 and 2 did not join: " + WhatIsLeft(host);
        }
        // Row 3 stopped after its first chunk: 1 MiB left free, and the
        // press again adds just that.
        host.AtPump(host.pumps + 1, [] { TransferState = kTransferCancelRequested; });
        if (JoinPiece(host, 3) != kTransferFailed || fs::file_size(Result()) != 5 * MiB) {
            return "row 3 was not stopped after one chunk";
        }
        if (JoinPiece(host, 3) != kTransferCompleted) {
            wrong << "row 3 again was refused; ";
        }
        // The medium is full now; row 1 again adds nothing.
        if (JoinPiece(host, 1) != kTransferCompleted) {
            wrong << "row 1 again on the full medium was refused; ";
        }
        if (ReadAll(Result()) != Slice(bytes, 0, 6 * MiB)) {
            wrong << "temp is not the first three pieces; ";
        }
        return wrong.str() + WhatIsLeft(host);
    });
    Judge(child, "a memory file system here (needs root and a mount namespace)");
}

// An ext4 file system of 16 MiB that keeps half its blocks back, mounted at
// `folder`, open to every user. False where loop devices or mkfs are missing.
bool MountExt4WithReserve(const fs::path& image, const fs::path& folder) {
    const std::string quiet = " >/dev/null 2>&1";
    return std::system(("mkfs.ext4 -q -F -m 50 " + image.string() + " 16M" + quiet).c_str()) == 0 &&
           std::system(
               ("mount -o loop " + image.string() + " " + folder.string() + quiet).c_str()) == 0 &&
           ::chmod(folder.c_str(), 0777) == 0;
}

TEST_F(RoomOnRealMediaTest, RootMayWriteIntoTheReservedBlocksAndOtherUsersMayNot) {
    // The source and the path to it must be readable by the other user.
    ::chmod(dir.path().c_str(), 0755);
    const ChildResult child = RunInChild([&]() -> std::string {
        if (::geteuid() != 0 || !EnterPrivateMountNamespace() ||
            !MountExt4WithReserve(dir.path() / "ext4.img", folders[0])) {
            return "no mount";
        }
        struct statvfs st {};
        ::statvfs(folders[0].c_str(), &st);
        const std::uint64_t available = st.f_bavail * st.f_frsize;
        const std::uint64_t reserve = (st.f_bfree - st.f_bavail) * st.f_frsize;
        if (reserve < 4 * MiB) {
            return "ext4 kept back only " + std::to_string(reserve) + " bytes";
        }
        // A piece 2 MiB beyond what other users may use, well inside the reserve.
        const std::size_t piece = (available + 2 * MiB) / 4096 * 4096;
        const Bytes bytes = PatternBytes(10 * piece, 53);
        WriteAll(source, bytes);
        ::chmod(source.c_str(), 0644);

        const ChildResult user = RunInChild([&]() -> std::string {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) {
                return "could not become another user";
            }
            if (SplitPiece(host, 1) != kTransferFailed || host.errors.size() != 1 ||
                host.errors[0].ToUtf8() != NoRoom(folders[0], piece, available)) {
                return "another user's press was not refused as it should be: " + WhatIsLeft(host);
            }
            return fs::exists(Piece(1)) ? "another user's refused press left its piece; " : "";
        });
        std::string wrong = user.report;
        if (SplitPiece(host, 1) != kTransferCompleted) {
            wrong += "root's press was refused: " + WhatIsLeft(host);
        } else if (ReadAll(Piece(1)) != Slice(bytes, 0, piece)) {
            wrong += "root's piece is wrong";
        }
        return wrong;
    });
    Judge(child,
          "an ext4 image here (needs root, a mount namespace, loop devices and "
          "mkfs.ext4)");
}

#endif

}  // namespace
