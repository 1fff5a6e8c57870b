// CDialog: the widgets built from a template in dialog units, controls by id,
// the message map, the keys, the close request, the modal run and its end,
// the tab order and the radio buttons.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWindow>
#include <cstdint>
#include <vector>

#include "framework/window/qt/dialog_window.h"
#include "framework/window/qt/system_text.h"
#include "tests/framework/window/test_dialog.h"
#include "tests/support/dialog_driver.h"

namespace {

// The base units of a font, computed here on their own: a quarter of the
// average width of the 52 Latin letters, an eighth of the font's height.
struct Units {
    int cx, cy;
};
Units UnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return Units{(width / 26 + 1) / 2, metrics.height()};
}
// Rounded to the nearest pixel.
int Scale(int value, int base, int divisor) {
    return (value * base + divisor / 2) / divisor;
}

TEST(DialogTest, BuildsEveryControlWithItsTemplateRectangleInBaseUnitsOfTheTemplateFont) {
    CTestDlg dlg;
    RunModal(dlg, [&] {
        QWidget* window = dlg.GetSafeHwnd();
        // The template's face is missing here; a Japanese Gothic face stands in.
        EXPECT_EQ(QFontInfo(window->font()).family(), QStringLiteral("IPAPGothic"));
        EXPECT_EQ(QFontInfo(window->font()).pointSize(), 9);

        const Units units = UnitsOf(window->font());
        EXPECT_EQ(dlg.GetBaseUnits().cx, units.cx);
        EXPECT_EQ(dlg.GetBaseUnits().cy, units.cy);
        EXPECT_GT(units.cx, 0);
        EXPECT_GT(units.cy, 0);

        EXPECT_EQ(window->width(), Scale(200, units.cx, 4));
        EXPECT_EQ(window->height(), Scale(120, units.cy, 8));
        for (int i = 0; i < kTestDialogTemplate.itemCount; ++i) {
            const DialogItemTemplate& item = kTestDialogTemplate.items[i];
            QWidget* control = dlg.GetDlgItem(item.id);
            ASSERT_NE(control, nullptr) << item.id;
            EXPECT_EQ(control->font(), window->font()) << item.id;
            EXPECT_EQ(control->geometry(),
                      QRect(Scale(item.x, units.cx, 4), Scale(item.y, units.cy, 8),
                            Scale(item.cx, units.cx, 4), Scale(item.cy, units.cy, 8)))
                << item.id;
        }
    });
}

TEST(DialogTest, TitleFixedSizeAndFrameWithoutMinimiseOrMaximiseBox) {
    CTestDlg dlg;
    RunModal(dlg, [&] {
        QWidget* window = dlg.GetSafeHwnd();
        EXPECT_EQ(dlg.GetWindowText(), CString(u"テスト"));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("テスト"));
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(window->isModal());
    });
}

// Qt's own title bar on Wayland offers maximise whatever the window asked
// for; only a frame with a maximise box takes it.
TEST(DialogTest, OnlyAFrameWithAMaximiseBoxStaysMaximised) {
    struct Case {
        std::uint32_t style;
        Qt::WindowStates after;
    };
    const Case cases[] = {
        {kTestDialogTemplate.style, Qt::WindowNoState},
        {kTestDialogTemplate.style | WS_MAXIMIZEBOX, Qt::WindowMaximized},
    };
    for (const Case& c : cases) {
        DialogWindow window(nullptr, nullptr);
        window.SetFrameStyle(c.style);
        window.setFixedSize(200, 100);
        window.show();
        // What the title bar's maximise button does.
        window.windowHandle()->setWindowStates(Qt::WindowMaximized);
        QCoreApplication::processEvents();
        EXPECT_EQ(window.windowState(), c.after) << c.style;
        EXPECT_EQ(window.windowHandle()->windowStates(), c.after) << c.style;
    }
}

