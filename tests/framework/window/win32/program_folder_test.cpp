// The real program, started by its full path from another folder: a relative
// folder typed into a row names a folder beside the program, so the piece
// lands there and not in the folder the program was started from.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/win_types.h"
#include "resources/resource.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// Waits for the other process, long enough for a slow machine; never a measure.
constexpr DWORD kPatienceMs = 60000;

// The program the build made, found from this test program's own place.
fs::path BuiltProgram() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::weakly_canonical(fs::path(std::wstring(self, length)).parent_path() /
                                TESSERAK_PROGRAM_FROM_TEST);
}

// A copy of the program running in a process of its own, told to close at
// the end (and ended, when it does not).
class RunningProgram {
public:
    RunningProgram(const fs::path& program, const fs::path& startIn) {
        std::wstring commandLine = L"\"" + program.wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        m_started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, startIn.c_str(), &startup, &m_process) != FALSE;
    }
    ~RunningProgram() {
        if (!m_started) {
            return;
        }
        if (m_window != nullptr) {
            PostMessageW(m_window, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(m_process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
            TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, kPatienceMs);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return m_started; }

    // The program's main window once it shows; null when it never does.
    HWND MainWindow() {
        for (DWORD waited = 0; m_window == nullptr && waited < kPatienceMs; waited += 50) {
            EnumWindows(&TakeMainWindow, reinterpret_cast<LPARAM>(this));
            if (m_window == nullptr) {
                Sleep(50);
            }
        }
        return m_window;
    }

private:
    static BOOL CALLBACK TakeMainWindow(HWND window, LPARAM self) {
        auto* program = reinterpret_cast<RunningProgram*>(self);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t title[16] = {};
        GetWindowTextW(window, title, 16);
        if (process == program->m_process.dwProcessId && IsWindowVisible(window) &&
            std::wstring(title) == L"Tesserak") {
            program->m_window = window;
            return FALSE;
        }
        return TRUE;
    }

    PROCESS_INFORMATION m_process{};
    bool m_started = false;
    HWND m_window = nullptr;
};

bool SetFieldText(HWND dialog, int id, const std::wstring& text) {
    return SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               kPatienceMs, nullptr) != 0;
}

TEST(ProgramFolderTest, ARelativeRowFolderNamesAFolderBesideTheProgram) {
    const TempDir root;
    for (const char* folder : {"program/pieces", "start/pieces"}) {
        fs::create_directories(root.path() / folder);
    }
    const fs::path program = root.path() / "program" / "tesserak.exe";
    fs::copy_file(BuiltProgram(), program);
    const std::vector<unsigned char> source = PatternBytes(1000);
    WriteAll(root.path() / "source", source);

    RunningProgram running(program, root.path() / "start");
    ASSERT_TRUE(running.Started()) << "error " << GetLastError();
    const HWND dialog = running.MainWindow();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SetFieldText(dialog, IDC_SOURCE_PATH, (root.path() / "source").wstring()));
    ASSERT_TRUE(SetFieldText(dialog, IDC_FOLDER_1, L"pieces"));
    // What the button sends its dialog when clicked; the press has ended when
    // the call returns.
    const HWND button = GetDlgItem(dialog, IDC_ROW_BUTTON_1);
    ASSERT_NE(SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ROW_BUTTON_1, BN_CLICKED),
                                  reinterpret_cast<LPARAM>(button), SMTO_ABORTIFHUNG, kPatienceMs,
                                  nullptr),
              0);

    EXPECT_FALSE(fs::exists(root.path() / "start" / "pieces" / "temp001"));
    const std::vector<unsigned char> piece =
        ReadAll(root.path() / "program" / "pieces" / "temp001");
    ASSERT_FALSE(piece.empty());
    EXPECT_EQ(piece, std::vector<unsigned char>(source.begin(), source.begin() + piece.size()));
}

}  // namespace
