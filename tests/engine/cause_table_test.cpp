// The file errors: Windows error numbers to cause codes, the
// message of each cause, how the dispatch reports an exception, and the Linux
// layer's errno to Windows number conversion.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/file64.h"
#include "framework/core/exceptions.h"
#include "platform/errno_table.h"
#include "platform/file_api.h"
#include "tests/support/temp_dir.h"

namespace {

// The table behind CauseFromOsError, written out again by cause.
const std::map<int, std::vector<std::int32_t>>& SpecTable() {
    static const std::map<int, std::vector<std::int32_t>> table = {
        {CFileException::none, {0}},
        {CFileException::fileNotFound, {2, 6, 18, 107}},
        {CFileException::badPath,
         {3, 15, 17, 34, 52, 53, 55, 67, 70, 85, 111, 123, 124, 125, 144, 154, 161, 206, 208, 267}},
        {CFileException::tooManyOpenFiles, {4, 36, 68, 113}},
        {CFileException::accessDenied,
         {5, 12, 19, 29, 54, 58, 64, 65, 71, 80, 82, 86, 170, 183, 999}},
        {CFileException::invalidFile, {11, 26, 60, 66, 114, 182, 191, 193}},
        {CFileException::removeCurrentDir, {16, 145}},
        {CFileException::directoryFull, {62}},
        {CFileException::badSeek, {24, 25, 27, 30, 131, 132}},
        {CFileException::hardIO, {20, 21, 22, 23, 57, 59, 88, 117, 995, 996, 997}},
        {CFileException::sharingViolation, {32}},
        {CFileException::lockViolation, {33, 108, 167}},
        {CFileException::diskFull, {39, 112}},
        {CFileException::endOfFile, {38}},
    };
    return table;
}

bool Listed(std::int32_t number) {
    for (const auto& [cause, numbers] : SpecTable()) {
        for (const std::int32_t n : numbers) {
            if (n == number) {
                return true;
            }
        }
    }
    return false;
}

TEST(CauseFromOsError, EveryListedNumberGivesItsCause) {
    int count = 0;
    for (const auto& [cause, numbers] : SpecTable()) {
        for (const std::int32_t number : numbers) {
            EXPECT_EQ(CauseFromOsError(number), cause) << "error number " << number;
            ++count;
        }
    }
    EXPECT_EQ(count, 79);  // the whole table
}

TEST(CauseFromOsError, UnlistedNumbersAreGeneric) {
    for (const std::int32_t number :
         {998, 1,  87, 1117, 7,    8,       10, 13, 14,        31,
          35,  37, 40, 50,   1000, 183 + 1, -1, -2, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(CauseFromOsError(number), CFileException::generic) << "error number " << number;
    }
    // No number outside the table has a cause of its own.
    for (std::int32_t number = -100; number <= 20000; ++number) {
        if (!Listed(number)) {
            ASSERT_EQ(CauseFromOsError(number), CFileException::generic)
                << "error number " << number;
        }
    }
}

TEST(RaiseOsError, NumberZeroDoesNotRaise) {
    EXPECT_NO_THROW(RaiseOsError(0, nullptr));
    EXPECT_NO_THROW(RaiseOsError(0, u"/some/file"));
}

TEST(RaiseOsError, RaisesTheCauseTheNumberAndTheName) {
    try {
        RaiseOsError(112, u"/media/card/temp003");
        FAIL() << "nothing raised";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_lOsError, 112);
        EXPECT_EQ(e.m_strFileName.ToUtf8(), "/media/card/temp003");
        EXPECT_EQ(e.GetErrorMessage().ToUtf8(),
                  "/media/card/temp003 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
    }
    try {
        RaiseOsError(998, nullptr);
        FAIL() << "nothing raised";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::generic);
        EXPECT_EQ(e.m_lOsError, 998);
        EXPECT_TRUE(e.m_strFileName.IsEmpty());
    }
    for (const auto& [cause, numbers] : SpecTable()) {
        for (const std::int32_t number : numbers) {
            if (number == 0) {
                continue;
            }
            try {
                RaiseOsError(number, u"x");
                ADD_FAILURE() << "nothing raised for " << number;
            } catch (const CFileException& e) {
                EXPECT_EQ(e.m_cause, cause) << number;
                EXPECT_EQ(e.m_lOsError, number);
                EXPECT_EQ(e.m_strFileName.ToUtf8(), "x");
            }
        }
    }
    // It is an exception of the framework's family, caught as such.
    EXPECT_THROW(RaiseOsError(5, nullptr), CException);
}

// --- Messages ------------------------------------------------------------------

struct Template {
    int cause;
    const char* before;  // the text before the name
    const char* after;   // the text after it
};
// The message templates, split at "%1".
constexpr Template kTemplates[] = {
    {CFileException::generic, "", " へのｱｸｾｽ中に不明なｴﾗｰが発生しました。"},
    {CFileException::fileNotFound, "", " が見つかりませんでした。"},
    {CFileException::badPath, "", " には無効なﾊﾟｽが含まれています。"},
    {CFileException::tooManyOpenFiles, "開いているﾌｧｲﾙが多すぎるため、", " を開けませんでした。"},
    {CFileException::accessDenied, "", " へのｱｸｾｽは拒否されました。"},
    {CFileException::invalidFile, "", " へ無効なﾌｧｲﾙ ﾊﾝﾄﾞﾙが関連付けられていました。"},
    {CFileException::removeCurrentDir, "現在のﾃﾞｨﾚｸﾄﾘ ", " は削除できませんでした。"},
    {CFileException::directoryFull, "", " を作成できませんでした。そのﾃﾞｨﾚｸﾄﾘはいっぱいです。"},
    {CFileException::badSeek, "", " のｼｰｸに失敗しました。"},
    {CFileException::hardIO, "", " へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"},
    {CFileException::sharingViolation, "", " へのｱｸｾｽ中に共有違反が発生しました。"},
    {CFileException::lockViolation, "", " へのｱｸｾｽ中にﾛｯｸ違反が発生しました。"},
    {CFileException::diskFull, "", " へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"},
    {CFileException::endOfFile, "", " の末尾以降にｱｸｾｽしようとしました。"},
};

TEST(FileExceptionMessage, EachCauseWithANameAndWithout) {
    const std::string name = "/media/カード1/temp001";
    for (const Template& t : kTemplates) {
        SCOPED_TRACE(t.cause);
        const CFileException named(t.cause, 5, CString::FromUtf8(name));
        EXPECT_EQ(named.GetErrorMessage().ToUtf8(), t.before + name + t.after);
        const CFileException unnamed(t.cause, 5);
        EXPECT_EQ(unnamed.GetErrorMessage().ToUtf8(),
                  std::string(t.before) + "無題のﾌｧｲﾙ" + t.after);
        const CFileException empty(t.cause, 5, CString(u""));
        EXPECT_EQ(empty.GetErrorMessage().ToUtf8(), std::string(t.before) + "無題のﾌｧｲﾙ" + t.after);
    }
    // Cause 0 has no place for a name.
    EXPECT_EQ(CFileException(CFileException::none, 0, u"/a").GetErrorMessage().ToUtf8(),
              "ｴﾗｰはありませんでした。");
    EXPECT_EQ(CFileException(CFileException::none, 0).GetErrorMessage().ToUtf8(),
              "ｴﾗｰはありませんでした。");
}

TEST(FileExceptionMessage, HoldsNoErrorNumber) {
    const CFileException e(CFileException::diskFull, 112, u"/mnt/x");
    EXPECT_EQ(e.GetErrorMessage().Find(u"112"), -1);
    const CFileException shortWrite(CFileException::diskFull, -1, u"/mnt/x");
    EXPECT_EQ(shortWrite.GetErrorMessage(), e.GetErrorMessage());
}

TEST(FileExceptionMessage, TheNameIsTakenLiterally) {
    // A name with placeholders or format directives is put in as it is.
    const CFileException e(CFileException::fileNotFound, 2, u"/tmp/%1 %s %d%%");
    EXPECT_EQ(e.GetErrorMessage().ToUtf8(), "/tmp/%1 %s %d%% が見つかりませんでした。");
}

TEST(FileExceptionMessage, ANewRecordIsCauseNoneWithOsErrorMinusOne) {
    const CFileException e;
    EXPECT_EQ(e.m_cause, CFileException::none);
    EXPECT_EQ(e.m_lOsError, -1);
    EXPECT_TRUE(e.m_strFileName.IsEmpty());
}

TEST(FrameworkStrings, UntitledFileAndMemoryTexts) {
    EXPECT_EQ(LoadFrameworkString(0xF006).ToUtf8(), "無題のﾌｧｲﾙ");
    EXPECT_EQ(LoadFrameworkString(0xF023).ToUtf8(), "ﾒﾓﾘが不足しています。");
    EXPECT_EQ(LoadFrameworkString(0xF1A0).ToUtf8(), "ｴﾗｰはありませんでした。");
    EXPECT_EQ(LoadFrameworkString(0xF1A0 + 13).ToUtf8(),
              "%1 へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
    EXPECT_EQ(LoadFrameworkString(0xF1AE).ToUtf8(), "%1 の末尾以降にｱｸｾｽしようとしました。");
    EXPECT_TRUE(LoadFrameworkString(0xF1AF).IsEmpty());
}

// --- How the dispatch reports an exception --------------------------------------------

TEST(DescribeFailure, AFileExceptionShowsItsMessageWithTheStopIcon) {
    const CFileException e(CFileException::diskFull, -1, u"/media/card/temp");
    const FailureReport report = DescribeFailure(e);
    EXPECT_TRUE(report.show);
    EXPECT_EQ(report.text.ToUtf8(), "/media/card/temp へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
    EXPECT_EQ(report.style, 0x10u);

    const CFileException unnamed(CFileException::badSeek, 131);
    EXPECT_EQ(DescribeFailure(unnamed).text.ToUtf8(), "無題のﾌｧｲﾙ のｼｰｸに失敗しました。");
    EXPECT_EQ(DescribeFailure(unnamed).style, 0x10u);
}

TEST(DescribeFailure, TheTextIsCutTo511Units) {
    // 600 units of path: the message is longer than the box shows.
    const std::u16string path = u"/" + std::u16string(599, u'あ');
    const CFileException e(CFileException::accessDenied, 5, CString(path));
    const CString full = e.GetErrorMessage();
    ASSERT_EQ(full.GetLength(),
              600 + static_cast<int>(std::u16string(u" へのｱｸｾｽは拒否されました。").size()));
    const FailureReport report = DescribeFailure(e);
    EXPECT_TRUE(report.show);
    EXPECT_EQ(report.text.GetLength(), 511);
    EXPECT_EQ(report.text.str(), path.substr(0, 511));
    EXPECT_EQ(report.style, 0x10u);

    // A message of exactly 511 units is shown whole; 512 loses its last unit.
    const std::u16string tail = u" へのｱｸｾｽは拒否されました。";
    const std::u16string fits(511 - tail.size(), u'x');
    EXPECT_EQ(DescribeFailure(CFileException(5, 5, CString(fits))).text.str(), fits + tail);
    const std::u16string over(512 - tail.size(), u'x');
    EXPECT_EQ(DescribeFailure(CFileException(5, 5, CString(over))).text.str(),
              (over + tail).substr(0, 511));
}

TEST(DescribeFailure, AMemoryExceptionIsSystemModalWithTheExclamationIcon) {
    const CMemoryException e;
    const FailureReport report = DescribeFailure(e);
    EXPECT_TRUE(report.show);
    EXPECT_EQ(report.text.ToUtf8(), "ﾒﾓﾘが不足しています。");
    EXPECT_EQ(report.style, 0x1030u);
}

TEST(DescribeFailure, AUserExceptionIsNotShown) {
    const CUserException e;
    const FailureReport report = DescribeFailure(e);
    EXPECT_FALSE(report.show);
    EXPECT_TRUE(report.text.IsEmpty());
}

// --- errno to Windows error numbers (the Linux file layer) ----------------------------
// platform/file_api_posix.cpp only: on Windows the numbers are kernel32's own.
#ifndef _WIN32

TEST(WindowsErrorFromErrno, EveryErrnoOfTheIssue) {
    const std::vector<std::pair<int, DWORD>> expected = {
        {0, 0},       {ENOENT, 2},         {ENOTDIR, 3},  {EACCES, 5},   {EPERM, 5},   {EISDIR, 5},
        {EEXIST, 80}, {EROFS, 19},         {ENOSPC, 112}, {EDQUOT, 112}, {EFBIG, 112}, {EMFILE, 4},
        {ENFILE, 4},  {ENAMETOOLONG, 206}, {EBADF, 6},    {EFAULT, 998}, {EIO, 23},    {ENODEV, 21},
        {ENXIO, 21},  {EAGAIN, 32},        {ETXTBSY, 32}, {EBUSY, 170},  {EXDEV, 17},
    };
    for (const auto& [error, number] : expected) {
        EXPECT_EQ(WindowsErrorFromErrno(error), number) << "errno " << error;
    }
}

TEST(WindowsErrorFromErrno, TheCausesFollowTheMeaning) {
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(ENOENT)), CFileException::fileNotFound);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(ENOTDIR)), CFileException::badPath);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EACCES)), CFileException::accessDenied);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EEXIST)), CFileException::accessDenied);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EROFS)), CFileException::accessDenied);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(ENOSPC)), CFileException::diskFull);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EFBIG)), CFileException::diskFull);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EMFILE)), CFileException::tooManyOpenFiles);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(ENAMETOOLONG)), CFileException::badPath);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EFAULT)), CFileException::generic);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EIO)), CFileException::hardIO);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(ENXIO)), CFileException::hardIO);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EAGAIN)), CFileException::sharingViolation);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EBUSY)), CFileException::accessDenied);
    EXPECT_EQ(CauseFromOsError(WindowsErrorFromErrno(EXDEV)), CFileException::badPath);
}

