// The application object's start-up on Windows: the working directory is the
// folder of the program as its first argument names it, cut at the last
// backslash.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "app/split_join_app.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

TEST(WorkingDirectoryWin32Test, TheProgramsFolderUpToTheLastBackslashBecomesTheWorkingDirectory) {
    const fs::path before = fs::current_path();
    std::random_device random;
    fs::path root = fs::temp_directory_path() / ("tesserak-cwd-" + std::to_string(random()));
    fs::create_directories(root / "sub" / "deeper");
    root = fs::canonical(root);
    const std::wstring rootText = root.wstring();
    const std::wstring drive = rootText.substr(0, 2);  // "C:"

    struct Case {
        const char* name;
        std::wstring firstArgument;
        std::wstring programFolder;
        fs::path workingDirectory;
    };
    const Case cases[] = {
        {"full path", rootText + L"\\sub\\tesserak.exe", rootText + L"\\sub", root / "sub"},
        {"relative path", L"sub\\deeper\\tesserak.exe", L"sub\\deeper", root / "sub" / "deeper"},
        {"bare name", L"tesserak.exe", rootText, root},
        {"dot and backslash", L".\\tesserak.exe", L".", root},
        // Forward slashes are no separator of the first argument.
        {"forward slashes", L"sub/deeper/tesserak.exe", rootText, root},
        // The drive designator alone: that drive's current directory, the
        // start folder, which is on it.
        {"root of the drive", drive + L"\\tesserak.exe", drive, root},
        // The root without a drive: the cut leaves nothing, the start folder stays.
        {"root without a drive", L"\\tesserak.exe", L"", root},
        // The longest argument that fits the folder's buffer with its
        // terminator, and one unit more, which counts as no folder.
        {"4,095 units", L"sub\\deeper\\" + std::wstring(4084, L'a'), L"sub\\deeper",
         root / "sub" / "deeper"},
        {"4,096 units", L"sub\\deeper\\" + std::wstring(4085, L'a'), rootText, root},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::current_path(root);
        std::u16string argument(c.firstArgument.begin(), c.firstArgument.end());
        CSplitJoinApp::SetWorkingDirectoryFrom(argument.c_str());
        EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(ProgramFolder)), c.programFolder);
        EXPECT_EQ(fs::current_path(), c.workingDirectory);
    }
    fs::current_path(before);
    fs::remove_all(root);
}

}  // namespace
