// CFile64::Open: the three creation dispositions, what a refused open
// reports and leaves behind, folders, links and names as typed.
//
// The same tests run on Windows against kernel32 itself (tests/windows).
// There, tests that need a POSIX facility, and those that need the platform
// seam on a kernel32 service, are skipped with the reason.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "engine/file64.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

TEST_F(File64Test, OpenExistingOpensAndKeepsThePathUnchanged) {
    const auto bytes = PatternBytes(300);
    const CString path = MakeFile("source.bin", bytes);
    CFile64 f;
    CFileException record;
    ASSERT_EQ(OpenSource(f, path, &record), TRUE);
    EXPECT_TRUE(f.IsOpen());
    EXPECT_NE(f.m_hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(f.m_bCloseOnDelete, TRUE);
    EXPECT_EQ(f.m_strFileName, path);
    EXPECT_EQ(f.GetLength(), 300);
    EXPECT_EQ(f.GetPosition(), 0);
    std::vector<unsigned char> got(300);
    EXPECT_EQ(f.Read(got.data(), 300), 300u);
    EXPECT_EQ(got, bytes);
    f.Close();
    ExpectNotOpen(f);
    EXPECT_EQ(ReadAll(dir.path() / "source.bin"), bytes);
}

TEST_F(File64Test, OpenExistingOnAMissingFileGivesFileNotFound) {
    const CString path = dir.Child("missing");
    CFile64 f;
    EXPECT_EQ(OpenSource(f, path), FALSE);  // no record: nothing else to tell
    ExpectNotOpen(f);

    CFileException record;
    EXPECT_EQ(OpenSource(f, path, &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(Describe(record), Expected(CFileException::fileNotFound, 2, path.ToUtf8(),
                                         path.ToUtf8() + " が見つかりませんでした。"));
    EXPECT_EQ(record.m_strFileName, path);
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
    EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST_F(File64Test, AMissingFolderOnTheWayGivesBadPath) {
    const CString path = dir.Child("no-such-folder/temp001");
    for (const DWORD disposition : {OPEN_EXISTING, CREATE_NEW, OPEN_ALWAYS}) {
        SCOPED_TRACE(disposition);
        CFile64 f;
        CFileException record;
        const DWORD access = disposition == OPEN_EXISTING ? GENERIC_READ : GENERIC_WRITE;
        const DWORD share = disposition == OPEN_EXISTING ? FILE_SHARE_READ : 0;
        EXPECT_EQ(f.Open(path, access, share, disposition, &record), FALSE);
        ExpectNotOpen(f);
        EXPECT_EQ(Describe(record), Expected(CFileException::badPath, 3, path.ToUtf8(),
                                             path.ToUtf8() + " には無効なﾊﾟｽが含まれています。"));
    }
    EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST_F(File64Test, AFileOnTheWayGivesBadPath) {
    MakeFile("plain", {7});
    const CString path = dir.Child("plain/temp001");
    CFile64 f;
    CFileException record;
    EXPECT_EQ(CreatePiece(f, path, &record), FALSE);
    EXPECT_EQ(Describe(record), Expected(CFileException::badPath, 3, path.ToUtf8(),
                                         path.ToUtf8() + " には無効なﾊﾟｽが含まれています。"));
    EXPECT_EQ(ReadAll(dir.path() / "plain"), std::vector<unsigned char>{7});
}

TEST_F(File64Test, AnEmptyPathIsRefusedAsABadPath) {
    CFile64 f;
    CFileException record;
    EXPECT_EQ(OpenSource(f, CString(), &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(Describe(record), Expected(CFileException::badPath, 3, "",
                                         "無題のﾌｧｲﾙ には無効なﾊﾟｽが含まれています。"));
}

TEST_F(File64Test, ANameWithALoneSurrogateIsRefusedAsABadPath) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows file systems store such names";
#else
    // Not well-formed UTF-16, so there is no Linux (UTF-8) name for it.
    CString path = dir.Path();
    path += kPathSeparator;
    path += u'\xD800';
    CFile64 f;
    CFileException record;
    EXPECT_EQ(CreatePiece(f, path, &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(record.m_cause, CFileException::badPath);
    EXPECT_EQ(record.m_lOsError, 123);
    EXPECT_EQ(record.m_strFileName, path);
    EXPECT_TRUE(Entries(dir.path()).empty());
#endif
}

TEST_F(File64Test, CreateNewMakesAnEmptyFileThatWritesLandIn) {
    const CString path = dir.Child("temp001");
    CFile64 f;
    ASSERT_EQ(CreatePiece(f, path), TRUE);
    EXPECT_EQ(f.m_strFileName, path);
    EXPECT_TRUE(fs::is_regular_file(dir.path() / "temp001"));
    EXPECT_EQ(f.GetLength(), 0);
    const auto bytes = PatternBytes(3 * 1048576 + 5, 9);
    f.Write(bytes.data(), 1048576);
    f.Write(bytes.data() + 1048576, 2 * 1048576);
    f.Write(bytes.data() + 3 * 1048576, 5);
    f.Write(bytes.data(), 0);  // nothing, and no error
    EXPECT_EQ(f.GetPosition(), 3 * 1048576 + 5);
    EXPECT_EQ(f.GetLength(), 3 * 1048576 + 5);
    f.Close();
    EXPECT_EQ(ReadAll(dir.path() / "temp001"), bytes);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"temp001"});
}

TEST_F(File64Test, CreateNewOnAnExistingFileGivesAccessDeniedAndLeavesItAlone) {
    for (const std::size_t size : {50, 0}) {
        SCOPED_TRACE(size == 0 ? "an empty file" : "a file with bytes");
        const auto bytes = PatternBytes(size);
        const CString path = MakeFile("temp001", bytes);
        CFile64 f;
        EXPECT_EQ(CreatePiece(f, path), FALSE);
        ExpectNotOpen(f);
        CFileException record;
        EXPECT_EQ(CreatePiece(f, path, &record), FALSE);
        ExpectNotOpen(f);
        EXPECT_EQ(Describe(record), Expected(CFileException::accessDenied, 80, path.ToUtf8(),
                                             path.ToUtf8() + " へのｱｸｾｽは拒否されました。"));
        EXPECT_EQ(ReadAll(dir.path() / "temp001"), bytes);
    }
}

TEST_F(File64Test, CreateNewOnALinkWhoseTargetIsMissingFailsAndCreatesNothing) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#else
    fs::create_symlink(dir.path() / "target", dir.path() / "temp001");
    const CString path = dir.Child("temp001");
    CFile64 f;
    CFileException record;
    EXPECT_EQ(CreatePiece(f, path, &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(Describe(record), Expected(CFileException::accessDenied, 80, path.ToUtf8(),
                                         path.ToUtf8() + " へのｱｸｾｽは拒否されました。"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "target")));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "temp001")));
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"temp001"});
#endif
}

TEST_F(File64Test, CreateNewOnALinkToAFileFailsAndLeavesTheFileAlone) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#else
    const auto bytes = PatternBytes(20);
    MakeFile("target", bytes);
    fs::create_symlink(dir.path() / "target", dir.path() / "temp001");
    CFile64 f;
    CFileException record;
    EXPECT_EQ(CreatePiece(f, dir.Child("temp001"), &record), FALSE);
    EXPECT_EQ(record.m_lOsError, 80);
    EXPECT_EQ(ReadAll(dir.path() / "target"), bytes);
#endif
}

