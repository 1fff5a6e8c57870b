// CFile64::Seek, GetPosition and GetLength: the three origins, targets before
// the start, sparse files beyond 4 GiB, and the 0xFFFFFFFF rule of the size and
// position queries (made to fail through the platform seam).
//
// The same tests run on Windows against kernel32 itself (tests/windows).
// There, tests that need a POSIX facility, and those that need the platform
// seam on a kernel32 service, are skipped with the reason.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/file64.h"
#include "platform/fault_injection.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

TEST_F(File64Test, SeekFromTheBeginningIgnoresTheDirectionFlag) {
    const auto bytes = PatternBytes(100);
    const CString path = MakeFile("source", bytes);
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    const std::int64_t offset = 5;
    EXPECT_EQ(f.Seek(offset, CFile64::begin, FALSE), 5);
    EXPECT_EQ(offset, 5);
    EXPECT_EQ(f.GetPosition(), 5);
    EXPECT_EQ(f.Seek(offset, CFile64::begin, TRUE), 5);
    EXPECT_EQ(f.GetPosition(), 5);
    EXPECT_EQ(f.Seek(0, CFile64::begin, TRUE), 0);
    EXPECT_EQ(f.Seek(99, CFile64::begin, TRUE), 99);
    unsigned char b = 0;
    EXPECT_EQ(f.Read(&b, 1), 1u);
    EXPECT_EQ(b, bytes[99]);
}

TEST_F(File64Test, SeekFromTheCurrentPositionMovesByTheOffsetInTheGivenDirection) {
    const auto bytes = PatternBytes(100);
    const CString path = MakeFile("source", bytes);
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    const std::int64_t offset = 5;
    struct Case {
        const char* name;
        BOOL forward;
        std::int64_t target;
    };
    for (const Case& c : {Case{"backward", FALSE, 7}, Case{"forward", TRUE, 17}}) {
        SCOPED_TRACE(c.name);
        unsigned char b = 0;
        ASSERT_EQ(f.Seek(12, CFile64::begin, TRUE), 12);
        EXPECT_EQ(f.Seek(offset, CFile64::current, c.forward), c.target);
        EXPECT_EQ(f.GetPosition(), c.target);
        EXPECT_EQ(f.Read(&b, 1), 1u);
        EXPECT_EQ(b, bytes[static_cast<std::size_t>(c.target)]);
    }
    EXPECT_EQ(offset, 5);

    EXPECT_EQ(f.Seek(0, CFile64::current, FALSE), 18);
    EXPECT_EQ(f.Seek(0, CFile64::current, TRUE), 18);
}

TEST_F(File64Test, SeekFromTheEndMayGoBeyondItWithoutGrowingTheFile) {
    const auto bytes = PatternBytes(100);
    const CString path = MakeFile("temp", bytes);
    {
        CFile64 f;
        ASSERT_TRUE(OpenSource(f, path));
        EXPECT_EQ(f.Seek(5, CFile64::end, TRUE), 105);
        EXPECT_EQ(f.GetPosition(), 105);
        EXPECT_EQ(f.GetLength(), 100);
        EXPECT_EQ(f.Seek(30, CFile64::end, FALSE), 70);
        EXPECT_EQ(f.Seek(0, CFile64::end, TRUE), 100);
        EXPECT_EQ(f.Seek(100, CFile64::end, FALSE), 0);
    }
    EXPECT_EQ(ReadAll(dir.path() / "temp"), bytes);

    // A write there leaves a hole of zeros between the old end and the new bytes.
    CFile64 f;
    ASSERT_TRUE(OpenResult(f, path));
    EXPECT_EQ(f.Seek(5, CFile64::end, TRUE), 105);
    const unsigned char x = 0x5A;
    f.Write(&x, 1);
    EXPECT_EQ(f.GetLength(), 106);
    f.Close();
    auto expected = bytes;
    expected.resize(105, 0);
    expected.push_back(0x5A);
    EXPECT_EQ(ReadAll(dir.path() / "temp"), expected);
}

TEST_F(File64Test, ANegativeTargetRaisesBadSeekWithoutANameAndDoesNotMove) {
    const CString path = MakeFile("source", PatternBytes(100));
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    ASSERT_EQ(f.Seek(10, CFile64::begin, TRUE), 10);
    const Raised badSeek =
        Expected(CFileException::badSeek, 131, "", "無題のﾌｧｲﾙ のｼｰｸに失敗しました。");
    struct Case {
        const char* name;
        std::int64_t offset;
        int origin;
        BOOL forward;
    };
    const Case cases[] = {
        {"one before the start", -1, CFile64::begin, TRUE},
        {"back from the current position past the start", 11, CFile64::current, FALSE},
        {"back from the end past the start", 101, CFile64::end, FALSE},
        {"far before the start, direction ignored", -5'000'000'000LL, CFile64::begin, FALSE},
        {"the lowest offset", INT64_MIN, CFile64::begin, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Catch([&] { f.Seek(c.offset, c.origin, c.forward); }), badSeek);
        EXPECT_EQ(f.GetPosition(), 10);
    }
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.m_strFileName, path);
}