TEST(DialogTest, ControlsAreAddressedById) {
    CTestDlg dlg;
    RunModal(dlg, [&] {
        EXPECT_EQ(dlg.GetDlgItemText(IDC_T_EDIT1), CString());
        EXPECT_EQ(dlg.GetDlgItemText(IDC_T_EDIT2), CString(u"初期"));
        EXPECT_EQ(dlg.GetDlgItemText(IDCANCEL), CString(u"Cancel"));
        // A caption keeps its CR LF; the label shows two lines.
        EXPECT_EQ(dlg.GetDlgItemText(IDC_T_LABEL), CString(u"一行目\r\n二行目"));
        EXPECT_EQ(qobject_cast<QLabel*>(dlg.GetDlgItem(IDC_T_LABEL))->text(),
                  QStringLiteral("一行目\n二行目"));

        dlg.SetDlgItemText(IDC_T_EDIT1, u" ../a b\\c ");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_T_EDIT1), CString(u" ../a b\\c "));
        dlg.SetDlgItemText(IDC_T_PRESS, u"押す");
        EXPECT_EQ(qobject_cast<QAbstractButton*>(dlg.GetDlgItem(IDC_T_PRESS))->text(),
                  QStringLiteral("押す"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_T_PRESS), CString(u"押す"));

        EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_T_EDIT1));
        dlg.EnableDlgItem(IDC_T_EDIT1, FALSE);
        EXPECT_FALSE(dlg.IsDlgItemEnabled(IDC_T_EDIT1));
        dlg.EnableDlgItem(IDC_T_EDIT1, TRUE);
        EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_T_EDIT1));
        EXPECT_FALSE(dlg.IsDlgItemEnabled(IDC_T_DISABLED));  // WS_DISABLED

        EXPECT_FALSE(dlg.IsDlgItemVisible(IDOK));  // no WS_VISIBLE
        EXPECT_FALSE(dlg.IsDlgItemVisible(IDC_T_HIDDEN));
        EXPECT_TRUE(dlg.IsDlgItemVisible(IDCANCEL));

        EXPECT_EQ(dlg.GetDlgCtrlID(dlg.GetDlgItem(IDC_T_RADIO_B)), IDC_T_RADIO_B);
        EXPECT_EQ(dlg.GetDlgItem(9999), nullptr);
        EXPECT_EQ(dlg.GetDlgItemText(9999), CString());
        dlg.SetDlgItemText(9999, u"x");  // no such control: no effect
        EXPECT_EQ(dlg.IsDlgButtonChecked(9999), BST_UNCHECKED);
    });
}

TEST(DialogTest, FocusStartsOnTheFirstVisibleEnabledTabStop) {
    CTestDlg dlg;
    RunModal(dlg, [&] {
        // IDOK comes first but is hidden.
        EXPECT_EQ(dlg.GetFocusedDlgItem(), IDCANCEL);
    });
}

TEST(DialogTest, TabFollowsTemplateOrderOverVisibleEnabledTabStopsAndWraps) {
    CTestDlg dlg;
    RunModal(dlg, [&] {
        ASSERT_EQ(dlg.GetFocusedDlgItem(), IDCANCEL);
        // Radio buttons, the label, the frame, the disabled and the hidden
        // button are never reached.
        const std::vector<int> expected{IDC_T_EDIT1, IDC_T_EDIT2, IDC_T_PRESS, IDC_T_OTHER,
                                        108,         109,         110,         IDC_T_UNMAPPED,
                                        IDCANCEL,    IDC_T_EDIT1};
        EXPECT_EQ(TabWalk(dlg, 10), expected);

        dlg.EnableDlgItem(IDC_T_EDIT2, FALSE);
        dlg.GotoDlgCtrl(IDC_T_EDIT1);
        EXPECT_EQ(TabWalk(dlg, 1), std::vector<int>{IDC_T_PRESS});
        EXPECT_EQ(TabWalk(dlg, 2, Qt::Key_Backtab), (std::vector<int>{IDC_T_EDIT1, IDCANCEL}));
    });
}

TEST(DialogTest, MessageMapRoutesClicksToTheirHandlers) {
    CTestDlg dlg;
    RunModal(dlg, [&] {
        ClickControl(dlg, IDC_T_PRESS);
        ClickControl(dlg, IDC_T_PRESS);
        ClickControl(dlg, IDC_T_OTHER);
        ClickControl(dlg, 110);
        ClickControl(dlg, 108);
        ClickControl(dlg, IDC_T_UNMAPPED);  // no entry: nothing happens
        ClickControl(dlg, IDC_T_DISABLED);  // disabled: no click
        EXPECT_EQ(dlg.presses, 2);
        EXPECT_EQ(dlg.otherPresses, 1);
        EXPECT_EQ(dlg.rangeIds, (std::vector<unsigned>{110, 108}));
        EXPECT_TRUE(dlg.GetSafeHwnd()->isVisible());
    });
}

TEST(DialogTest, DerivedMapComesFirstAndFallsBackToTheBaseMap) {
    CDerivedTestDlg dlg;
    RunModal(dlg, [&] {
        ClickControl(dlg, IDC_T_PRESS);
        ClickControl(dlg, IDC_T_OTHER);
        EXPECT_EQ(dlg.derivedPresses, 1);
        EXPECT_EQ(dlg.presses, 0);
        EXPECT_EQ(dlg.otherPresses, 1);
    });
}