TEST_F(File64Test, OpenAlwaysCreatesAMissingFile) {
    const CString path = dir.Child("temp");
    CFile64 f;
    ASSERT_EQ(OpenResult(f, path), TRUE);
    EXPECT_EQ(f.m_strFileName, path);
    EXPECT_EQ(f.GetLength(), 0);
    f.Close();
    EXPECT_TRUE(fs::is_regular_file(dir.path() / "temp"));
    EXPECT_EQ(fs::file_size(dir.path() / "temp"), 0u);
}

TEST_F(File64Test, OpenAlwaysNeverTruncates) {
    const auto original = PatternBytes(100, 3);
    const CString path = MakeFile("temp", original);
    {
        CFile64 f;
        ASSERT_EQ(OpenResult(f, path), TRUE);
        EXPECT_EQ(f.GetLength(), 100);
        EXPECT_EQ(f.GetPosition(), 0);
        f.Close();
    }
    EXPECT_EQ(ReadAll(dir.path() / "temp"), original);

    // Overwriting the start keeps the rest; writing at the end appends.
    const std::vector<unsigned char> head{0xAA, 0xBB, 0xCC};
    const std::vector<unsigned char> tail{0x11, 0x22};
    CFile64 f;
    ASSERT_EQ(OpenResult(f, path), TRUE);
    f.Write(head.data(), 3);
    EXPECT_EQ(f.Seek(0, CFile64::end, TRUE), 100);
    f.Write(tail.data(), 2);
    f.Close();
    auto expected = original;
    std::copy(head.begin(), head.end(), expected.begin());
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(ReadAll(dir.path() / "temp"), expected);
}

