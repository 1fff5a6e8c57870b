// CSplitJoinApp: the working directory from the program's first
// argument, as typed; the main dialog run modally; false returned. The last
// tests start the real program and look at its working directory.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <random>
#include <string>

#include "app/split_join_app.h"
#include "framework/window/qt/system_text.h"
#include "platform/current_directory.h"
#include "tests/support/dialog_driver.h"
#include "ui/main_dialog.h"

namespace fs = std::filesystem;

namespace {

CString Text(const fs::path& path) {
    return CString::FromUtf8(path.string());
}

// A fresh folder, made the working directory for the test; the working
// directory before is restored at the end.
class WorkingDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_before = fs::current_path();
        std::random_device random;
        m_root = fs::temp_directory_path() / ("tesserak-cwd-" + std::to_string(random()));
        fs::create_directories(m_root / "sub" / "deeper");
        m_root = fs::canonical(m_root);
        fs::current_path(m_root);
    }
    void TearDown() override {
        fs::current_path(m_before);
        fs::remove_all(m_root);
    }

    fs::path m_before;
    fs::path m_root;
};

TEST_F(WorkingDirectoryTest, AbsoluteProgramPathMakesItsFolderTheWorkingDirectory) {
    const fs::path program = m_root / "sub" / "tesserak";
    CSplitJoinApp::SetWorkingDirectoryFrom(Text(program));
    EXPECT_EQ(fs::current_path(), m_root / "sub");
    EXPECT_EQ(CString(ProgramFolder), Text(m_root / "sub"));
}

TEST_F(WorkingDirectoryTest, RelativeProgramPathIsTakenFromTheStartDirectory) {
    CSplitJoinApp::SetWorkingDirectoryFrom(u"sub/deeper/tesserak");
    EXPECT_EQ(fs::current_path(), m_root / "sub" / "deeper");
    EXPECT_EQ(CString(ProgramFolder), CString(u"sub/deeper"));
}

TEST_F(WorkingDirectoryTest, BareNameKeepsTheStartDirectory) {
    CSplitJoinApp::SetWorkingDirectoryFrom(u"tesserak");
    EXPECT_EQ(fs::current_path(), m_root);
    EXPECT_EQ(CString(ProgramFolder), Text(m_root));  // the current directory
}

TEST_F(WorkingDirectoryTest, DotSlashNameKeepsTheStartDirectory) {
    CSplitJoinApp::SetWorkingDirectoryFrom(u"./tesserak");
    EXPECT_EQ(fs::current_path(), m_root);
    EXPECT_EQ(CString(ProgramFolder), CString(u"."));
}

TEST_F(WorkingDirectoryTest, TheOtherPlatformsSeparatorCountsAsNoFolder) {
    CSplitJoinApp::SetWorkingDirectoryFrom(u"sub\\tesserak");
    EXPECT_EQ(fs::current_path(), m_root);
}

TEST_F(WorkingDirectoryTest, ProgramInTheRootFolderTakesTheRoot) {
    CSplitJoinApp::SetWorkingDirectoryFrom(u"/tesserak");
    EXPECT_EQ(fs::current_path(), fs::path("/"));
    EXPECT_EQ(CString(ProgramFolder), CString(u"/"));
}

TEST_F(WorkingDirectoryTest, AMissingFolderIsIgnored) {
    CSplitJoinApp::SetWorkingDirectoryFrom(u"no-such-folder/tesserak");
    EXPECT_EQ(fs::current_path(), m_root);
}

TEST_F(WorkingDirectoryTest, AnArgumentLongerThanTheBufferCountsAsNoFolder) {
    std::u16string longArgument(5000, u'a');
    longArgument += u"/tesserak";
    CSplitJoinApp::SetWorkingDirectoryFrom(longArgument.c_str());
    EXPECT_EQ(fs::current_path(), m_root);
}

