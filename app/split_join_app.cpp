#include "app/split_join_app.h"

#include "platform/current_directory.h"
#include "resources/version_info.h"
#include "ui/main_dialog.h"

IMPLEMENT_DYNAMIC(CSplitJoinApp, CWinApp)

char16_t ProgramFolder[kProgramFolderSize];

namespace {

// The length of `text` when it fits `size` units with its terminator; -1
// when it does not.
int FittingLength(const char16_t* text, int size) {
    for (int i = 0; i < size; ++i) {
        if (text[i] == u'\0') {
            return i;
        }
    }
    return -1;
}

// The index of the last path separator among the first `length` units of
// `text`; -1 when there is none.
int LastSeparator(const char16_t* text, int length) {
    for (int i = length - 1; i >= 0; --i) {
        if (text[i] == kPathSeparator) {
            return i;
        }
    }
    return -1;
}

}  // namespace

CSplitJoinApp::CSplitJoinApp() : CWinApp(nullptr) {
    m_pszDesktopEntryName = kAppId;
    SetWorkingDirectoryFrom(ProgramFirstArgument());
}

CSplitJoinApp::~CSplitJoinApp() = default;

void CSplitJoinApp::SetWorkingDirectoryFrom(const char16_t* firstArgument) {
    const int length =
        firstArgument != nullptr ? FittingLength(firstArgument, kProgramFolderSize) : -1;
    int cut = -1;
    if (length >= 0) {
        for (int i = 0; i <= length; ++i) {
            ProgramFolder[i] = firstArgument[i];
        }
        cut = LastSeparator(ProgramFolder, length);
    }
    if (cut >= 0) {
        // Everything before the last separator. A root named by '/' alone keeps
        // it; a backslash alone names no folder (`\tesserak.exe` leaves the
        // empty text, which no system enters, so the start folder stays).
        ProgramFolder[cut == 0 && kPathSeparator == u'/' ? 1 : cut] = u'\0';
    } else if (GetCurrentDirectoryText(ProgramFolder, kProgramFolderSize) == nullptr) {
        ProgramFolder[0] = u'\0';
    }
    // A folder that cannot be entered is no reason to stop: relative paths then
    // resolve against the folder the program was started in, and no window
    // exists yet to tell the user.
    SetCurrentDirectoryW(ProgramFolder);
}

BOOL CSplitJoinApp::OnCmdMsg(unsigned id) {
    if (id == ID_HELP) {
        OnHelp();
        return TRUE;
    }
    return CWinApp::OnCmdMsg(id);
}

BOOL CSplitJoinApp::InitInstance() {
    {
        CSplitJoinDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();  // however the dialog ended, the program ends with it
        m_pMainWnd = nullptr;
    }
    return FALSE;
}
