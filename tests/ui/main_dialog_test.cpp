// CSplitJoinDlg on the real widgets, where Qt is what is tested: the frame
// and the icon, the geometry, the status label, the TransferHost services
// and the pump over Qt's event queue. What a user sees of the dialog on any
// window system is tested in tests/behaviour.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <vector>

#include "framework/window/qt/system_text.h"
#include "resources/resources.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_dialog_fixture.h"
#include "ui/main_dialog.h"

namespace {

TEST(MainDialogTest, WindowTitleIconFixedSizeNoMinimiseOrMaximiseBoxCentred) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        QWidget* window = dlg.GetSafeHwnd();
        EXPECT_EQ(dlg.GetWindowText(), CString(u"Tesserak"));
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));

        const QList<QSize> sizes = window->windowIcon().availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(32, 32)));
        EXPECT_TRUE(sizes.contains(QSize(16, 16)));
        ASSERT_NE(dlg.GetWindowIcon(), nullptr);
        EXPECT_EQ(dlg.GetIcon(TRUE), dlg.GetWindowIcon());
        EXPECT_EQ(dlg.GetIcon(FALSE), dlg.GetWindowIcon());

        // Centred in the work area of its screen.
        const QRect work = window->screen()->availableGeometry();
        const QPoint offset = window->frameGeometry().center() - work.center();
        EXPECT_LE(std::abs(offset.x()), 1);
        EXPECT_LE(std::abs(offset.y()), 1);
    });
}

TEST(MainDialogTest, AModeClickRewritesTheBusyCaptionAndLeavesPartButtonStatesAlone) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        // As during a press of row 3.
        dlg.SetDlgItemText(IDC_ROW_BUTTON_1 + 2, u"処理中");
        for (int n = 1; n <= kRows; ++n) {
            dlg.EnableDlgItem(IDC_ROW_BUTTON_1 + n - 1, n == 3);
        }
        ClickControl(dlg, IDC_MODE_JOIN);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_ROW_BUTTON_1 + 2), CString(u"結合開始"));
        for (int n = 1; n <= kRows; ++n) {
            EXPECT_EQ(dlg.IsDlgItemEnabled(IDC_ROW_BUTTON_1 + n - 1), n == 3) << n;
        }
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), CString());
    });
}

TEST(MainDialogTest, GeometryIsTheTemplateInBaseUnitsOfTheDialogFont) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        QWidget* window = dlg.GetSafeHwnd();
        const QFontMetrics metrics(window->font());
        const int alphabet = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        const int bx = (alphabet / 26 + 1) / 2;
        const int by = metrics.height();
        auto h = [bx](int v) { return (v * bx + 2) / 4; };
        auto v = [by](int u) { return (u * by + 4) / 8; };

        EXPECT_EQ(window->size(), QSize(h(443), v(355)));
        struct Expected {
            int id, x, y, cx, cy;
        };
        const Expected controls[] = {
            {IDCANCEL, 365, 328, 50, 14},
            {IDC_SOURCE_GROUP, 7, 34, 417, 33},
            {IDC_SOURCE_PATH, 18, 48, 393, 14},
            {IDC_FOLDER_1, 104, 92, 240, 14},
            {IDC_FOLDER_10, 104, 92 + 144, 240, 14},
            {IDC_ROW_LABEL_4, 12, 95 + 48, 73, 10},
            {IDC_ROW_BUTTON_10, 380, 91 + 144, 41, 13},
            {IDC_MODE_JOIN, 290, 7, 102, 16},
            {IDC_DEST_NOTE, 19, 284, 301, 10},
            {IDC_STATUS, 7, 338, 292, 10},
        };
        for (const Expected& c : controls) {
            EXPECT_EQ(dlg.GetDlgItem(c.id)->geometry(), QRect(h(c.x), v(c.y), h(c.cx), v(c.cy)))
                << c.id;
        }
        // A piece name keeps its place and grows to its text when the font
        // needs more than its 26 units, stopping short of the row button.
        for (int n = 1; n <= 10; ++n) {
            const QRect name = dlg.GetDlgItem(IDC_PIECE_NAME_1 + n - 1)->geometry();
            const QString text =
                QString::fromUtf16(dlg.GetDlgItemText(IDC_PIECE_NAME_1 + n - 1).GetString());
            EXPECT_EQ(name.topLeft(), QPoint(h(348), v(93 + 16 * (n - 1)))) << n;
            EXPECT_EQ(name.height(), v(10)) << n;
            EXPECT_GE(name.width(), h(26)) << n;
            EXPECT_GE(name.width(), metrics.horizontalAdvance(text)) << n;
            EXPECT_LT(name.right(), dlg.GetDlgItem(IDC_ROW_BUTTON_1 + n - 1)->geometry().left())
                << n;
        }
    });
}

