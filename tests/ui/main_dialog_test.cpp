// CSplitJoinDlg on the real widgets: the start state, the two
// modes, the tab order, the ways the dialog ends, the geometry, and the
// TransferHost services.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <vector>

#include "framework/window/qt/qt_text.h"
#include "resources/resources.h"
#include "tests/support/dialog_driver.h"
#include "ui/main_dialog.h"

namespace {

constexpr int kRows = 10;

CString RowLabel(const char16_t* format, int n) {
    CString text;
    text.Format(format, n);
    return text;
}

// Checks everything the dialog shows of one mode.
void ExpectMode(CSplitJoinDlg& dlg, bool split) {
    EXPECT_EQ(dlg.IsSplitMode(), split);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_SPLIT), split ? 1u : 0u);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_JOIN), split ? 0u : 1u);
    EXPECT_EQ(dlg.IsDlgItemEnabled(IDC_SOURCE_GROUP), split);
    EXPECT_EQ(dlg.IsDlgItemEnabled(IDC_SOURCE_PATH), split);
    for (int id : {IDC_DEST_GROUP, IDC_DEST_FOLDER, IDC_DEST_NAME, IDC_DEST_NOTE}) {
        EXPECT_EQ(dlg.IsDlgItemEnabled(id), !split) << id;
    }
    for (int n = 1; n <= kRows; ++n) {
        EXPECT_EQ(dlg.GetDlgItemText(IDC_ROW_BUTTON_1 + n - 1),
                  CString(split ? u"分割開始" : u"結合開始"))
            << n;
        EXPECT_EQ(dlg.GetDlgItemText(IDC_ROW_LABEL_1 + n - 1),
                  RowLabel(split ? u"分割ファイル%dつ目" : u"結合するファイル%dつ目", n))
            << n;
    }
    // The radio buttons are never disabled.
    EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_MODE_SPLIT));
    EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_MODE_JOIN));
}

TEST(MainDialogTest, StartStateIsSplitModeWithEmptyFieldsAndFocusOnExit) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        ExpectMode(dlg, true);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_SOURCE_PATH), CString());
        for (int n = 1; n <= kRows; ++n) {
            EXPECT_EQ(dlg.GetDlgItemText(IDC_FOLDER_1 + n - 1), CString()) << n;
            EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_ROW_BUTTON_1 + n - 1)) << n;
            EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_FOLDER_1 + n - 1)) << n;
            CString piece;
            piece.Format(u"temp%03d", n);
            EXPECT_EQ(dlg.GetDlgItemText(IDC_PIECE_NAME_1 + n - 1), piece);
        }
        EXPECT_EQ(dlg.GetDlgItemText(IDC_DEST_FOLDER), CString());
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), CString());
        EXPECT_EQ(qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_STATUS))->text(), QString());
        EXPECT_EQ(dlg.GetFocusedDlgItem(), IDCANCEL);
        EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), CString(u"終了"));
        EXPECT_FALSE(dlg.IsDlgItemVisible(IDOK));
    });
}

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
        EXPECT_EQ(dlg.GetIcon(TRUE).cacheKey(), dlg.GetWindowIcon().cacheKey());
        EXPECT_EQ(dlg.GetIcon(FALSE).cacheKey(), dlg.GetWindowIcon().cacheKey());

        // Centred in the work area of its screen.
        const QRect work = window->screen()->availableGeometry();
        const QPoint offset = window->frameGeometry().center() - work.center();
        EXPECT_LE(std::abs(offset.x()), 1);
        EXPECT_LE(std::abs(offset.y()), 1);
    });
}

TEST(MainDialogTest, JoinModeSwitchesLabelsCaptionsAndEnabledControlsAndKeepsTexts) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        TypeInto(dlg, IDC_SOURCE_PATH, QStringLiteral("/data/big.iso"));
        TypeInto(dlg, IDC_FOLDER_3, QStringLiteral("/media/card3"));
        ClickControl(dlg, IDC_MODE_JOIN);
        ExpectMode(dlg, false);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_SOURCE_PATH), CString(u"/data/big.iso"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_FOLDER_3), CString(u"/media/card3"));

        TypeInto(dlg, IDC_DEST_FOLDER, QStringLiteral("/restore"));
        ClickControl(dlg, IDC_MODE_SPLIT);
        ExpectMode(dlg, true);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_SOURCE_PATH), CString(u"/data/big.iso"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_DEST_FOLDER), CString(u"/restore"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_FOLDER_3), CString(u"/media/card3"));
    });
}

