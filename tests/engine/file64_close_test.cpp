// CFile64 from a new handle to its end: its class record, Close on a handle
// that was never opened, a failing close (which names its file), and what
// destruction closes.
//
// The same tests run on Windows against kernel32 itself (tests/windows).
// There, tests that need a POSIX facility, and those that need the platform
// seam on a kernel32 service, are skipped with the reason.
#include <gtest/gtest.h>

#include <cerrno>
#include <type_traits>

#include "engine/file64.h"
#include "platform/fault_injection.h"
#include "tests/support/file64_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

TEST_F(File64Test, IsACObjectWithItsOwnClassRecordAndCannotBeCopied) {
    static_assert(std::is_base_of_v<CObject, CFile64>);
    static_assert(!std::is_copy_constructible_v<CFile64>);
    static_assert(!std::is_copy_assignable_v<CFile64>);
    CFile64 f;
    const CRuntimeClass* rc = f.GetRuntimeClass();
    ASSERT_EQ(rc, RUNTIME_CLASS(CFile64));
    EXPECT_STREQ(rc->m_lpszClassName, "CFile64");
    EXPECT_EQ(rc->m_nObjectSize, sizeof(CFile64));
    EXPECT_EQ(rc->m_wSchema, 0xFFFFu);
    EXPECT_EQ(rc->m_pfnCreateObject, nullptr);
    EXPECT_EQ(rc->m_pBaseClass, RUNTIME_CLASS(CObject));
    EXPECT_TRUE(f.IsKindOf(RUNTIME_CLASS(CObject)));
}

TEST_F(File64Test, NewHandleIsNotOpen) {
    CFile64 f;
    ExpectNotOpen(f);
    EXPECT_EQ(f.GetFilePath().GetLength(), 0);
}

TEST_F(File64Test, CloseOnANewHandleRaisesNothing) {
    CFile64 f;
    EXPECT_EQ(Catch([&] { f.Close(); }), Raised{});
    ExpectNotOpen(f);
    EXPECT_EQ(Catch([&] { f.Close(); }), Raised{});
    ExpectNotOpen(f);
}

TEST_F(File64Test, CloseAndDestructionOfANewHandleMakeNoPlatformCall) {
    REQUIRE_SEAM(CloseHandle);
    // Arm a failing CloseHandle: a platform call from Close or from the
    // destructor of a handle that is not open would take it and raise.
    fault_injection::FailCall(fault_injection::Call::CloseHandle, ERROR_ACCESS_DENIED);
    { CFile64 never; }
    {
        CFile64 f;
        EXPECT_EQ(Catch([&] { f.Close(); }), Raised{});
        ExpectNotOpen(f);
        EXPECT_EQ(Catch([&] { f.Close(); }), Raised{});
    }
    // The armed failure is still there, so none of the above called the platform.
    const CString path = MakeFile("probe", {1, 2, 3});
    CFile64 g;
    ASSERT_TRUE(OpenSource(g, path));
    EXPECT_EQ(Catch([&] { g.Close(); }), Expected(CFileException::accessDenied, 5, path.ToUtf8(),
                                                  path.ToUtf8() + " へのｱｸｾｽは拒否されました。"));
    ExpectNotOpen(g);
}

// --- Close and destruction of an open handle -------------------------------------

