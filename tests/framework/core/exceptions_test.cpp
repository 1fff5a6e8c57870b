// The framework's exception family: the message of each file-error cause,
// the framework's own strings, and how the dispatch reports each kind of
// exception.
#include <gtest/gtest.h>

#include <string>

#include "framework/core/exceptions.h"
#include "framework/core/string.h"

namespace {

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

}  // namespace
