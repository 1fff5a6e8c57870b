// CFile64, the large-file handle, over the file layer of platform/
//
// Failures come from real conditions wherever one exists (a missing file, a
// folder, a second open, /dev/full, RLIMIT_FSIZE, /proc/self/mem, a null
// buffer); the platform seam is used only for a failing close and for the
// 0xFFFFFFFF rule of the size and position queries.
//
// The same tests run on Windows against kernel32 itself (tests/windows).
// There, tests that need a POSIX facility, and those that need the seam on a
// kernel32 service, are skipped with the reason.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/file64.h"
#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// What a CFileException carried, in a form that compares and prints well.
struct Raised {
    bool raised = false;
    int cause = -1;
    std::int32_t osError = 0;
    std::string fileName;
    std::string message;

    bool operator==(const Raised&) const = default;
};

void PrintTo(const Raised& r, std::ostream* os) {
    if (!r.raised) {
        *os << "{nothing raised}";
        return;
    }
    *os << "{cause " << r.cause << ", OS error " << r.osError << ", file \"" << r.fileName
        << "\", message \"" << r.message << "\"}";
}

Raised Describe(const CFileException& e) {
    return Raised{true, e.m_cause, e.m_lOsError, e.m_strFileName.ToUtf8(),
                  e.GetErrorMessage().ToUtf8()};
}

// Runs `body`; returns what the CFileException it raised carried, or
// {nothing raised}. Other exceptions pass through and fail the test.
template <typename Body>
Raised Catch(Body&& body) {
    try {
        body();
    } catch (const CFileException& e) {
        return Describe(e);
    }
    return Raised{};
}

Raised Expected(int cause, std::int32_t osError, const std::string& fileName,
                const std::string& message) {
    return Raised{true, cause, osError, fileName, message};
}

// The open options of the program's callers.
BOOL OpenForReading(CFile64& f, const CString& path, CFileException* e = nullptr) {
    return f.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, e, nullptr,
                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}
BOOL CreatePiece(CFile64& f, const CString& path, CFileException* e = nullptr) {
    return f.Open(path, GENERIC_WRITE, 0, CREATE_NEW, e, nullptr, FILE_FLAG_SEQUENTIAL_SCAN,
                  nullptr);
}
BOOL OpenResult(CFile64& f, const CString& path, CFileException* e = nullptr) {
    return f.Open(path, GENERIC_WRITE, 0, OPEN_ALWAYS, e, nullptr, FILE_FLAG_SEQUENTIAL_SCAN,
                  nullptr);
}

void ExpectNotOpen(const CFile64& f) {
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.m_hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(f.m_bCloseOnDelete, FALSE);
    EXPECT_TRUE(f.m_strFileName.IsEmpty());
}

// The error record as a Raised, for comparing with Expected(...).
Raised Record(const CFileException& e) {
    return Describe(e);
}

std::vector<unsigned char> Slice(const std::vector<unsigned char>& bytes, std::size_t from,
                                 std::size_t count) {
    return std::vector<unsigned char>(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// `count` bytes of `file` from `offset`, read without the program's code.
std::vector<unsigned char> ReadAt(const fs::path& file, std::uint64_t offset, std::size_t count) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::vector<unsigned char> bytes(count);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

#ifndef _WIN32
int CountOpenDescriptors() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}
#endif

// Skips the test where the platform seam cannot make `call` fail (on Windows
// the engine calls kernel32 itself).
#define REQUIRE_SEAM(call)                                                         \
    do {                                                                           \
        if (!fault_injection::Supports(fault_injection::Call::call)) {             \
            GTEST_SKIP() << "the platform's own " #call " cannot be made to fail"; \
        }                                                                          \
    } while (0)

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

constexpr std::int64_t k4GiB = 4294967296LL;

class File64Test : public ::testing::Test {
protected:
    void SetUp() override { fault_injection::ClearFailures(); }
    void TearDown() override { fault_injection::ClearFailures(); }

    // A file `name` in the test's folder holding `bytes`.
    CString MakeFile(const std::string& name, const std::vector<unsigned char>& bytes) {
        WriteAll(dir.path() / name, bytes);
        return dir.Child(name);
    }

    TempDir dir;
};

// --- A new handle ----------------------------------------------------------

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
    ASSERT_TRUE(OpenForReading(g, path));
    EXPECT_EQ(Catch([&] { g.Close(); }), Expected(CFileException::accessDenied, 5, "",
                                                  "無題のﾌｧｲﾙ へのｱｸｾｽは拒否されました。"));
    ExpectNotOpen(g);
}