TEST(MainDialogTest, TransferHostGetFieldTextIsExactlyAsTyped) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        TransferHost& host = dlg;
        TypeInto(dlg, IDC_SOURCE_PATH, QStringLiteral("  /data/大きい ファイル.iso "));
        TypeInto(dlg, IDC_FOLDER_1, QStringLiteral("relative/dir"));
        TypeInto(dlg, IDC_FOLDER_10, QStringLiteral("/media/カード10/"));
        EXPECT_EQ(host.GetFieldText(IDC_SOURCE_PATH), CString(u"  /data/大きい ファイル.iso "));
        EXPECT_EQ(host.GetFieldText(IDC_FOLDER_1), CString(u"relative/dir"));
        EXPECT_EQ(host.GetFieldText(IDC_FOLDER_2), CString());
        EXPECT_EQ(host.GetFieldText(IDC_FOLDER_10), CString(u"/media/カード10/"));
        // The destination field is read in split mode too (disabled).
        dlg.SetDlgItemText(IDC_DEST_FOLDER, u"/restore ");
        EXPECT_EQ(host.GetFieldText(IDC_DEST_FOLDER), CString(u"/restore "));
    });
}

TEST(MainDialogTest, TransferHostSetStatusTextReplacesTheStatusLine) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        TransferHost& host = dlg;
        EXPECT_EQ(qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_STATUS))->text(), QString());
        const CString line = FormatProgressLine(3, 10, 42);
        host.SetStatusText(line);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), line);
        EXPECT_EQ(qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_STATUS))->text(), ToQt(line));
        host.SetStatusText(u"100%");
        host.SetStatusText(u"100%");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), CString(u"100%"));
    });
}

TEST(MainDialogTest, TransferHostShowErrorIsAStopBoxTitledTskErrorOwnedByTheDialog) {
    RecordedBoxes boxes;
    CSplitJoinDlg dlg;
    QWidget* window = nullptr;
    RunModal(dlg, [&] {
        window = dlg.GetSafeHwnd();
        static_cast<TransferHost&>(dlg).ShowError(u"/x/temp003\r\nは既に存在します。");
        EXPECT_TRUE(dlg.GetSafeHwnd()->isVisible());
    });
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text, CString(u"/x/temp003\r\nは既に存在します。"));
    EXPECT_EQ(boxes.calls[0].title, CString(u"TSKエラー"));
    EXPECT_EQ(boxes.calls[0].style, 16u);
    EXPECT_EQ(boxes.calls[0].owner, window);
}

TEST(MainDialogTest, PumpMessagesRunsPendingClicksAndANestedPumpReturnsAtOnce) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        TransferHost& host = dlg;
        int outerSeen = 0;
        bool nestedLeftTheQueue = false;
        int guardInside = -1;
        QWidget* window = dlg.GetSafeHwnd();

        // A click that is pending when the pump runs: its handler runs inside.
        QMetaObject::invokeMethod(
            window, [&] { ClickControl(dlg, IDC_MODE_JOIN); }, Qt::QueuedConnection);
        // An event that pumps again while the pump runs.
        QMetaObject::invokeMethod(
            window,
            [&] {
                ++outerSeen;
                guardInside = PumpGuard;
                bool later = false;
                QMetaObject::invokeMethod(
                    window, [&later] { later = true; }, Qt::QueuedConnection);
                host.PumpMessages();  // nested: handles nothing
                nestedLeftTheQueue = later;
                // Keep `later` alive until it has run.
                QCoreApplication::processEvents();
            },
            Qt::QueuedConnection);

        EXPECT_EQ(PumpGuard, 0);
        host.PumpMessages();
        EXPECT_EQ(PumpGuard, 0);
        EXPECT_EQ(outerSeen, 1);
        EXPECT_EQ(guardInside, 1);
        EXPECT_FALSE(nestedLeftTheQueue);
        ExpectMode(dlg, false);

        // With nothing pending it returns at once.
        host.PumpMessages();
        EXPECT_EQ(PumpGuard, 0);
    });
}

TEST(MainDialogTest, PumpMessagesDoesNothingWhileTheGuardIsSet) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        bool ran = false;
        QMetaObject::invokeMethod(
            dlg.GetSafeHwnd(), [&ran] { ran = true; }, Qt::QueuedConnection);
        {
            const PumpGuardScope outer;
            ASSERT_TRUE(outer.entered());
            dlg.PumpMessages();
            EXPECT_FALSE(ran);
            EXPECT_EQ(PumpGuard, 1);
        }
        dlg.PumpMessages();
        EXPECT_TRUE(ran);
    });
}

TEST(MainDialogTest, AnExitDuringAPumpHidesAtOnceAndTheRunEndsAfterTheHandler) {
    CSplitJoinDlg dlg;
    bool hidden = false;
    bool afterPump = false;
    const std::intptr_t result = RunModal(dlg, [&] {
        QMetaObject::invokeMethod(
            dlg.GetSafeHwnd(), [&] { ClickControl(dlg, IDCANCEL); }, Qt::QueuedConnection);
        dlg.PumpMessages();
        hidden = !dlg.GetSafeHwnd()->isVisible();
        // The handler goes on (as a running piece does), and pumps again.
        dlg.SetStatusText(u"100%");
        dlg.PumpMessages();
        afterPump = true;
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(afterPump);
}

}  // namespace
