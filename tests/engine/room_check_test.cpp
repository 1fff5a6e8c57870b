// A press that cannot fit is refused before it writes: too little free
// space, or a FAT medium and a file of 4 GiB or more. The answers of media
// this machine does not have come from the test seam; real_media_test.cpp
// has a real medium that is too small.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/join.h"
#include "engine/split.h"
#include "platform/fault_injection.h"
#include "tests/engine/room_messages.h"
#include "tests/support/transfer_fixture.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

// What the medium says: faked, failing, or (nullopt) the real one.
struct Answer {
    std::optional<FileSystemSpace> space;
    bool fails = false;
};

void Arm(const Answer& answer) {
    fault_injection::ClearFailures();
    if (answer.space) {
        fault_injection::FakeFileSystemSpace(*answer.space);
    }
    if (answer.fails) {
        fault_injection::FailCall(fault_injection::Call::QueryFileSystemSpace, 0);
    }
}

using RoomCheckTest = JoinFixture;

TEST_F(RoomCheckTest, ASplitThatCannotFitIsRefusedAndLeavesNoPiece) {
    struct Case {
        const char* name;
        std::uint64_t sourceSize;  // piece 1 is a tenth of it
        Answer answer;
        bool refusedForFat;
        bool refusedForRoom;
    };
    const std::vector<Case> cases = {
        {"one byte too little", 1000, {FileSystemSpace{99, false}}, false, true},
        {"exactly enough", 1000, {FileSystemSpace{100, false}}, false, false},
        {"a small piece on FAT", 1000, {FileSystemSpace{kGiB, true}}, false, false},
        {"the largest FAT file",
         10 * 0xFFFFFFFFull,
         {FileSystemSpace{8 * kGiB, true}},
         false,
         false},
        {"one byte more on FAT",
         10 * 0x100000000ull,
         {FileSystemSpace{8 * kGiB, true}},
         true,
         false},
        {"a query that fails", 1000, {FileSystemSpace{0, true}, true}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.errors.clear();
        fs::remove(Piece(1));
        WriteAll(source, {});
        // Sparse: a source of 40 GiB costs nothing until it is read.
        fs::resize_file(source, c.sourceSize);
        const std::uint64_t piece = c.sourceSize / 10;
        Arm(c.answer);
        if (!c.refusedForFat && !c.refusedForRoom && piece > 1000) {
            // Allowed, and too large to copy here: the press is cancelled at
            // its first pump, having got past the check.
            host.AtPump(host.pumps + 1, [] { TransferState = kTransferCancelRequested; });
            EXPECT_EQ(SplitPiece(host, 1), kTransferFailed);
            EXPECT_TRUE(host.errors.empty());
            EXPECT_TRUE(fs::exists(Piece(1)));
            continue;
        }
        const TransferResult result = SplitPiece(host, 1);
        if (c.refusedForFat || c.refusedForRoom) {
            EXPECT_EQ(result, kTransferFailed);
            ASSERT_EQ(host.errors.size(), 1u);
            EXPECT_EQ(host.errors[0].ToUtf8(),
                      c.refusedForFat ? FatLimit(folders[0], piece)
                                      : NoRoom(folders[0], piece, c.answer.space->freeBytes));
            EXPECT_FALSE(fs::exists(Piece(1)));
        } else {
            EXPECT_EQ(result, kTransferCompleted);
            EXPECT_TRUE(host.errors.empty());
            EXPECT_EQ(fs::file_size(Piece(1)), piece);
        }
    }
}

TEST_F(RoomCheckTest, AJoinThatCannotFitIsRefusedAndLeavesTheResultAsItWas) {
    SplitAll(std::vector<unsigned char>(1000, 7));
    // No `temp` yet: the one the refused press made goes again.
    Arm({FileSystemSpace{99, false}});
    EXPECT_EQ(JoinPiece(host, 1), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].ToUtf8(), NoRoom(dest, 100, 99));
    EXPECT_FALSE(fs::exists(Result()));
    // A `temp` that was there keeps what it held.
    WriteAll(Result(), std::vector<unsigned char>(300, 1));
    host.errors.clear();
    EXPECT_EQ(JoinPiece(host, 4), kTransferFailed);
    EXPECT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(ReadAll(Result()), std::vector<unsigned char>(300, 1));
    // On FAT, the file a piece would make counts: piece 9 of 512 MiB pieces
    // ends beyond 4 GiB.
    fs::resize_file(Piece(9), kGiB / 2);
    Arm({FileSystemSpace{8 * kGiB, true}});
    host.errors.clear();
    EXPECT_EQ(JoinPiece(host, 9), kTransferFailed);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].ToUtf8(), FatLimit(dest, 9 * (kGiB / 2)));
    EXPECT_EQ(ReadAll(Result()), std::vector<unsigned char>(300, 1));
    // Exactly enough room for what goes beyond `temp`'s end: the piece goes in.
    Arm({FileSystemSpace{100, false}});
    host.errors.clear();
    EXPECT_EQ(JoinPiece(host, 4), kTransferCompleted);
    EXPECT_TRUE(host.errors.empty());
    // What `temp` holds already needs no new room.
    Arm({FileSystemSpace{0, false}});
    EXPECT_EQ(JoinPiece(host, 1), kTransferCompleted);
    EXPECT_TRUE(host.errors.empty());
}

}  // namespace