// --- Beyond 4 GiB --------------------------------------------------------------

TEST_F(File64Test, PositionsBeyondFourGiBOnASparseFile) {
    MakeSparseFile(dir.path() / "big", 6'000'000'000ULL);
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, dir.Child("big")));
    EXPECT_EQ(f.GetLength(), 6'000'000'000LL);
    EXPECT_EQ(f.Seek(5'000'000'000LL, CFile64::begin, TRUE), 5'000'000'000LL);
    EXPECT_EQ(f.GetPosition(), 5'000'000'000LL);
    EXPECT_EQ(f.GetPosition(), 5'000'000'000LL);  // asking does not move
    std::vector<unsigned char> buffer(16, 0xEE);
    EXPECT_EQ(f.Read(buffer.data(), 16), 16u);
    EXPECT_EQ(buffer, std::vector<unsigned char>(16, 0));
    EXPECT_EQ(f.GetPosition(), 5'000'000'016LL);
    EXPECT_EQ(f.Seek(1'000'000'016LL, CFile64::current, FALSE), 4'000'000'000LL);
    EXPECT_EQ(f.Seek(2'000'000'000LL, CFile64::current, TRUE), 6'000'000'000LL);
    EXPECT_EQ(f.Seek(1'000'000'000LL, CFile64::end, FALSE), 5'000'000'000LL);
    EXPECT_EQ(f.Seek(4, CFile64::end, FALSE), 5'999'999'996LL);
    EXPECT_EQ(f.Read(buffer.data(), 16), 4u);
}

TEST_F(File64Test, WritesBeyondFourGiBLandAtTheirPosition) {
    const CString path = dir.Child("temp");
    const std::vector<unsigned char> bytes{1, 2, 3, 4, 5, 6, 7, 8};
    {
        CFile64 f;
        ASSERT_TRUE(OpenResult(f, path));
        EXPECT_EQ(f.Seek(5'000'000'000LL, CFile64::begin, TRUE), 5'000'000'000LL);
        f.Write(bytes.data(), 8);
        EXPECT_EQ(f.GetPosition(), 5'000'000'008LL);
        EXPECT_EQ(f.GetLength(), 5'000'000'008LL);
    }
    EXPECT_EQ(fs::file_size(dir.path() / "temp"), 5'000'000'008ULL);
    EXPECT_EQ(ReadAt(dir.path() / "temp", 5'000'000'000ULL, 8), bytes);
    EXPECT_EQ(ReadAt(dir.path() / "temp", 4'999'999'996ULL, 4), std::vector<unsigned char>(4, 0));
}

TEST_F(File64Test, LengthsAndPositionsWithALowHalfOfAllOnesAreValid) {
    for (const std::int64_t size : {k4GiB - 1, k4GiB, k4GiB + 1}) {
        SCOPED_TRACE(size);
        const fs::path file = dir.path() / ("sparse" + std::to_string(size));
        MakeSparseFile(file, static_cast<std::uint64_t>(size));
        CFile64 f;
        ASSERT_TRUE(OpenSource(f, ToCString(file)));
        // A number left over from an earlier failure must not turn a valid
        // low half of all ones into a failure.
        SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(f.GetLength(), size);
        if (size == k4GiB - 1) {
            EXPECT_EQ(GetLastError(), 0u);  // what makes the low half valid
        }
        SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(f.Seek(0, CFile64::end, TRUE), size);
        SetLastError(ERROR_ACCESS_DENIED);
        EXPECT_EQ(f.GetPosition(), size);
        if (size == k4GiB - 1) {
            EXPECT_EQ(GetLastError(), 0u);
        }
        unsigned char b = 0xEE;
        EXPECT_EQ(f.Read(&b, 1), 0u);
    }
    MakeSparseFile(dir.path() / "big", static_cast<std::uint64_t>(k4GiB + 10));
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, dir.Child("big")));
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(f.Seek(k4GiB - 1, CFile64::begin, TRUE), k4GiB - 1);
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(f.GetPosition(), k4GiB - 1);
    EXPECT_EQ(f.Seek(3 * k4GiB - 1, CFile64::begin, TRUE), 3 * k4GiB - 1);  // 0x2FFFFFFFF
    EXPECT_EQ(f.GetPosition(), 3 * k4GiB - 1);
    EXPECT_EQ(f.Seek(k4GiB + 4, CFile64::begin, TRUE), k4GiB + 4);
    std::vector<unsigned char> buffer(16, 0xEE);
    EXPECT_EQ(f.Read(buffer.data(), 16), 6u);
}

// --- The 0xFFFFFFFF rule, through the platform seam ------------------------------

TEST_F(File64Test, GetLengthFollowsTheAllOnesRule) {
    REQUIRE_SEAM(GetFileSize);
    const CString path = MakeFile("source", PatternBytes(100));
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    // 0xFFFFFFFF with error number 0 is a valid low half.
    fault_injection::FailCall(fault_injection::Call::GetFileSize, ERROR_SUCCESS);
    std::int64_t length = 0;
    EXPECT_EQ(Catch([&] { length = f.GetLength(); }), Raised{});
    EXPECT_EQ(length, k4GiB - 1);
    EXPECT_EQ(f.GetLength(), 100);

    struct Case {
        DWORD error;
        Raised raised;
    };
    const Case cases[] = {
        {ERROR_CRC, Expected(CFileException::hardIO, 23, "",
                             "無題のﾌｧｲﾙ へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。")},
        {ERROR_INVALID_HANDLE,
         Expected(CFileException::fileNotFound, 6, "", "無題のﾌｧｲﾙ が見つかりませんでした。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        fault_injection::FailCall(fault_injection::Call::GetFileSize, c.error);
        EXPECT_EQ(Catch([&] { f.GetLength(); }), c.raised);
    }
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.GetLength(), 100);
}

TEST_F(File64Test, GetPositionFollowsTheAllOnesRule) {
    REQUIRE_SEAM(SetFilePointer);
    const CString path = MakeFile("source", PatternBytes(100));
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    ASSERT_EQ(f.Seek(40, CFile64::begin, TRUE), 40);
    fault_injection::FailCall(fault_injection::Call::SetFilePointer, ERROR_SUCCESS);
    std::int64_t position = 0;
    EXPECT_EQ(Catch([&] { position = f.GetPosition(); }), Raised{});
    EXPECT_EQ(position, k4GiB - 1);

    fault_injection::FailCall(fault_injection::Call::SetFilePointer, 25);  // seek error
    EXPECT_EQ(Catch([&] { f.GetPosition(); }),
              Expected(CFileException::badSeek, 25, "", "無題のﾌｧｲﾙ のｼｰｸに失敗しました。"));
    EXPECT_EQ(f.GetPosition(), 40);
}

TEST_F(File64Test, SeekFollowsTheAllOnesRuleAndRaisesForEachFailingCall) {
    REQUIRE_SEAM(SetFilePointer);
    REQUIRE_SEAM(GetFileSize);
    const CString path = MakeFile("source", PatternBytes(100));
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    ASSERT_EQ(f.Seek(40, CFile64::begin, TRUE), 40);

    // The move "fails" with number 0: its result stands as a valid low half.
    fault_injection::FailCall(fault_injection::Call::SetFilePointer, ERROR_SUCCESS);
    std::int64_t result = 0;
    EXPECT_EQ(Catch([&] { result = f.Seek(5, CFile64::begin, TRUE); }), Raised{});
    EXPECT_EQ(result, k4GiB - 1);

    ASSERT_EQ(f.Seek(40, CFile64::begin, TRUE), 40);
    const Raised badSeek =
        Expected(CFileException::badSeek, 25, "", "無題のﾌｧｲﾙ のｼｰｸに失敗しました。");
    struct Case {
        const char* name;
        fault_injection::Call call;
        DWORD error;
        int skip;  // calls that succeed before the failing one
        int origin;
        BOOL forward;
        Raised raised;
    };
    const Case cases[] = {
        {"the move itself fails", fault_injection::Call::SetFilePointer, 25, 0, CFile64::begin,
         TRUE, badSeek},
        {"from current: the position query fails", fault_injection::Call::SetFilePointer, ERROR_CRC,
         0, CFile64::current, TRUE,
         Expected(CFileException::hardIO, 23, "",
                  "無題のﾌｧｲﾙ へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。")},
        {"from current: the move after the query fails", fault_injection::Call::SetFilePointer, 25,
         1, CFile64::current, TRUE, badSeek},
        {"from the end: the length query fails", fault_injection::Call::GetFileSize, 33, 0,
         CFile64::end, FALSE,
         Expected(CFileException::lockViolation, 33, "",
                  "無題のﾌｧｲﾙ へのｱｸｾｽ中にﾛｯｸ違反が発生しました。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fault_injection::FailCall(c.call, c.error, c.skip);
        EXPECT_EQ(Catch([&] { f.Seek(5, c.origin, c.forward); }), c.raised);
        EXPECT_EQ(f.GetPosition(), 40);
    }
    // Nothing armed any more: the same calls succeed.
    EXPECT_EQ(f.Seek(5, CFile64::current, TRUE), 45);
    EXPECT_EQ(f.Seek(5, CFile64::end, FALSE), 95);
}

}  // namespace