TEST_F(WorkingDirectoryTest, AnArgumentIsUsedWhenItFitsTheBufferWithItsTerminator) {
    const struct {
        std::size_t length;  // code units, without the terminator
        bool used;
    } cases[] = {{kProgramFolderSize - 1, true}, {kProgramFolderSize, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        fs::current_path(m_root);
        std::u16string argument = u"sub/deeper/";
        argument.resize(c.length, u'a');  // a long program name
        CSplitJoinApp::SetWorkingDirectoryFrom(argument.c_str());
        EXPECT_EQ(fs::current_path(), c.used ? m_root / "sub" / "deeper" : m_root);
        EXPECT_EQ(CString(ProgramFolder), c.used ? CString(u"sub/deeper") : Text(m_root));
    }
}

TEST(ProgramArgumentTest, TheFirstArgumentIsTheProgramAsNamedOnTheCommandLine) {
    EXPECT_EQ(CString(ProgramFirstArgument()), FromQt(QCoreApplication::arguments().at(0)));
}

TEST_F(WorkingDirectoryTest, TheApplicationObjectSetsItFromTheFirstArgumentAndRunsTheDialog) {
    // The application object starts in the folder the test program was
    // started in, as the real one does; a relative first argument is taken
    // from there, so its folder is resolved there too, before the object
    // changes the working directory.
    fs::current_path(m_before);
    const QString first = QCoreApplication::arguments().at(0);
    const qsizetype separator = first.lastIndexOf(QLatin1Char('/'));
    const QString written = separator < 0    ? QStringLiteral(".")
                            : separator == 0 ? QStringLiteral("/")
                                             : first.left(separator);
    const QString folder = QFileInfo(written).canonicalFilePath();
    CSplitJoinApp app;
    EXPECT_EQ(QFileInfo(QString::fromStdString(fs::current_path().string())).canonicalFilePath(),
              folder);

    bool sawMainWindow = false;
    QTimer::singleShot(0, [&] {
        auto* dlg = dynamic_cast<CSplitJoinDlg*>(app.m_pMainWnd);
        ASSERT_NE(dlg, nullptr);
        sawMainWindow = dlg->GetSafeHwnd() != nullptr && dlg->GetSafeHwnd()->isVisible();
        PressKey(*dlg, Qt::Key_Escape);
    });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(sawMainWindow);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

// Starts the real program with `program` as its first argument from
// `startIn`, and waits until its working directory is `expected` (it is set
// during static initialisation, before the window exists).
bool ProgramEndsUpIn(const QString& program, const fs::path& startIn, const fs::path& expected) {
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(QString::fromStdString(startIn.string()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start();
    if (!process.waitForStarted(20000)) {
        ADD_FAILURE() << "could not start " << program.toStdString();
        return false;
    }
    const QString link = QStringLiteral("/proc/%1/cwd").arg(process.processId());
    const QString wanted = QString::fromStdString(expected.string());
    QString seen;
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        seen = QFileInfo(link).symLinkTarget();
        if (seen == wanted) {
            break;
        }
        QTest::qWait(20);
    }
    process.kill();
    process.waitForFinished(20000);
    EXPECT_EQ(seen, wanted);
    return seen == wanted;
}

TEST_F(WorkingDirectoryTest, TheProgramStartedThroughARelativePathRunsInThatFolder) {
    fs::create_symlink(TESSERAK_EXECUTABLE, m_root / "sub" / "deeper" / "tesserak");
    EXPECT_TRUE(
        ProgramEndsUpIn(QStringLiteral("sub/deeper/tesserak"), m_root, m_root / "sub" / "deeper"));
}

TEST_F(WorkingDirectoryTest, TheProgramStartedByItsFullPathRunsInItsFolder) {
    fs::create_symlink(TESSERAK_EXECUTABLE, m_root / "sub" / "tesserak");
    EXPECT_TRUE(ProgramEndsUpIn(QString::fromStdString((m_root / "sub" / "tesserak").string()),
                                m_root / "sub" / "deeper", m_root / "sub"));
}

}  // namespace