TEST(WindowsErrorFromErrno, AMissingEntryIsAFileOrAFolderOnTheWay) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder");
    WriteAll(dir.path() / "plain", {1});
    // The folder exists, the file does not: 2.
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("folder/missing")), 2u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("missing")), 2u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, u"/no-such-file-at-the-root-of-tesserak"), 2u);
    // A folder on the way is missing, or is a file: 3.
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("missing/temp001")), 3u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("missing/deeper/temp001")), 3u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, dir.Child("plain/temp001")), 3u);
    // Without a path there is nothing to check: a missing file.
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT, nullptr), 2u);
    EXPECT_EQ(WindowsErrorFromErrno(ENOENT), 2u);
}

TEST(WindowsErrorFromErrno, AnUnlistedErrnoGivesANumberWhoseCauseIsGeneric) {
    for (const int error : {ELOOP, EOVERFLOW, ENOLCK, EMLINK, ENOSYS, EPIPE, ESTALE, 4095}) {
        const DWORD number = WindowsErrorFromErrno(error);
        EXPECT_NE(number, 0u) << "errno " << error;
        EXPECT_EQ(CauseFromOsError(static_cast<std::int32_t>(number)), CFileException::generic)
            << "errno " << error << " gave " << number;
    }
}

#endif  // _WIN32

}  // namespace
