// CSplitJoinApp: the one application object. Constructed during
// static initialisation, it makes the program's own folder the working
// directory before anything else of the program runs, and names the
// program's desktop entry (kAppId) for the window system; its InitInstance runs
// the main dialog modally and returns false, so the process ends when the
// dialog has ended.
#pragma once

#include "framework/window/win_app.h"

// The folder that becomes the working directory: 4096 UTF-16 units with the
// terminator, written once by the constructor of CSplitJoinApp.
inline constexpr int kProgramFolderSize = 4096;
extern char16_t ProgramFolder[kProgramFolderSize];

class CSplitJoinApp : public CWinApp {
    DECLARE_DYNAMIC(CSplitJoinApp)
public:
    // Sets the working directory from the program's first argument.
    CSplitJoinApp();
    ~CSplitJoinApp() override;

    // Runs the main dialog modally; always false.
    BOOL InitInstance() override;
    // The application's one command: ID_HELP (F1) goes to the framework's
    // default help, which shows the main window's help (the usage texts).
    BOOL OnCmdMsg(unsigned id) override;

    // Makes the program's own folder the working directory, so that a relative
    // path typed into the dialog names a file beside the program. The folder
    // is `firstArgument` (the program as named on the command line) cut at
    // its last separator ('/' here, the backslash on Windows) and is kept in
    // ProgramFolder. A program named without a folder (found through the
    // search path) stays in the current directory, which ProgramFolder then
    // holds; so does one whose first argument does not fit the buffer. A
    // program in the root folder takes the root itself where the separator is
    // '/'; on Windows one named without a drive (`\tesserak.exe`) leaves
    // ProgramFolder empty and the working directory as it was. A folder that
    // cannot be entered is ignored.
    static void SetWorkingDirectoryFrom(const char16_t* firstArgument);
};
