// A `temp` that a join creates keeps the gap before a piece joined out of
// order as a hole, so row 9 of a large file writes only its own bytes; the
// finished result has every byte. A `temp` that was there is left as it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "engine/join.h"
#include "platform/fault_injection.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/transfer_fixture.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

using fault_injection::Call;
using Bytes = std::vector<unsigned char>;

constexpr std::size_t MiB = ChunkSize;
constexpr std::size_t kPiece = 4 * MiB;

// Whether the file system stores little more than `bytes` of `file`: its
// allocated blocks on Linux; on Windows, the sparse attribute, where the
// volume has sparse files at all (Wine's volumes say they have none, and keep
// no holes).
bool StoresLittleMoreThan(const fs::path& file, std::uintmax_t bytes) {
#ifdef _WIN32
    (void)bytes;
    const HANDLE handle = CreateFileW(file.wstring().c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD flags = 0;
    const bool volumeHasSparseFiles =
        GetVolumeInformationByHandleW(handle, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
        (flags & FILE_SUPPORTS_SPARSE_FILES) != 0;
    CloseHandle(handle);
    return !volumeHasSparseFiles ||
           (GetFileAttributesW(file.wstring().c_str()) & FILE_ATTRIBUTE_SPARSE_FILE) != 0;
#else
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 &&
           static_cast<std::uintmax_t>(st.st_blocks) * 512 <= bytes + MiB / 4;
#endif
}

using SparseResultTest = JoinFixture;

TEST_F(SparseResultTest, APieceJoinedFirstFarInLeavesTheGapBeforeItAsAHole) {
    const Bytes bytes = PatternBytes(10 * kPiece + 3, 61);
    SplitAll(bytes);
    fault_injection::CallCounter created;
    ASSERT_EQ(JoinPiece(host, 9), kTransferCompleted);
    EXPECT_EQ(created.Calls(Call::MakeSparse), 1);
    EXPECT_EQ(fs::file_size(Result()), 9 * kPiece);
    EXPECT_TRUE(StoresLittleMoreThan(Result(), kPiece));
    EXPECT_EQ(Slice(ReadAll(Result()), 8 * kPiece, kPiece), Slice(bytes, 8 * kPiece, kPiece));

    fault_injection::CallCounter existing;
    for (const int row : {3, 1, 8, 2, 5, 4, 7, 6, 10}) {
        ASSERT_EQ(JoinPiece(host, row), kTransferCompleted) << "row " << row;
    }
    EXPECT_EQ(existing.Calls(Call::MakeSparse), 0);
    EXPECT_EQ(ReadAll(Result()), bytes);
}

TEST_F(SparseResultTest, AResultThatCannotBeMadeSparseStillTakesEveryPiece) {
    const Bytes bytes = PatternBytes(10 * kPiece + 7, 62);
    SplitAll(bytes);
    // As on a FAT card, which has no sparse files: the gap is written out.
    fault_injection::FailCall(Call::MakeSparse, 1);
    ASSERT_EQ(JoinPiece(host, 9), kTransferCompleted);
    for (const int row : {1, 2, 3, 4, 5, 6, 7, 8, 10}) {
        ASSERT_EQ(JoinPiece(host, row), kTransferCompleted) << "row " << row;
    }
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(ReadAll(Result()), bytes);
}

}  // namespace