TEST(DialogTest, OnInitDialogRunsOnceBeforeTheWindowShows) {
    CTestDlg dlg;
    bool visibleAtInit = true;
    dlg.onInit = [&] { visibleAtInit = dlg.GetSafeHwnd()->isVisible(); };
    RunModal(dlg, [&] { EXPECT_EQ(dlg.initCount, 1); });
    EXPECT_EQ(dlg.initCount, 1);
    EXPECT_FALSE(visibleAtInit);
}

TEST(DialogTest, CancelButtonEndsWithIdCancel) {
    CTestDlg dlg;
    EXPECT_EQ(RunModal(dlg, [&] { ClickControl(dlg, IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(dlg.cancelCount, 1);
    EXPECT_EQ(dlg.okCount, 0);
}

TEST(DialogTest, EnterInAnEditFieldIssuesIdOk) {
    CTestDlg dlg;
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           dlg.GotoDlgCtrl(IDC_T_EDIT1);
                           QTest::keyClicks(dlg.GetSafeHwnd()->focusWidget(),
                                            QStringLiteral("abc"));
                           PressKey(dlg, Qt::Key_Return);
                       }),
              IDOK);
    EXPECT_EQ(dlg.okCount, 1);
}

TEST(DialogTest, KeypadEnterIssuesIdOkToo) {
    CTestDlg dlg;
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           dlg.GotoDlgCtrl(IDC_T_EDIT2);
                           PressKey(dlg, Qt::Key_Enter);
                       }),
              IDOK);
}

TEST(DialogTest, EnterOnAFocusedPushButtonPressesIt) {
    CTestDlg dlg;
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           dlg.GotoDlgCtrl(IDC_T_PRESS);
                           PressKey(dlg, Qt::Key_Return);
                           EXPECT_EQ(dlg.presses, 1);
                           EXPECT_EQ(dlg.okCount, 0);
                           EXPECT_TRUE(dlg.GetSafeHwnd()->isVisible());
                       }),
              kNotEndedByTest);
}

TEST(DialogTest, EnterOrSpaceOnTheFocusedCancelButtonEndsWithIdCancel) {
    CTestDlg enter;
    EXPECT_EQ(RunModal(enter, [&] { PressKey(enter, Qt::Key_Return); }), IDCANCEL);
    CTestDlg space;
    EXPECT_EQ(RunModal(space, [&] { PressKey(space, Qt::Key_Space); }), IDCANCEL);
}

TEST(DialogTest, EnterOnAClickedRadioButtonIssuesIdOk) {
    CTestDlg dlg;
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           ClickControl(dlg, IDC_T_RADIO_A);
                           ASSERT_EQ(dlg.GetFocusedDlgItem(), IDC_T_RADIO_A);
                           PressKey(dlg, Qt::Key_Return);
                       }),
              IDOK);
}

TEST(DialogTest, EscapeIssuesIdCancelFromAnyControl) {
    CTestDlg dlg;
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           dlg.GotoDlgCtrl(IDC_T_EDIT2);
                           PressKey(dlg, Qt::Key_Escape);
                       }),
              IDCANCEL);
    CTestDlg onButton;
    EXPECT_EQ(RunModal(onButton,
                       [&] {
                           onButton.GotoDlgCtrl(IDC_T_PRESS);
                           PressKey(onButton, Qt::Key_Escape);
                       }),
              IDCANCEL);
    EXPECT_EQ(onButton.presses, 0);
}

TEST(DialogTest, CloseRequestRunsTheCloseHookThenIssuesIdCancel) {
    CTestDlg dlg;
    EXPECT_EQ(RunModal(dlg, [&] { dlg.GetSafeHwnd()->close(); }), IDCANCEL);
    EXPECT_EQ(dlg.closes, 1);
    EXPECT_EQ(dlg.cancelCount, 1);
}

TEST(DialogTest, CloseHookThatTakesNoDefaultCourseKeepsTheDialogOpen) {
    CTestDlg dlg;
    dlg.keepOpenOnClose = true;
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           dlg.GetSafeHwnd()->close();
                           EXPECT_EQ(dlg.closes, 1);
                           EXPECT_TRUE(dlg.GetSafeHwnd()->isVisible());
                       }),
              kNotEndedByTest);
    EXPECT_EQ(dlg.cancelCount, 0);
}