TEST_F(File64Test, AFailingCloseResetsTheHandleBeforeTheExceptionLeaves) {
    REQUIRE_SEAM(CloseHandle);
    const CString path = MakeFile("temp", PatternBytes(8));
    CFile64 f;
    ASSERT_TRUE(OpenResult(f, path));
#ifndef _WIN32
    const int withFile = CountOpenDescriptors();
#endif
    fault_injection::FailCall(fault_injection::Call::CloseHandle, ERROR_ACCESS_DENIED);
    bool caught = false;
    try {
        f.Close();
    } catch (const CFileException& e) {
        caught = true;
        // The exception is still in flight: the handle is already reset.
        ExpectNotOpen(f);
        // The box names the file whose close failed, though the handle no
        // longer holds its name.
        EXPECT_EQ(Describe(e), Expected(CFileException::accessDenied, 5, path.ToUtf8(),
                                        path.ToUtf8() + " へのｱｸｾｽは拒否されました。"));
    }
    EXPECT_TRUE(caught);
    ExpectNotOpen(f);
#ifndef _WIN32
    EXPECT_EQ(CountOpenDescriptors(), withFile - 1);
#endif
    // The descriptor and its lock are gone.
    CFile64 g;
    EXPECT_TRUE(OpenResult(g, path));
    // Closing again makes no call and raises nothing.
    EXPECT_EQ(Catch([&] { f.Close(); }), Raised{});
}

TEST_F(File64Test, AFailingFlushAtCloseNamesTheFileInItsBox) {
    if (!fault_injection::SupportsSystemCalls()) {
        GTEST_SKIP() << "kernel32's own flush cannot be made to fail";
    }
#ifndef _WIN32
    const CString path = dir.Child("temp001");
    CFile64 f;
    ASSERT_TRUE(CreatePiece(f, path));
    const auto bytes = PatternBytes(64);
    f.Write(bytes.data(), 64);
    fault_injection::FailSystemCall(fault_injection::SystemCall::fdatasync, EIO);
    EXPECT_EQ(Catch([&] { f.Close(); }),
              Expected(CFileException::hardIO, 23, path.ToUtf8(),
                       path.ToUtf8() + " へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"));
    ExpectNotOpen(f);
#endif
}

TEST_F(File64Test, ACloseThatFailsWithNumberZeroRaisesNothing) {
    REQUIRE_SEAM(CloseHandle);
    const CString path = MakeFile("temp", PatternBytes(8));
    CFile64 f;
    ASSERT_TRUE(OpenResult(f, path));
    fault_injection::FailCall(fault_injection::Call::CloseHandle, ERROR_SUCCESS);
    EXPECT_EQ(Catch([&] { f.Close(); }), Raised{});
    ExpectNotOpen(f);
}

TEST_F(File64Test, DestroyingAnOpenHandleClosesIt) {
    const CString path = MakeFile("temp", PatternBytes(8));
#ifndef _WIN32
    const int before = CountOpenDescriptors();
#endif
    {
        CFile64 f;
        ASSERT_TRUE(OpenResult(f, path));
#ifndef _WIN32
        EXPECT_EQ(CountOpenDescriptors(), before + 1);
#endif
        CFile64 other;
        EXPECT_FALSE(OpenResult(other, path));
    }
#ifndef _WIN32
    EXPECT_EQ(CountOpenDescriptors(), before);
#endif
    CFile64 later;
    EXPECT_TRUE(OpenResult(later, path));  // the exclusive lock went with it
}

TEST_F(File64Test, DestructionDropsAFailingCloseAlsoWhileAnExceptionLeaves) {
    REQUIRE_SEAM(CloseHandle);
    const CString path = MakeFile("temp", PatternBytes(8));
#ifndef _WIN32
    const int before = CountOpenDescriptors();
#endif
    EXPECT_NO_THROW({
        CFile64 f;
        ASSERT_TRUE(OpenResult(f, path));
        fault_injection::FailCall(fault_injection::Call::CloseHandle, ERROR_ACCESS_DENIED);
    });
#ifndef _WIN32
    EXPECT_EQ(CountOpenDescriptors(), before);
#endif
    EXPECT_THROW(
        {
            CFile64 f;
            ASSERT_TRUE(OpenResult(f, path));
            fault_injection::FailCall(fault_injection::Call::CloseHandle, ERROR_ACCESS_DENIED);
            throw CFileException(CFileException::diskFull, -1, path);
        },
        CFileException);
#ifndef _WIN32
    EXPECT_EQ(CountOpenDescriptors(), before);
#endif
    CFile64 later;
    EXPECT_TRUE(OpenResult(later, path));
}

}  // namespace