TEST_F(File64Test, AFolderOpenedAsAFileGivesAccessDenied) {
    fs::create_directory(dir.path() / "folder");
    const CString path = dir.Child("folder");
    struct Case {
        const char* name;
        BOOL (*open)(CFile64&, const CString&, CFileException*);
    };
    for (const Case& c : {Case{"open to read", OpenSource}, Case{"open the result", OpenResult}}) {
        SCOPED_TRACE(c.name);
        CFile64 f;
        CFileException record;
        EXPECT_EQ(c.open(f, path, &record), FALSE);
        ExpectNotOpen(f);
        EXPECT_EQ(Describe(record), Expected(CFileException::accessDenied, 5, path.ToUtf8(),
                                             path.ToUtf8() + " へのｱｸｾｽは拒否されました。"));
    }
    {
        // Something exists at the path: refused (file exists) with the same cause.
        CFile64 f;
        CFileException record;
        EXPECT_EQ(CreatePiece(f, path, &record), FALSE);
        ExpectNotOpen(f);
        EXPECT_EQ(record.m_cause, CFileException::accessDenied);
    }
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
    EXPECT_TRUE(Entries(dir.path() / "folder").empty());
}

TEST_F(File64Test, AFailedOpenLeavesAnOpenHandleAsItWas) {
    const auto bytes = PatternBytes(10);
    const CString path = MakeFile("a", bytes);
    CFile64 f;
    ASSERT_TRUE(OpenSource(f, path));
    const HANDLE before = f.m_hFile;
    CFileException record;
    EXPECT_EQ(OpenSource(f, dir.Child("missing"), &record), FALSE);
    EXPECT_EQ(record.m_lOsError, 2);
    EXPECT_EQ(f.m_hFile, before);
    EXPECT_EQ(f.m_bCloseOnDelete, TRUE);
    EXPECT_EQ(f.m_strFileName, path);
    std::vector<unsigned char> got(10);
    EXPECT_EQ(f.Read(got.data(), 10), 10u);
    EXPECT_EQ(got, bytes);
}

TEST_F(File64Test, JapaneseNamesAreUsedAsTyped) {
    const fs::path onDisk = dir.path() / fs::path(u"分割ﾃｽﾄ.bin");
    const CString path = ToCString(onDisk);
    ASSERT_GT(path.GetLength(), 9);
    EXPECT_EQ(CString(path.str().substr(static_cast<std::size_t>(path.GetLength() - 9))).ToUtf8(),
              "分割ﾃｽﾄ.bin");
    CFile64 f;
    ASSERT_TRUE(CreatePiece(f, path));
    EXPECT_EQ(f.m_strFileName, path);
    const std::vector<unsigned char> bytes{1, 2, 3};
    f.Write(bytes.data(), 3);
    f.Close();
    EXPECT_EQ(ReadAll(onDisk), bytes);

    const CString missing = ToCString(dir.path() / fs::path(u"無い.bin"));
    CFileException record;
    CFile64 g;
    EXPECT_FALSE(OpenSource(g, missing, &record));
    EXPECT_EQ(record.GetErrorMessage().ToUtf8(), missing.ToUtf8() + " が見つかりませんでした。");
}

TEST_F(File64Test, AFifoOpensWithoutWaitingForAWriter) {
#ifdef _WIN32
    GTEST_SKIP() << "named pipes in the file system are a POSIX facility";
#else
    const fs::path fifo = dir.path() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CFile64 file;
    // Without a writer the open must return at once, and the read finds the end.
    ASSERT_TRUE(file.Open(ToCString(fifo), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    unsigned char byte = 0;
    EXPECT_EQ(file.Read(&byte, 1), 0u);
#endif
}

}  // namespace
