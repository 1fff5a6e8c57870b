// The engine's cause table: Windows error numbers to the cause codes of
// CFileException, the exception RaiseOsError throws for a number, and the
// causes the Linux file layer's numbers come out as.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <vector>

#include "engine/file64.h"
#include "framework/core/exceptions.h"
#include "platform/errno_table.h"

namespace {

// The table behind CauseFromOsError, written out again here by cause.
const std::map<int, std::vector<std::int32_t>>& NumbersByCause() {
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
    for (const auto& [cause, numbers] : NumbersByCause()) {
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
    for (const auto& [cause, numbers] : NumbersByCause()) {
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
    for (const auto& [cause, numbers] : NumbersByCause()) {
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

// --- The causes of the Linux file layer's numbers --------------------------------
// The layer reports errno values as Windows numbers (platform/errno_table.h);
// these are the causes CFile64 gives them. On Windows the numbers are
// kernel32's own.
#ifndef _WIN32

TEST(CauseFromOsError, FollowsTheMeaningOfEachErrno) {
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

TEST(CauseFromOsError, IsGenericForTheNumberOfAnUnlistedErrno) {
    for (const int error : {ELOOP, EOVERFLOW, ENOLCK, EMLINK, ENOSYS, EPIPE, ESTALE, 4095}) {
        const DWORD number = WindowsErrorFromErrno(error);
        EXPECT_NE(number, 0u) << "errno " << error;
        EXPECT_EQ(CauseFromOsError(static_cast<std::int32_t>(number)), CFileException::generic)
            << "errno " << error << " gave " << number;
    }
}

#endif  // _WIN32

}  // namespace
