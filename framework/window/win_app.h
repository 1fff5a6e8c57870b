// CWinApp and the framework's main routine.
//
// A program defines exactly one object of a class derived from CWinApp, as a
// static object: it is constructed during static initialisation, before the
// framework's main routine runs. The main routine (AfxWinMain, reached from
// the framework's `main`) initialises the platform's window system, names the
// application, then calls the object's InitInstance once. When that returns
// false the process ends without entering a message loop; otherwise Run
// enters the platform's message loop.
#pragma once

#include "framework/core/object.h"
#include "framework/core/string.h"
#include "platform/win_types.h"

class CWnd;

class CWinApp : public CObject {
    DECLARE_DYNAMIC(CWinApp)
public:
    // `appName`: the application's name; null takes the program file's name
    // without directory and extension.
    explicit CWinApp(const char16_t* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once after the framework has initialised; false ends the process.
    virtual BOOL InitInstance();
    // The message loop; returns the exit code that ExitInstance gives.
    virtual int Run();
    // The end of the application; writes nothing. Returns the exit code.
    virtual int ExitInstance();
    // A command that no dialog took (the application's message map); TRUE
    // when the application handled it. Takes nothing by default.
    virtual BOOL OnCmdMsg(unsigned id);
    // The framework's default help handling (ID_HELP): the main window's help.
    void OnHelp();

    // The application's name (the title of the framework's own boxes).
    const char16_t* m_pszAppName = nullptr;
    // The name of the program's desktop entry without ".desktop", by which a
    // Linux desktop matches the program's windows to the entry (its icon and
    // name in the task switcher); null for none. Read by AfxWinInit; Windows
    // has no such entry.
    const char16_t* m_pszDesktopEntryName = nullptr;
    // The application's main window; the owner of boxes that have no other.
    CWnd* m_pMainWnd = nullptr;

private:
    friend bool AfxWinInit(int& argc, char** argv);
    CString m_strAppName;
};

// The one application object, or null when the program defines none (tests).
CWinApp* AfxGetApp();

// The application's name: the CWinApp's name once AfxWinInit has run, else
// the program file's name without directory and extension.
CString AfxGetAppName();

// Initialises the window system and names the application: with Qt, creates
// the one QApplication from argc and argv, which must outlive it; on Windows,
// sets the process's error mode (no system boxes for failed media) and
// registers the common controls. Tests call it from their own main, and
// AfxWinTerm at its end.
bool AfxWinInit(int& argc, char** argv);

// Ends what AfxWinInit began (with Qt, destroys the QApplication).
void AfxWinTerm();

// The framework's main routine: AfxWinInit, then InitInstance of the one
// application object, then (only when it returned true) Run; then AfxWinTerm,
// when this routine began the window system (a test may call it inside one
// that runs already).
int AfxWinMain(int argc, char** argv);

// Each port's (its win_app.cpp): the window system's start, name, loop and
// end, behind the calls above.

// The program file's name without directory and extension, from the path of
// the running executable ("/opt/x/tesserak" gives "tesserak"). With Qt,
// needs Qt to be initialised.
CString ProgramFileTitle();
// Whether the window system has been started for the process (by
// StartWindowSystem or, with Qt, by a test's own application object).
bool WindowSystemStarted();
// Starts it: with Qt the one QApplication from argc and argv, which must
// outlive it; on Windows the error mode (no system boxes for failed media),
// the common controls and COM. A second call starts nothing again.
void StartWindowSystem(int& argc, char** argv);
// Tells the window system the application's name.
void NameApplication(const CString& name);
// The application's message loop, until the program ends it.
void RunMessageLoop();
// Ends what StartWindowSystem started.
void EndWindowSystem();
