// CWinApp and the framework's main routine: the one application object, its
// name, and InitInstance called once after Qt is initialised.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QString>

#include "framework/window/win_app.h"
#include "tests/support/cstring_printer.h"

namespace {

class CRecordingApp : public CWinApp {
public:
    explicit CRecordingApp(const char16_t* name = nullptr) : CWinApp(name) {}
    BOOL InitInstance() override {
        ++inits;
        qtReady = QApplication::instance() != nullptr;
        return initResult;
    }
    int Run() override {
        ++runs;
        return ExitInstance();
    }
    int ExitInstance() override {
        ++exits;
        return 42;
    }
    int inits = 0;
    int runs = 0;
    int exits = 0;
    bool qtReady = false;
    BOOL initResult = FALSE;
};

TEST(WinAppTest, ApplicationNameIsTheProgramFileNameWithoutFolderAndExtension) {
    ASSERT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(ProgramFileTitle(), CString(u"framework_tests"));
    EXPECT_EQ(AfxGetAppName(), CString(u"framework_tests"));
}

TEST(WinAppTest, TheFirstObjectIsTheApplicationUntilItIsDestroyed) {
    {
        CRecordingApp app;
        CRecordingApp second;
        EXPECT_EQ(AfxGetApp(), &app);
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST(WinAppTest, AGivenNameIsTheApplicationsName) {
    CRecordingApp app(u"Named");
    EXPECT_EQ(AfxGetAppName(), CString(u"Named"));
}

TEST(WinAppTest, MainRoutineCallsInitInstanceOnceAndEndsWithoutALoopWhenItReturnsFalse) {
    CRecordingApp app;
    char name[] = "/somewhere/else/framework_tests";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(AfxWinMain(1, argv), 42);
    EXPECT_EQ(app.inits, 1);
    EXPECT_TRUE(app.qtReady);
    EXPECT_EQ(app.runs, 0);
    EXPECT_EQ(app.exits, 1);
    // Named after the program file, as no name was given.
    ASSERT_NE(app.m_pszAppName, nullptr);
    EXPECT_EQ(CString(app.m_pszAppName), CString(u"framework_tests"));
    EXPECT_EQ(AfxGetAppName(), CString(u"framework_tests"));
}

TEST(WinAppTest, TheDesktopEntryNameIsTheApplicationIdTheWindowsAnnounce) {
    for (const char16_t* entry : {u"org.example.Named", static_cast<const char16_t*>(nullptr)}) {
        CRecordingApp app;
        app.m_pszDesktopEntryName = entry;
        char name[] = "framework_tests";
        char* argv[] = {name, nullptr};
        AfxWinMain(1, argv);
        EXPECT_EQ(QGuiApplication::desktopFileName(),
                  entry != nullptr ? QStringLiteral("org.example.Named") : QString());
    }
}

TEST(WinAppTest, MainRoutineRunsTheLoopWhenInitInstanceReturnsTrue) {
    CRecordingApp app;
    app.initResult = TRUE;
    char name[] = "framework_tests";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(AfxWinMain(1, argv), 42);
    EXPECT_EQ(app.runs, 1);
}

}  // namespace
