// CFile64::Read and CFile64::Write: short reads at the end, and the failures
// of each from real conditions (a null buffer, /proc/self/mem, /dev/full, a
// file size limit, the wrong access).
//
// The same tests run on Windows against kernel32 itself (tests/windows).
// There, tests that need a POSIX facility, and those that need the platform
// seam on a kernel32 service, are skipped with the reason.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <vector>

#include "engine/file64.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

#ifndef _WIN32
// Lowers this process's file size limit and ignores SIGXFSZ, so that a write
// past the limit is cut short (or refused with EFBIG) instead of killing the
// process; both are restored on leaving the scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_ok = ::getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        m_ok = m_ok && m_savedHandler != SIG_ERR && ::setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool ok() const { return m_ok; }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = SIG_DFL;
    bool m_ok = false;
};
#endif

// --- Read --------------------------------------------------------------------

TEST_F(File64Test, ReadAtTheEndGivesZeroAndAcrossTheEndTheBytesLeft) {
    const auto bytes = PatternBytes(10);
    const CString path = MakeFile("source", bytes);
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    std::vector<unsigned char> buffer(16, 0xEE);
    EXPECT_EQ(f.Seek(4, CFile64::begin, TRUE), 4);
    EXPECT_EQ(f.Read(buffer.data(), 16), 6u);
    EXPECT_EQ(Slice(buffer, 0, 6), Slice(bytes, 4, 6));
    EXPECT_EQ(Slice(buffer, 6, 10), std::vector<unsigned char>(10, 0xEE));  // untouched
    EXPECT_EQ(f.GetPosition(), 10);
    EXPECT_EQ(Catch([&] { EXPECT_EQ(f.Read(buffer.data(), 16), 0u); }), Raised{});
    EXPECT_EQ(f.Read(buffer.data(), 16), 0u);
    EXPECT_EQ(f.Read(buffer.data(), 0), 0u);
    EXPECT_EQ(f.Seek(50, CFile64::begin, TRUE), 50);  // beyond the end
    EXPECT_EQ(f.Read(buffer.data(), 16), 0u);
}

TEST_F(File64Test, ReadsOneMiBBlocksAndAShortLastOne) {
    const auto bytes = PatternBytes(1048576 + 5, 4);
    const CString path = MakeFile("source", bytes);
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    std::vector<unsigned char> buffer(1048576);
    EXPECT_EQ(f.Read(buffer.data(), 1048576), 1048576u);
    EXPECT_EQ(buffer, Slice(bytes, 0, 1048576));
    EXPECT_EQ(f.Read(buffer.data(), 1048576), 5u);
    EXPECT_EQ(Slice(buffer, 0, 5), Slice(bytes, 1048576, 5));
    EXPECT_EQ(f.Read(buffer.data(), 1048576), 0u);
}

TEST_F(File64Test, AReadIntoANullBufferRaisesGenericWithoutAName) {
    const CString path = MakeFile("source", PatternBytes(100));
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    EXPECT_EQ(Catch([&] { f.Read(nullptr, 100); }),
              Expected(CFileException::generic, 998, "",
                       "無題のﾌｧｲﾙ へのｱｸｾｽ中に不明なｴﾗｰが発生しました。"));
    EXPECT_TRUE(f.IsOpen());  // a failed read does not close the handle
    EXPECT_EQ(f.m_strFileName, path);
}

TEST_F(File64Test, ADeviceErrorOnReadRaisesHardIOWithoutAName) {
#ifdef _WIN32
    GTEST_SKIP() << "reads /proc/self/mem, a Linux file";
#else
    // Offset 0 of a process's memory is never mapped: the read gets EIO.
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, u"/proc/self/mem"));
    std::vector<unsigned char> buffer(16);
    EXPECT_EQ(Catch([&] { f.Read(buffer.data(), 16); }),
              Expected(CFileException::hardIO, 23, "",
                       "無題のﾌｧｲﾙ へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"));
#endif
}

// --- Write -------------------------------------------------------------------

TEST_F(File64Test, AShortWriteRaisesDiskFullWithTheFilesPath) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a file size limit (RLIMIT_FSIZE), which Windows does not have";
#else
    const CString path = dir.Child("temp001");
    const std::filesystem::path onDisk = dir.path() / "temp001";
    const auto bytes = PatternBytes(4096, 5);
    Raised shortWrite;
    Raised refusedWrite;
    {
        FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.ok());
        CFile64 f;
        ASSERT_TRUE(CreatePiece(f, path));
        // The medium takes 1000 of 4096 bytes without failing the call.
        shortWrite = Catch([&] { f.Write(bytes.data(), 4096); });
        EXPECT_TRUE(f.IsOpen());
        EXPECT_EQ(f.GetPosition(), 1000);
        // Nothing more fits: the write itself fails (EFBIG, 112).
        refusedWrite = Catch([&] { f.Write(bytes.data(), 10); });
        f.Close();
    }
    EXPECT_EQ(shortWrite, Expected(CFileException::diskFull, -1, path.ToUtf8(),
                                   path.ToUtf8() + " へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"));
    EXPECT_EQ(refusedWrite, Expected(CFileException::diskFull, 112, path.ToUtf8(),
                                     path.ToUtf8() + " へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"));
    EXPECT_EQ(ReadAll(onDisk), Slice(bytes, 0, 1000));
#endif
}

TEST_F(File64Test, AFailingWriteRaisesWithThePath) {
#ifdef _WIN32
    GTEST_SKIP() << "writes to /dev/full, a Linux device";
#else
    // /dev/full refuses every write with ENOSPC. Sharing reads keeps this test
    // from holding a lock that another test process could meet.
    CFile64 f;
    ASSERT_TRUE(f.Open(u"/dev/full", GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING));
    const auto bytes = PatternBytes(1048576);
    EXPECT_EQ(Catch([&] { f.Write(bytes.data(), 1048576); }),
              Expected(CFileException::diskFull, 112, "/dev/full",
                       "/dev/full へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"));
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.m_strFileName.ToUtf8(), "/dev/full");
#endif
}

TEST_F(File64Test, WritingThroughAReadHandleOrReadingThroughAWriteHandleIsAccessDenied) {
    const auto bytes = PatternBytes(16);
    const CString path = MakeFile("temp", bytes);
    {
        CFile64 f;
        ASSERT_TRUE(OpenSource(f, path));
        EXPECT_EQ(Catch([&] { f.Write(bytes.data(), 16); }),
                  Expected(CFileException::accessDenied, 5, path.ToUtf8(),
                           path.ToUtf8() + " へのｱｸｾｽは拒否されました。"));
        EXPECT_TRUE(f.IsOpen());
    }
    {
        CFile64 f;
        ASSERT_TRUE(OpenResult(f, path));
        std::vector<unsigned char> buffer(16);
        EXPECT_EQ(
            Catch([&] { f.Read(buffer.data(), 16); }),
            Expected(CFileException::accessDenied, 5, "", "無題のﾌｧｲﾙ へのｱｸｾｽは拒否されました。"));
    }
    EXPECT_EQ(ReadAll(dir.path() / "temp"), bytes);
}

}  // namespace