TEST(DialogTest, DestroyHookRunsOnceWhileTheWindowStillExists) {
    CTestDlg dlg;
    RunModal(dlg, [&] { EXPECT_EQ(dlg.destroys, 0); });
    EXPECT_EQ(dlg.destroys, 1);
    EXPECT_TRUE(dlg.windowAliveAtDestroy);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

TEST(DialogTest, EndDialogHidesAtOnceAndDoModalReturnsOnlyAfterTheHandler) {
    CTestDlg dlg;
    bool hiddenAtOnce = false;
    bool handlerFinished = false;
    int pressesSeenAfterEnd = 0;
    dlg.onPress = [&] {
        if (dlg.presses > 1) {
            return;  // the nested press below
        }
        dlg.EndDialog(7);
        hiddenAtOnce = !dlg.GetSafeHwnd()->isVisible();
        // The handler goes on after the end, and pumps like a transfer does.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        pressesSeenAfterEnd = dlg.presses;
        handlerFinished = true;
    };
    const std::intptr_t result = RunModal(dlg, [&] { ClickControl(dlg, IDC_T_PRESS); });
    EXPECT_EQ(result, 7);
    EXPECT_TRUE(hiddenAtOnce);
    EXPECT_TRUE(handlerFinished);
    EXPECT_EQ(pressesSeenAfterEnd, 1);
    EXPECT_EQ(dlg.destroys, 1);
}

TEST(DialogTest, EndDialogDuringInitialisationEndsWithoutARun) {
    CTestDlg dlg;
    dlg.onInit = [&] { dlg.EndDialog(5); };
    EXPECT_EQ(dlg.DoModal(), 5);
    EXPECT_EQ(dlg.destroys, 1);
}

TEST(DialogTest, ADialogCanRunAgainAfterItEnded) {
    CTestDlg dlg;
    EXPECT_EQ(RunModal(dlg, [&] { ClickControl(dlg, IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(RunModal(dlg, [&] { PressKey(dlg, Qt::Key_Escape); }), IDCANCEL);
    EXPECT_EQ(dlg.initCount, 2);
    EXPECT_EQ(dlg.destroys, 2);
}

TEST(DialogTest, RadioButtonsAreNotTabStopsAndAClickAlwaysSelects) {
    CTestDlg dlg;
    RunModal(dlg, [&] {
        QWidget* radio = dlg.GetDlgItem(IDC_T_RADIO_A);
        EXPECT_FALSE(radio->focusPolicy() & Qt::TabFocus);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_T_RADIO_A), BST_UNCHECKED);
        ClickControl(dlg, IDC_T_RADIO_A);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_T_RADIO_A), BST_CHECKED);
        ClickControl(dlg, IDC_T_RADIO_A);  // a checked button stays selected
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_T_RADIO_A), BST_CHECKED);
        // Each starts its own group: selecting B does not clear A.
        ClickControl(dlg, IDC_T_RADIO_B);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_T_RADIO_A), BST_CHECKED);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_T_RADIO_B), BST_CHECKED);
        dlg.CheckDlgButton(IDC_T_RADIO_A, BST_UNCHECKED);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_T_RADIO_A), BST_UNCHECKED);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_T_RADIO_B), BST_CHECKED);
    });
}

TEST(DialogTest, FramesAndLabelsTakeNoMouseInputSoControlsInsideThemDo) {
    CTestDlg dlg;
    RunModal(dlg, [&] {
        EXPECT_TRUE(dlg.GetDlgItem(IDC_T_FRAME)->testAttribute(Qt::WA_TransparentForMouseEvents));
        EXPECT_TRUE(dlg.GetDlgItem(IDC_T_LABEL)->testAttribute(Qt::WA_TransparentForMouseEvents));
        // The press button lies inside the frame: a click at its centre in
        // window coordinates reaches it.
        QWidget* press = dlg.GetDlgItem(IDC_T_PRESS);
        QWidget* hit = dlg.GetSafeHwnd()->childAt(press->geometry().center());
        EXPECT_EQ(hit, press);
    });
}

TEST(DialogTest, WindowIconsBigAndSmall) {
    QPixmap big(32, 32);
    big.fill(Qt::red);
    QPixmap small(16, 16);
    small.fill(Qt::blue);
    const QIcon bigIcon(big);
    const QIcon smallIcon(small);
    CTestDlg dlg;
    RunModal(dlg, [&] {
        dlg.SetIcon(&bigIcon, TRUE);
        dlg.SetIcon(&smallIcon, FALSE);
        const QIcon icon = dlg.GetSafeHwnd()->windowIcon();
        EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
        EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
        EXPECT_EQ(dlg.GetIcon(TRUE), &bigIcon);
        EXPECT_EQ(dlg.GetIcon(TRUE)->availableSizes(), QList<QSize>{QSize(32, 32)});
    });
}

}  // namespace
