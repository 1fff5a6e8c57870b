// The one dispatch: an exception that leaves a handler is reported in the
// framework's standard box (ReportCommandFailure) and the dialog
// goes on; no exception crosses a Qt frame.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <new>
#include <stdexcept>

#include "framework/core/exceptions.h"
#include "framework/window/message_box.h"
#include "framework/window/win_app.h"
#include "tests/framework/window/test_dialog.h"
#include "tests/support/dialog_driver.h"

namespace {

TEST(DispatchTest, FileExceptionFromAHandlerShowsOneStopBoxTitledWithTheApplicationName) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    dlg.onPress = [] {
        throw CFileException(CFileException::diskFull, -1, u"/media/card/temp003");
    };
    bool visibleAfterBox = false;
    QWidget* window = nullptr;
    const std::intptr_t result = RunModal(dlg, [&] {
        window = dlg.GetSafeHwnd();
        ClickControl(dlg, IDC_T_PRESS);
        visibleAfterBox = dlg.GetSafeHwnd()->isVisible();
        // The dialog goes on: the next click is handled as usual.
        ClickControl(dlg, IDC_T_OTHER);
    });

    ASSERT_EQ(boxes.calls.size(), 1u);
    const MessageBoxCall& box = boxes.calls[0];
    const CString expected =
        CFileException(CFileException::diskFull, -1, u"/media/card/temp003").GetErrorMessage();
    EXPECT_EQ(box.text, expected);
    EXPECT_NE(box.text.Find(u"/media/card/temp003"), -1);
    EXPECT_EQ(box.title, CString(u"framework_tests"));  // the program file's name
    EXPECT_EQ(box.title, AfxGetAppName());
    EXPECT_EQ(box.style, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(box.icon(), MB_ICONSTOP);
    EXPECT_EQ(box.buttons(), MB_OK);
    EXPECT_EQ(box.owner, window);  // modal to the dialog

    EXPECT_TRUE(visibleAfterBox);
    EXPECT_EQ(dlg.otherPresses, 1);
    EXPECT_EQ(result, kNotEndedByTest);
}

TEST(DispatchTest, FileExceptionWithoutAFileNameNamesTheUntitledFile) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    dlg.onPress = [] { throw CFileException(CFileException::badSeek, 131); };
    RunModal(dlg, [&] { ClickControl(dlg, IDC_T_PRESS); });
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_NE(boxes.calls[0].text.Find(u"無題のﾌｧｲﾙ"), -1);
}

TEST(DispatchTest, ALongMessageIsCutTo511Units) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    const CString longName(std::u16string(700, u'x'));
    dlg.onPress = [&] { throw CFileException(CFileException::hardIO, 21, longName); };
    RunModal(dlg, [&] { ClickControl(dlg, IDC_T_PRESS); });
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text.GetLength(), 511);
}

TEST(DispatchTest, MemoryExceptionShowsTheExclamationBoxSystemModal) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    dlg.onPress = [] { throw CMemoryException(); };
    RunModal(dlg, [&] { ClickControl(dlg, IDC_T_PRESS); });
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, CString(u"ﾒﾓﾘが不足しています。"));
    EXPECT_EQ(boxes.calls[0].style, 0x1030u);
    EXPECT_EQ(boxes.calls[0].title, AfxGetAppName());
}

TEST(DispatchTest, BadAllocIsReportedAsAMemoryException) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    dlg.onPress = [] { throw std::bad_alloc(); };
    RunModal(dlg, [&] { ClickControl(dlg, IDC_T_PRESS); });
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, CString(u"ﾒﾓﾘが不足しています。"));
    EXPECT_EQ(boxes.calls[0].style, MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

TEST(DispatchTest, UserExceptionShowsNoBoxAndTheDialogGoesOn) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    dlg.onPress = [] { throw CUserException(); };
    RunModal(dlg, [&] {
        ClickControl(dlg, IDC_T_PRESS);
        EXPECT_TRUE(dlg.GetSafeHwnd()->isVisible());
        ClickControl(dlg, IDC_T_PRESS);
    });
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(dlg.presses, 2);
}

TEST(DispatchTest, OtherExceptionsStopAtTheDispatchToo) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    dlg.onPress = [] { throw std::runtime_error("broken"); };
    RunModal(dlg, [&] { ClickControl(dlg, IDC_T_PRESS); });
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, CString(u"broken"));
    EXPECT_EQ(boxes.calls[0].icon(), MB_ICONSTOP);
}

TEST(DispatchTest, ExceptionInOnInitDialogIsReportedAndTheDialogStillRuns) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    dlg.onInit = [] { throw CFileException(CFileException::generic, 1); };
    bool ran = false;
    RunModal(dlg, [&] { ran = dlg.GetSafeHwnd()->isVisible(); });
    EXPECT_TRUE(ran);
    EXPECT_EQ(boxes.calls.size(), 1u);
}

TEST(DispatchTest, ExceptionInTheCloseHookIsReportedAndTheDialogStaysOpen) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    dlg.onClose = [] { throw CFileException(CFileException::accessDenied, 5, u"x"); };
    const std::intptr_t result = RunModal(dlg, [&] { dlg.GetSafeHwnd()->close(); });
    EXPECT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(result, kNotEndedByTest);
}

TEST(DispatchTest, AHandlerRunInsideAnotherHandlersPumpIsReportedThereAndTheOuterGoesOn) {
    RecordedBoxes boxes;
    CTestDlg dlg;
    bool outerFinished = false;
    // The outer handler (range button) pumps; the click it delivers raises.
    dlg.onPress = [] { throw CFileException(CFileException::diskFull, -1, u"inner"); };
    RunModal(dlg, [&] {
        QObject::connect(qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_T_OTHER)),
                         &QAbstractButton::clicked, [&] {
                             QMetaObject::invokeMethod(
                                 dlg.GetDlgItem(IDC_T_PRESS),
                                 [&] { ClickControl(dlg, IDC_T_PRESS); }, Qt::QueuedConnection);
                             QCoreApplication::processEvents();
                             outerFinished = true;
                         });
        ClickControl(dlg, IDC_T_OTHER);
    });
    EXPECT_TRUE(outerFinished);
    EXPECT_EQ(dlg.presses, 1);
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_NE(boxes.calls[0].text.Find(u"inner"), -1);
}

}  // namespace
