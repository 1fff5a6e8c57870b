// CFile64's share modes: a read-sharing open and an exclusive one exclude
// each other, in this process and across processes, through links too.
//
// The same tests run on Windows against kernel32 itself (tests/windows).
// There, tests that need a POSIX facility, and those that need the platform
// seam on a kernel32 service, are skipped with the reason.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <vector>

#include "engine/file64.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

TEST_F(File64Test, AnExclusiveOpenAndAReadSharingOpenRefuseEachOtherAndTheFileStaysAsItWas) {
    struct Case {
        const char* name;
        const char* file;
        BOOL (*holder)(CFile64&, const CString&, CFileException*);   // opens first
        BOOL (*refused)(CFile64&, const CString&, CFileException*);  // until that is closed
    };
    const Case cases[] = {
        {"an exclusive open refuses a read-sharing one", "temp", OpenResult, OpenSource},
        {"a read-sharing open refuses an exclusive one", "temp001", OpenSource, OpenResult},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto bytes = PatternBytes(64);
        const CString path = MakeFile(c.file, bytes);
        CFile64 holder;
        ASSERT_TRUE(c.holder(holder, path, nullptr));
        CFile64 refused;
        CFileException record;
        EXPECT_EQ(c.refused(refused, path, &record), FALSE);
        ExpectNotOpen(refused);
        EXPECT_EQ(Describe(record),
                  Expected(CFileException::sharingViolation, 32, path.ToUtf8(),
                           path.ToUtf8() + " へのｱｸｾｽ中に共有違反が発生しました。"));
        CFile64 second;
        EXPECT_EQ(OpenResult(second, path, &record), FALSE);
        EXPECT_EQ(record.m_lOsError, 32);

        holder.Close();
        // Read once nothing holds it: kernel32 lets no other open of the file
        // in while an exclusive one does.
        EXPECT_EQ(ReadAll(dir.path() / c.file), bytes);
        EXPECT_EQ(c.refused(refused, path, nullptr), TRUE);
    }
}

TEST_F(File64Test, TwoReadSharingOpensBothSucceed) {
    const auto bytes = PatternBytes(64);
    const CString path = MakeFile("source", bytes);
    CFile64 a;
    CFile64 b;
    ASSERT_EQ(OpenSource(a, path), TRUE);
    ASSERT_EQ(OpenSource(b, path), TRUE);
    std::vector<unsigned char> fromA(64);
    std::vector<unsigned char> fromB(64);
    EXPECT_EQ(b.Read(fromB.data(), 64), 64u);
    EXPECT_EQ(a.Read(fromA.data(), 64), 64u);
    EXPECT_EQ(fromA, bytes);
    EXPECT_EQ(fromB, bytes);
}

TEST_F(File64Test, TheSameFileThroughALinkConflictsToo) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#else
    const CString path = MakeFile("temp", PatternBytes(8));
    fs::create_symlink(dir.path() / "temp", dir.path() / "link");
    CFile64 writer;
    ASSERT_TRUE(OpenResult(writer, path));
    CFile64 reader;
    CFileException record;
    EXPECT_FALSE(OpenSource(reader, dir.Child("link"), &record));
    EXPECT_EQ(record.m_lOsError, 32);
    EXPECT_EQ(record.m_strFileName, dir.Child("link"));
#endif
}

TEST_F(File64Test, ALockSurvivesTheClosingOfAnotherDescriptorOfTheSameFile) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX descriptors and their locks are a Linux matter";
#else
    const CString path = MakeFile("temp", PatternBytes(8));
    CFile64 writer;
    ASSERT_TRUE(OpenResult(writer, path));
    // A descriptor that takes no lock, opened and closed behind the handle's
    // back: a process-wide F_SETLK lock would be dropped here.
    const int fd = ::open((dir.path() / "temp").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::close(fd), 0);
    CFile64 reader;
    CFileException record;
    EXPECT_FALSE(OpenSource(reader, path, &record));
    EXPECT_EQ(record.m_lOsError, 32);
    writer.Close();
    EXPECT_TRUE(OpenSource(reader, path));
#endif
}

TEST_F(File64Test, ClosingOneOfTwoReadersKeepsTheOthersClaim) {
    const CString path = MakeFile("temp", PatternBytes(8));
    CFileException record;
    CFile64 first;
    ASSERT_TRUE(OpenSource(first, path));
    {
        CFile64 second;
        ASSERT_TRUE(OpenSource(second, path));
        second.Close();
    }
    CFile64 exclusive;
    EXPECT_FALSE(OpenResult(exclusive, path, &record));
    EXPECT_EQ(record.m_lOsError, 32);
    first.Close();
    EXPECT_TRUE(OpenResult(exclusive, path));
}

TEST_F(File64Test, AnOpenHeldByAnotherProcessConflicts) {
#ifdef _WIN32
    GTEST_SKIP() << "uses fork, which Windows does not have";
#else
    const CString path = MakeFile("temp", PatternBytes(8));
    {
        // This process holds the file exclusively; a child is refused.
        CFile64 writer;
        ASSERT_TRUE(OpenResult(writer, path));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            CFile64 reader;
            CFileException record;
            const BOOL opened = OpenSource(reader, path, &record);
            ::_exit(opened ? 100 : static_cast<int>(record.m_lOsError));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 32);
        // The child's copy of the descriptor is gone; this process still holds the lock.
        CFile64 reader;
        CFileException record;
        EXPECT_FALSE(OpenSource(reader, path, &record));
        EXPECT_EQ(record.m_lOsError, 32);
    }
    {
        // A child holds the file for reading; this process cannot open it
        // exclusively until the child has ended.
        int ready[2];
        int release[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(release), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            ::close(release[1]);
            CFile64 reader;
            const char opened = OpenSource(reader, path) ? 'y' : 'n';
            (void)!::write(ready[1], &opened, 1);
            char ignored;
            (void)!::read(release[0], &ignored, 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        char opened = 0;
        ASSERT_EQ(::read(ready[0], &opened, 1), 1);
        EXPECT_EQ(opened, 'y');
        CFile64 writer;
        CFileException record;
        EXPECT_FALSE(OpenResult(writer, path, &record));
        EXPECT_EQ(record.m_lOsError, 32);
        CFile64 reader;
        EXPECT_TRUE(OpenSource(reader, path));  // reading alongside is allowed
        reader.Close();
        ::close(release[1]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(ready[0]);
        EXPECT_TRUE(OpenResult(writer, path));
    }
#endif
}

}  // namespace