// --- Open: the three creation dispositions -----------------------------------

TEST_F(File64Test, OpenExistingOpensAndKeepsThePathUnchanged) {
    const auto bytes = PatternBytes(300);
    const CString path = MakeFile("source.bin", bytes);
    CFile64 f;
    CFileException record;
    ASSERT_EQ(OpenForReading(f, path, &record), TRUE);
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
    EXPECT_EQ(OpenForReading(f, path), FALSE);  // no record: nothing else to tell
    ExpectNotOpen(f);

    CFileException record;
    EXPECT_EQ(OpenForReading(f, path, &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(Record(record), Expected(CFileException::fileNotFound, 2, path.ToUtf8(),
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
        EXPECT_EQ(Record(record), Expected(CFileException::badPath, 3, path.ToUtf8(),
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
    EXPECT_EQ(Record(record), Expected(CFileException::badPath, 3, path.ToUtf8(),
                                       path.ToUtf8() + " には無効なﾊﾟｽが含まれています。"));
    EXPECT_EQ(ReadAll(dir.path() / "plain"), std::vector<unsigned char>{7});
}

TEST_F(File64Test, AnEmptyPathIsRefusedAsABadPath) {
    CFile64 f;
    CFileException record;
    EXPECT_EQ(OpenForReading(f, CString(), &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(Record(record), Expected(CFileException::badPath, 3, "",
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
    const auto bytes = PatternBytes(50);
    const CString path = MakeFile("temp001", bytes);
    CFile64 f;
    EXPECT_EQ(CreatePiece(f, path), FALSE);
    ExpectNotOpen(f);
    CFileException record;
    EXPECT_EQ(CreatePiece(f, path, &record), FALSE);
    ExpectNotOpen(f);
    EXPECT_EQ(Record(record), Expected(CFileException::accessDenied, 80, path.ToUtf8(),
                                       path.ToUtf8() + " へのｱｸｾｽは拒否されました。"));
    EXPECT_EQ(ReadAll(dir.path() / "temp001"), bytes);
}

TEST_F(File64Test, CreateNewOnAnEmptyExistingFileFailsToo) {
    const CString path = MakeFile("temp001", {});
    CFile64 f;
    CFileException record;
    EXPECT_EQ(CreatePiece(f, path, &record), FALSE);
    EXPECT_EQ(record.m_lOsError, 80);
    EXPECT_EQ(record.m_cause, CFileException::accessDenied);
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
    EXPECT_EQ(Record(record), Expected(CFileException::accessDenied, 80, path.ToUtf8(),
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
    {
        CFile64 f;
        CFileException record;
        EXPECT_EQ(OpenForReading(f, path, &record), FALSE);
        ExpectNotOpen(f);
        EXPECT_EQ(Record(record), Expected(CFileException::accessDenied, 5, path.ToUtf8(),
                                           path.ToUtf8() + " へのｱｸｾｽは拒否されました。"));
    }
    {
        CFile64 f;
        CFileException record;
        EXPECT_EQ(OpenResult(f, path, &record), FALSE);
        ExpectNotOpen(f);
        EXPECT_EQ(Record(record), Expected(CFileException::accessDenied, 5, path.ToUtf8(),
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
    ASSERT_TRUE(OpenForReading(f, path));
    const HANDLE before = f.m_hFile;
    CFileException record;
    EXPECT_EQ(OpenForReading(f, dir.Child("missing"), &record), FALSE);
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
    EXPECT_FALSE(OpenForReading(g, missing, &record));
    EXPECT_EQ(record.GetErrorMessage().ToUtf8(), missing.ToUtf8() + " が見つかりませんでした。");
}

// --- Share modes -------------------------------------------------------------

TEST_F(File64Test, AnExclusiveOpenRefusesAReadSharingOpen) {
    const auto bytes = PatternBytes(64);
    const CString path = MakeFile("temp", bytes);
    CFile64 writer;
    ASSERT_TRUE(OpenResult(writer, path));
    CFile64 reader;
    CFileException record;
    EXPECT_EQ(OpenForReading(reader, path, &record), FALSE);
    ExpectNotOpen(reader);
    EXPECT_EQ(Record(record), Expected(CFileException::sharingViolation, 32, path.ToUtf8(),
                                       path.ToUtf8() + " へのｱｸｾｽ中に共有違反が発生しました。"));
    CFile64 second;
    EXPECT_EQ(OpenResult(second, path, &record), FALSE);
    EXPECT_EQ(record.m_lOsError, 32);

    writer.Close();
    EXPECT_EQ(OpenForReading(reader, path), TRUE);
}

TEST_F(File64Test, AReadSharingOpenRefusesAnExclusiveOpenAndTheFileStaysAsItWas) {
    const auto bytes = PatternBytes(64);
    const CString path = MakeFile("temp001", bytes);
    CFile64 reader;
    ASSERT_TRUE(OpenForReading(reader, path));
    CFile64 writer;
    CFileException record;
    EXPECT_EQ(OpenResult(writer, path, &record), FALSE);
    ExpectNotOpen(writer);
    EXPECT_EQ(Record(record), Expected(CFileException::sharingViolation, 32, path.ToUtf8(),
                                       path.ToUtf8() + " へのｱｸｾｽ中に共有違反が発生しました。"));
    EXPECT_EQ(ReadAll(dir.path() / "temp001"), bytes);

    reader.Close();
    EXPECT_EQ(OpenResult(writer, path), TRUE);
}

TEST_F(File64Test, TwoReadSharingOpensBothSucceed) {
    const auto bytes = PatternBytes(64);
    const CString path = MakeFile("source", bytes);
    CFile64 a;
    CFile64 b;
    ASSERT_EQ(OpenForReading(a, path), TRUE);
    ASSERT_EQ(OpenForReading(b, path), TRUE);
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
    EXPECT_FALSE(OpenForReading(reader, dir.Child("link"), &record));
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
    EXPECT_FALSE(OpenForReading(reader, path, &record));
    EXPECT_EQ(record.m_lOsError, 32);
    writer.Close();
    EXPECT_TRUE(OpenForReading(reader, path));
#endif
}

TEST_F(File64Test, ClosingOneOfTwoReadersKeepsTheOthersClaim) {
    const CString path = MakeFile("temp", PatternBytes(8));
    CFileException record;
    CFile64 first;
    ASSERT_TRUE(OpenForReading(first, path));
    {
        CFile64 second;
        ASSERT_TRUE(OpenForReading(second, path));
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
            const BOOL opened = OpenForReading(reader, path, &record);
            ::_exit(opened ? 100 : static_cast<int>(record.m_lOsError));
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 32);
        // The child's copy of the descriptor is gone; this process still holds the lock.
        CFile64 reader;
        CFileException record;
        EXPECT_FALSE(OpenForReading(reader, path, &record));
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
            const char opened = OpenForReading(reader, path) ? 'y' : 'n';
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
        EXPECT_TRUE(OpenForReading(reader, path));  // reading alongside is allowed
        reader.Close();
        ::close(release[1]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(ready[0]);
        EXPECT_TRUE(OpenResult(writer, path));
    }
#endif
}

// --- Path length -------------------------------------------------------------

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
    EXPECT_EQ(OpenForReading(f, path, &record), FALSE);
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

// --- Read --------------------------------------------------------------------

TEST_F(File64Test, ReadAtTheEndGivesZeroAndAcrossTheEndTheBytesLeft) {
    const auto bytes = PatternBytes(10);
    const CString path = MakeFile("source", bytes);
    CFile64 f;
    ASSERT_TRUE(OpenForReading(f, path));
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
    ASSERT_TRUE(OpenForReading(f, path));
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
    ASSERT_TRUE(OpenForReading(f, path));
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
    ASSERT_TRUE(OpenForReading(f, u"/proc/self/mem"));
    std::vector<unsigned char> buffer(16);
    EXPECT_EQ(Catch([&] { f.Read(buffer.data(), 16); }),
              Expected(CFileException::hardIO, 23, "",
                       "無題のﾌｧｲﾙ へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"));
#endif
}

// --- Write failures ------------------------------------------------------------

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

TEST_F(File64Test, AShortWriteRaisesDiskFullWithTheFilesPath) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a file size limit (RLIMIT_FSIZE), which Windows does not have";
#else
    const CString path = dir.Child("temp001");
    const fs::path onDisk = dir.path() / "temp001";
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
        ASSERT_TRUE(OpenForReading(f, path));
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

// --- Seek, GetPosition, GetLength ------------------------------------------------

TEST_F(File64Test, SeekFromTheBeginningIgnoresTheDirectionFlag) {
    const auto bytes = PatternBytes(100);
    const CString path = MakeFile("source", bytes);
    CFile64 f;
    ASSERT_TRUE(OpenForReading(f, path));
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
    ASSERT_TRUE(OpenForReading(f, path));
    const std::int64_t offset = 5;
    unsigned char b = 0;

    ASSERT_EQ(f.Seek(12, CFile64::begin, TRUE), 12);
    EXPECT_EQ(f.Seek(offset, CFile64::current, FALSE), 7);
    EXPECT_EQ(f.GetPosition(), 7);
    EXPECT_EQ(f.Read(&b, 1), 1u);
    EXPECT_EQ(b, bytes[7]);

    ASSERT_EQ(f.Seek(12, CFile64::begin, TRUE), 12);
    EXPECT_EQ(f.Seek(offset, CFile64::current, TRUE), 17);
    EXPECT_EQ(f.GetPosition(), 17);
    EXPECT_EQ(f.Read(&b, 1), 1u);
    EXPECT_EQ(b, bytes[17]);
    EXPECT_EQ(offset, 5);

    EXPECT_EQ(f.Seek(0, CFile64::current, FALSE), 18);
    EXPECT_EQ(f.Seek(0, CFile64::current, TRUE), 18);
}

TEST_F(File64Test, SeekFromTheEndMayGoBeyondItWithoutGrowingTheFile) {
    const auto bytes = PatternBytes(100);
    const CString path = MakeFile("temp", bytes);
    {
        CFile64 f;
        ASSERT_TRUE(OpenForReading(f, path));
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
    ASSERT_TRUE(OpenForReading(f, path));
    ASSERT_EQ(f.Seek(10, CFile64::begin, TRUE), 10);
    const Raised badSeek =
        Expected(CFileException::badSeek, 131, "", "無題のﾌｧｲﾙ のｼｰｸに失敗しました。");
    EXPECT_EQ(Catch([&] { f.Seek(-1, CFile64::begin, TRUE); }), badSeek);
    EXPECT_EQ(f.GetPosition(), 10);
    EXPECT_EQ(Catch([&] { f.Seek(11, CFile64::current, FALSE); }), badSeek);
    EXPECT_EQ(f.GetPosition(), 10);
    EXPECT_EQ(Catch([&] { f.Seek(101, CFile64::end, FALSE); }), badSeek);
    EXPECT_EQ(f.GetPosition(), 10);
    EXPECT_EQ(Catch([&] { f.Seek(-5'000'000'000LL, CFile64::begin, FALSE); }), badSeek);
    EXPECT_EQ(Catch([&] { f.Seek(INT64_MIN, CFile64::begin, TRUE); }), badSeek);
    EXPECT_EQ(f.GetPosition(), 10);
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.m_strFileName, path);
}

TEST_F(File64Test, PositionsBeyondFourGiBOnASparseFile) {
    MakeSparseFile(dir.path() / "big", 6'000'000'000ULL);
    CFile64 f;
    ASSERT_TRUE(OpenForReading(f, dir.Child("big")));
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
        ASSERT_TRUE(OpenForReading(f, ToCString(file)));
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
    ASSERT_TRUE(OpenForReading(f, dir.Child("big")));
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

// --- Failures that only the seam produces --------------------------------------

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
        EXPECT_EQ(Describe(e), Expected(CFileException::accessDenied, 5, "",
                                        "無題のﾌｧｲﾙ へのｱｸｾｽは拒否されました。"));
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

TEST_F(File64Test, ACloseThatFailsWithNumberZeroRaisesNothing) {
    REQUIRE_SEAM(CloseHandle);
    const CString path = MakeFile("temp", PatternBytes(8));
    CFile64 f;
    ASSERT_TRUE(OpenResult(f, path));
    fault_injection::FailCall(fault_injection::Call::CloseHandle, ERROR_SUCCESS);
    EXPECT_EQ(Catch([&] { f.Close(); }), Raised{});
    ExpectNotOpen(f);
}

TEST_F(File64Test, GetLengthFollowsTheAllOnesRule) {
    REQUIRE_SEAM(GetFileSize);
    const CString path = MakeFile("source", PatternBytes(100));
    CFile64 f;
    ASSERT_TRUE(OpenForReading(f, path));
    // 0xFFFFFFFF with error number 0 is a valid low half.
    fault_injection::FailCall(fault_injection::Call::GetFileSize, ERROR_SUCCESS);
    std::int64_t length = 0;
    EXPECT_EQ(Catch([&] { length = f.GetLength(); }), Raised{});
    EXPECT_EQ(length, k4GiB - 1);
    EXPECT_EQ(f.GetLength(), 100);

    fault_injection::FailCall(fault_injection::Call::GetFileSize, ERROR_CRC);
    EXPECT_EQ(Catch([&] { f.GetLength(); }),
              Expected(CFileException::hardIO, 23, "",
                       "無題のﾌｧｲﾙ へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"));
    fault_injection::FailCall(fault_injection::Call::GetFileSize, ERROR_INVALID_HANDLE);
    EXPECT_EQ(Catch([&] { f.GetLength(); }),
              Expected(CFileException::fileNotFound, 6, "", "無題のﾌｧｲﾙ が見つかりませんでした。"));
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.GetLength(), 100);
}

TEST_F(File64Test, GetPositionFollowsTheAllOnesRule) {
    REQUIRE_SEAM(SetFilePointer);
    const CString path = MakeFile("source", PatternBytes(100));
    CFile64 f;
    ASSERT_TRUE(OpenForReading(f, path));
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
    ASSERT_TRUE(OpenForReading(f, path));
    ASSERT_EQ(f.Seek(40, CFile64::begin, TRUE), 40);

    // The move "fails" with number 0: its result stands as a valid low half.
    fault_injection::FailCall(fault_injection::Call::SetFilePointer, ERROR_SUCCESS);
    std::int64_t result = 0;
    EXPECT_EQ(Catch([&] { result = f.Seek(5, CFile64::begin, TRUE); }), Raised{});
    EXPECT_EQ(result, k4GiB - 1);

    ASSERT_EQ(f.Seek(40, CFile64::begin, TRUE), 40);
    // The move itself fails.
    fault_injection::FailCall(fault_injection::Call::SetFilePointer, 25);
    EXPECT_EQ(Catch([&] { f.Seek(5, CFile64::begin, TRUE); }),
              Expected(CFileException::badSeek, 25, "", "無題のﾌｧｲﾙ のｼｰｸに失敗しました。"));
    EXPECT_EQ(f.GetPosition(), 40);
    // From current: the position query fails (first call) ...
    fault_injection::FailCall(fault_injection::Call::SetFilePointer, ERROR_CRC);
    EXPECT_EQ(Catch([&] { f.Seek(5, CFile64::current, TRUE); }),
              Expected(CFileException::hardIO, 23, "",
                       "無題のﾌｧｲﾙ へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"));
    EXPECT_EQ(f.GetPosition(), 40);
    // ... or the move after it (second call).
    fault_injection::FailCall(fault_injection::Call::SetFilePointer, 25, 1);
    EXPECT_EQ(Catch([&] { f.Seek(5, CFile64::current, TRUE); }),
              Expected(CFileException::badSeek, 25, "", "無題のﾌｧｲﾙ のｼｰｸに失敗しました。"));
    EXPECT_EQ(f.GetPosition(), 40);
    // From the end: the length query fails.
    fault_injection::FailCall(fault_injection::Call::GetFileSize, 33);
    EXPECT_EQ(Catch([&] { f.Seek(5, CFile64::end, FALSE); }),
              Expected(CFileException::lockViolation, 33, "",
                       "無題のﾌｧｲﾙ へのｱｸｾｽ中にﾛｯｸ違反が発生しました。"));
    EXPECT_EQ(f.GetPosition(), 40);
    // Nothing armed any more: the same calls succeed.
    EXPECT_EQ(f.Seek(5, CFile64::current, TRUE), 45);
    EXPECT_EQ(f.Seek(5, CFile64::end, FALSE), 95);
}

// --- Destruction ------------------------------------------------------------------

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
