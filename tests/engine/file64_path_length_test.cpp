// CFile64::Open and the length of a path: 259 UTF-16 units are the most a
// path may have, whatever the file system would take.
//
// The same tests run on Windows against kernel32 itself (tests/windows).
// There, tests that need a POSIX facility, and those that need the platform
// seam on a kernel32 service, are skipped with the reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "engine/file64.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class File64PathLengthTest : public File64Test {
protected:
    // A path in the test's folder of exactly `units` UTF-16 units, ending in
    // `suffix` (which counts towards them).
    CString PathOfLength(int units, const std::u16string& suffix = u"") {
        CString path = dir.Path();
        path += kPathSeparator;
        const int fill = units - path.GetLength() - static_cast<int>(suffix.size());
        if (fill < 1 || fill > 240) {
            throw std::runtime_error("the temporary folder's path does not fit the test");
        }
        path += CString(std::u16string(static_cast<std::size_t>(fill), u'n'));
        path += CString(suffix);
        EXPECT_EQ(path.GetLength(), units);
        return path;
    }
};

TEST_F(File64PathLengthTest, TwoHundredFiftyNineUnitsAreAccepted) {
    const CString path = PathOfLength(259);
    CFile64 f;
    ASSERT_EQ(CreatePiece(f, path), TRUE);
    EXPECT_EQ(f.m_strFileName, path);
    f.Close();
    EXPECT_TRUE(fs::is_regular_file(fs::path(path.str())));
    EXPECT_EQ(Entries(dir.path()).size(), 1u);
}

TEST_F(File64PathLengthTest, TwoHundredSixtyUnitsAreRefusedAsABadPath) {
    const CString path = PathOfLength(260);
    CFile64 f;
    EXPECT_EQ(CreatePiece(f, path), FALSE);
    CFileException record;
    EXPECT_EQ(CreatePiece(f, path, &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(record.m_cause, CFileException::badPath);
    EXPECT_EQ(record.m_lOsError, 206);
    EXPECT_EQ(record.m_strFileName, path);
    EXPECT_EQ(record.GetErrorMessage().ToUtf8(),
              path.ToUtf8() + " には無効なﾊﾟｽが含まれています。");
    EXPECT_TRUE(Entries(dir.path()).empty());
    EXPECT_FALSE(OpenResult(f, path));
    EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST_F(File64PathLengthTest, UnitsNotCharactersAreCounted) {
    // U+20BB7 takes two UTF-16 units.
    const CString accepted = PathOfLength(259, u"\U00020BB7");
    CFile64 f;
    ASSERT_EQ(CreatePiece(f, accepted), TRUE);
    f.Close();
    EXPECT_TRUE(fs::exists(fs::path(accepted.str())));

    const CString refused = PathOfLength(260, u"x\U00020BB7");  // 259 characters
    CFileException record;
    EXPECT_EQ(CreatePiece(f, refused, &record), FALSE);
    EXPECT_EQ(record.m_cause, CFileException::badPath);
    EXPECT_EQ(Entries(dir.path()).size(), 1u);
}

TEST_F(File64PathLengthTest, ALongPathToAnExistingFileIsRefused) {
    // Separators repeated lead to an existing file that the platform would
    // open (the path is far below Linux's own limit): the refusal is the
    // handle's limit, not the file system's.
    MakeFile("f", {1});
    CString path = dir.Path();
    for (int i = 0; i < 300; ++i) {
        path += kPathSeparator;
    }
    path += u'f';
    CFile64 f;
    CFileException record;
    EXPECT_EQ(OpenSource(f, path, &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(record.m_cause, CFileException::badPath);
    EXPECT_EQ(record.m_lOsError, 206);
    EXPECT_EQ(record.m_strFileName, path);
}

TEST_F(File64PathLengthTest, AVeryLongPathIsRefusedWithoutHarm) {
    const CString path(std::u16string(100000, u'x'));
    CFile64 f;
    CFileException record;
    EXPECT_EQ(OpenResult(f, path, &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(record.m_lOsError, 206);
    EXPECT_EQ(record.m_strFileName, path);
}

}  // namespace