TEST(MainDialogTest, AClickOnTheModeInForceAppliesItAgainAndTheButtonStaysSelected) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        // The outcome captions of a press give way to the mode's caption.
        dlg.SetDlgItemText(IDC_ROW_BUTTON_1 + 2, u"完了");
        dlg.SetDlgItemText(IDC_ROW_BUTTON_1 + 4, u"失敗");
        ClickControl(dlg, IDC_MODE_SPLIT);
        ExpectMode(dlg, true);

        ClickControl(dlg, IDC_MODE_JOIN);
        dlg.SetDlgItemText(IDC_ROW_BUTTON_1, u"完了");
        ClickControl(dlg, IDC_MODE_JOIN);
        ExpectMode(dlg, false);
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

TEST(MainDialogTest, TabOrderInSplitMode) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        std::vector<int> expected{IDC_SOURCE_PATH};
        for (int n = 0; n < kRows; ++n) {
            expected.push_back(IDC_FOLDER_1 + n);
        }
        expected.push_back(IDC_USAGE);
        for (int n = 0; n < kRows; ++n) {
            expected.push_back(IDC_ROW_BUTTON_1 + n);
        }
        expected.push_back(IDCANCEL);  // IDC_DEST_FOLDER is disabled
        expected.push_back(IDC_SOURCE_PATH);
        ASSERT_EQ(dlg.GetFocusedDlgItem(), IDCANCEL);
        EXPECT_EQ(TabWalk(dlg, static_cast<int>(expected.size())), expected);
    });
}

TEST(MainDialogTest, TabOrderInJoinModeNeverReachesTheRadioButtons) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        ClickControl(dlg, IDC_MODE_JOIN);
        dlg.GotoDlgCtrl(IDCANCEL);
        std::vector<int> expected;
        for (int n = 0; n < kRows; ++n) {
            expected.push_back(IDC_FOLDER_1 + n);  // IDC_SOURCE_PATH is disabled
        }
        expected.push_back(IDC_USAGE);
        for (int n = 0; n < kRows; ++n) {
            expected.push_back(IDC_ROW_BUTTON_1 + n);
        }
        expected.push_back(IDC_DEST_FOLDER);
        expected.push_back(IDCANCEL);
        expected.push_back(IDC_FOLDER_1);
        EXPECT_EQ(TabWalk(dlg, static_cast<int>(expected.size())), expected);
    });
}

TEST(MainDialogTest, EnterInAnEditFieldEndsWithIdOk) {
    for (int id : {IDC_SOURCE_PATH, IDC_FOLDER_1, IDC_FOLDER_10}) {
        CSplitJoinDlg dlg;
        EXPECT_EQ(RunModal(dlg,
                           [&] {
                               TypeInto(dlg, id, QStringLiteral("/tmp"));
                               PressKey(dlg, Qt::Key_Return);
                               EXPECT_FALSE(dlg.GetSafeHwnd()->isVisible());
                           }),
                  IDOK)
            << id;
    }
    CSplitJoinDlg join;
    EXPECT_EQ(RunModal(join,
                       [&] {
                           ClickControl(join, IDC_MODE_JOIN);
                           TypeInto(join, IDC_DEST_FOLDER, QStringLiteral("/tmp"));
                           PressKey(join, Qt::Key_Enter);
                       }),
              IDOK);
}

TEST(MainDialogTest, EnterAfterARadioClickEndsWithIdOk) {
    CSplitJoinDlg dlg;
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           ClickControl(dlg, IDC_MODE_JOIN);
                           PressKey(dlg, Qt::Key_Return);
                       }),
              IDOK);
}

TEST(MainDialogTest, EnterOrSpaceOnTheExitButtonAtStartEndsWithIdCancel) {
    CSplitJoinDlg enter;
    EXPECT_EQ(RunModal(enter, [&] { PressKey(enter, Qt::Key_Return); }), IDCANCEL);
    CSplitJoinDlg space;
    EXPECT_EQ(RunModal(space, [&] { PressKey(space, Qt::Key_Space); }), IDCANCEL);
}

TEST(MainDialogTest, EscapeExitAndCloseRequestEndWithIdCancel) {
    CSplitJoinDlg escape;
    EXPECT_EQ(RunModal(escape,
                       [&] {
                           escape.GotoDlgCtrl(IDC_FOLDER_5);
                           PressKey(escape, Qt::Key_Escape);
                       }),
              IDCANCEL);
    CSplitJoinDlg exit;
    EXPECT_EQ(RunModal(exit, [&] { ClickControl(exit, IDCANCEL); }), IDCANCEL);
    CSplitJoinDlg close;
    EXPECT_EQ(RunModal(close,
                       [&] {
                           close.GetSafeHwnd()->close();
                           EXPECT_FALSE(close.GetSafeHwnd()->isVisible());
                       }),
              IDCANCEL);
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
