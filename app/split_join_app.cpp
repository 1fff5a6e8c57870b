#include "app/split_join_app.h"

#include "platform/current_directory.h"
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

}  // namespace

CSplitJoinApp::CSplitJoinApp() : CWinApp(nullptr) {
    SetWorkingDirectoryFrom(ProgramFirstArgument());
}

CSplitJoinApp::~CSplitJoinApp() = default;

void CSplitJoinApp::SetWorkingDirectoryFrom(const char16_t* firstArgument) {
    // 2. Copy the first argument.
    const int length =
        firstArgument != nullptr ? FittingLength(firstArgument, kProgramFolderSize) : -1;
    int cut = -1;
    if (length >= 0) {
        for (int i = 0; i < length; ++i) {
            ProgramFolder[i] = firstArgument[i];
        }
        ProgramFolder[length] = u'\0';
        // 3. Find the last separator.
        for (int i = length - 1; i >= 0; --i) {
            if (ProgramFolder[i] == kPathSeparator) {
                cut = i;
                break;
            }
        }
    }
    if (cut >= 0) {
        // Everything before the last separator; the root keeps its separator.
        ProgramFolder[cut == 0 ? 1 : cut] = u'\0';
    } else if (GetCurrentDirectoryText(ProgramFolder, kProgramFolderSize) == nullptr) {
        ProgramFolder[0] = u'\0';
    }
    // 4. The result is not examined.
    SetCurrentDirectoryW(ProgramFolder);
}

BOOL CSplitJoinApp::InitInstance() {
    // Embedded controls and the three-dimensional look have no counterpart here.
    {
        CSplitJoinDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();  // the result is not examined
        m_pMainWnd = nullptr;
    }
    return FALSE;
}
