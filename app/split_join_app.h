// CSplitJoinApp: the one application object. Constructed during
// static initialisation, it makes the program's own folder the working
// directory before anything else of the program runs; its InitInstance runs
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

    // Steps 2 to 4 of the start-up: copies `firstArgument` into
    // ProgramFolder, cuts it at its last separator ('/' here, the backslash
    // on Windows) or, when it has none, replaces it with the current
    // directory, and makes it the working directory (the result is not
    // examined). A first argument that does not fit the buffer counts as one
    // without a folder; a program in the root folder takes the root itself.
    static void SetWorkingDirectoryFrom(const char16_t* firstArgument);
};
