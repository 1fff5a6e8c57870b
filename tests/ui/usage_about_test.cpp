// What only Qt has of the main dialog's menus and boxes: the window menu of
// its own (right click, Shift+F10, the Menu key, Alt+Space), the About box's
// icon, place and close box, the names assistive technologies read, and
// files dropped on the fields; all on the real main dialog, offscreen. The
// boxes' texts are tested in tests/behaviour.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <vector>

#include "engine/piece_layout.h"
#include "framework/window/qt/system_text.h"
#include "framework/window/win_app.h"
#include "framework/window/window_menu.h"
#include "resources/resources.h"
#include "tests/support/dialog_driver.h"
#include "ui/main_dialog.h"

namespace {

// The About box while it is open: whether it has an icon, and where it sits
// against the main window.
struct AboutSeen {
    bool open = false;
    bool hasIcon = false;
    QPoint centre;
    bool modalOverMainWindow = false;
};

AboutSeen LookAtAbout(QWidget* mainWindow) {
    AboutSeen seen;
    QWidget* about = QApplication::activeModalWidget();
    if (about == nullptr || about == mainWindow) {
        return seen;
    }
    seen.open = true;
    for (const QLabel* label : about->findChildren<QLabel*>()) {
        seen.hasIcon = seen.hasIcon || !label->pixmap().isNull();
    }
    seen.centre = about->geometry().center();
    seen.modalOverMainWindow = about->parentWidget() == mainWindow && about->isModal();
    return seen;
}

// Closes the open modal box the way `how` says.
enum class CloseBy { okButton, enter, escape, closeBox };
void CloseAbout(CloseBy how) {
    QWidget* about = QApplication::activeModalWidget();
    ASSERT_NE(about, nullptr);
    switch (how) {
        case CloseBy::okButton:
            for (QPushButton* ok : about->findChildren<QPushButton*>()) {
                QTest::mouseClick(ok, Qt::LeftButton);
            }
            break;
        case CloseBy::enter:
            QTest::keyClick(about->focusWidget() != nullptr ? about->focusWidget() : about,
                            Qt::Key_Return);
            break;
        case CloseBy::escape:
            QTest::keyClick(about->focusWidget() != nullptr ? about->focusWidget() : about,
                            Qt::Key_Escape);
            break;
        case CloseBy::closeBox:
            about->close();
            break;
    }
}

// Records every window menu shown and answers it with `choice`.
class RecordedMenus {
public:
    explicit RecordedMenus(unsigned choice = 0) : choice(choice) {
        m_previous = SetWindowMenuHook([this](const CMenu& menu) {
            menus.push_back(menu);
            return this->choice;
        });
    }
    ~RecordedMenus() { SetWindowMenuHook(m_previous); }
    RecordedMenus(const RecordedMenus&) = delete;
    RecordedMenus& operator=(const RecordedMenus&) = delete;

    unsigned choice;
    std::vector<CMenu> menus;

private:
    WindowMenuHook m_previous;
};

TEST(WindowMenuTest, EveryWayOfOpeningItShowsMoveCloseAndTheAboutItemLast) {
    const std::vector<std::pair<const char*, std::function<void(CDialog&)>>> ways = {
        {"right click",
         [](CDialog& d) {
             QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                     d.GetSafeHwnd()->mapToGlobal(QPoint(5, 5)));
             QApplication::sendEvent(d.GetSafeHwnd(), &event);
         }},
        {"Shift+F10",
         [](CDialog& d) {
             d.GotoDlgCtrl(IDC_FOLDER_1);
             QTest::keyClick(d.GetDlgItem(IDC_FOLDER_1), Qt::Key_F10, Qt::ShiftModifier);
         }},
        {"Menu key", [](CDialog& d) { QTest::keyClick(d.GetDlgItem(IDCANCEL), Qt::Key_Menu); }},
        {"Alt+Space",
         [](CDialog& d) {
             QTest::keyClick(d.GetDlgItem(IDC_SOURCE_PATH), Qt::Key_Space, Qt::AltModifier);
         }},
    };
    for (const auto& [name, open] : ways) {
        SCOPED_TRACE(name);
        CSplitJoinDlg dlg;
        RecordedMenus menus;
        const std::intptr_t result = RunModal(dlg, [&] { open(dlg); });
        EXPECT_EQ(result, kNotEndedByTest);  // dismissing the menu ends nothing
        ASSERT_EQ(menus.menus.size(), 1u);
        const CMenu& menu = menus.menus[0];
        ASSERT_EQ(menu.GetMenuItemCount(), 4);
        EXPECT_EQ(menu.GetMenuItemID(0), SC_MOVE);
        EXPECT_EQ(menu.GetMenuString(0), CString(u"移動(&M)"));
        EXPECT_EQ(menu.GetMenuItemID(1), SC_CLOSE);
        EXPECT_EQ(menu.GetMenuString(1), CString(u"閉じる(&C)\tAlt+F4"));
        EXPECT_TRUE(menu.Items()[2].separator);
        EXPECT_EQ(menu.GetMenuItemID(3), static_cast<unsigned>(IDM_ABOUT));
        EXPECT_EQ(menu.GetMenuString(3), CString(u"Tesserak のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    }
}

TEST(WindowMenuTest, CloseReachesTheCloseHookAndMoveEndsNothing) {
    {
        CSplitJoinDlg dlg;
        RecordedMenus menus(SC_CLOSE);
        EXPECT_EQ(RunModal(dlg, [&] { QTest::keyClick(dlg.GetDlgItem(IDCANCEL), Qt::Key_Menu); }),
                  IDCANCEL);
    }
    {
        CSplitJoinDlg dlg;
        RecordedMenus menus(SC_MOVE);
        EXPECT_EQ(RunModal(dlg, [&] { QTest::keyClick(dlg.GetDlgItem(IDCANCEL), Qt::Key_Menu); }),
                  kNotEndedByTest);
    }
}

TEST(AboutBoxTest, CommandsSixteenToThirtyOneOpenItCentredOverTheMainWindow) {
    const std::vector<std::pair<unsigned, CloseBy>> cases = {{16, CloseBy::okButton},
                                                             {31, CloseBy::enter},
                                                             {16, CloseBy::escape},
                                                             {20, CloseBy::closeBox}};
    for (const auto& [id, closeBy] : cases) {
        SCOPED_TRACE(id);
        CSplitJoinDlg dlg;
        CWinApp app;  // the About box's owner is the application's main window
        app.m_pMainWnd = &dlg;
        AboutSeen seen;
        QPoint mainCentre;
        bool closedAgain = false;
        const std::intptr_t result = RunModal(dlg, [&] {
            mainCentre = dlg.GetSafeHwnd()->geometry().center();
            PostInput([&] {
                seen = LookAtAbout(dlg.GetSafeHwnd());
                CloseAbout(closeBy);
            });
            dlg.SendSysCommand(id);
            closedAgain = QApplication::activeModalWidget() == dlg.GetSafeHwnd();
        });
        app.m_pMainWnd = nullptr;
        EXPECT_EQ(result, kNotEndedByTest);
        ASSERT_TRUE(seen.open);
        EXPECT_TRUE(closedAgain);
        EXPECT_TRUE(seen.hasIcon);
        EXPECT_TRUE(seen.modalOverMainWindow);
        EXPECT_LE((seen.centre - mainCentre).manhattanLength(), 2);
    }
}

CString AccessibleName(CDialog& dlg, int id) {
    return FromQt(
        QAccessible::queryAccessibleInterface(dlg.GetDlgItem(id))->text(QAccessible::Name));
}

TEST(AccessibilityTest, FieldsCarryTheirLabelsModesAreRadioButtonsStatusIsReadable) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        EXPECT_EQ(AccessibleName(dlg, IDC_SOURCE_PATH), CString(u"分割するファイル（フルパス）"));
        EXPECT_EQ(AccessibleName(dlg, IDC_FOLDER_3), CString(u"分割ファイル3つ目"));
        EXPECT_EQ(AccessibleName(dlg, IDC_DEST_FOLDER), CString(u"結合先フォルダ指定"));
        ClickControl(dlg, IDC_MODE_JOIN);
        EXPECT_EQ(AccessibleName(dlg, IDC_FOLDER_3), CString(u"結合するファイル3つ目"));
        EXPECT_EQ(AccessibleName(dlg, IDC_FOLDER_10), CString(u"結合するファイル10つ目"));
        for (int id : {IDC_MODE_SPLIT, IDC_MODE_JOIN}) {
            EXPECT_EQ(QAccessible::queryAccessibleInterface(dlg.GetDlgItem(id))->role(),
                      QAccessible::RadioButton);
        }
        dlg.SetStatusText(u"100%");
        EXPECT_EQ(AccessibleName(dlg, IDC_STATUS), CString(u"100%"));
    });
}

TEST(AccessibilityTest, RowButtonsCarryTheirRowsTheHiddenDefaultButtonIsLeftOut) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        for (const bool join : {false, true}) {
            if (join) {
                ClickControl(dlg, IDC_MODE_JOIN);
            }
            for (int n = 1; n <= kPieceCount; ++n) {
                SCOPED_TRACE(n);
                CString row;
                row.Format(join ? u"結合するファイル%dつ目" : u"分割ファイル%dつ目", n);
                QAccessibleInterface* button =
                    QAccessible::queryAccessibleInterface(dlg.GetDlgItem(IDC_ROW_BUTTON_1 + n - 1));
                EXPECT_EQ(FromQt(button->text(QAccessible::Description)), row);
                EXPECT_EQ(FromQt(button->text(QAccessible::Name)),
                          CString(join ? u"結合開始" : u"分割開始"));
            }
        }
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(dlg.GetSafeHwnd());
        QList<QObject*> children;
        for (int i = 0; i < window->childCount(); ++i) {
            children.append(window->child(i)->object());
            EXPECT_EQ(window->indexOfChild(window->child(i)), i);
        }
        EXPECT_EQ(children.size(), kMainDialogTemplate.itemCount - 1);
        EXPECT_FALSE(children.contains(dlg.GetDlgItem(IDOK)));
        EXPECT_TRUE(children.contains(dlg.GetDlgItem(IDCANCEL)));
        EXPECT_EQ(window->indexOfChild(QAccessible::queryAccessibleInterface(dlg.GetDlgItem(IDOK))),
                  -1);
    });
}

// Drops `urls` on the field `id` as a file manager would; whether it was taken.
bool Drop(CDialog& dlg, int id, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QWidget* field = dlg.GetDlgItem(id);
    QDragEnterEvent enter(QPoint(3, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(3, 3), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &drop);
    return drop.isAccepted();
}

TEST(FileDropTest, ADroppedFileOrFolderPutsItsLocalPathIntoTheField) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        dlg.SetDlgItemText(IDC_FOLDER_2, u"/old");
        EXPECT_TRUE(Drop(dlg, IDC_FOLDER_2, {QUrl::fromLocalFile(u"/media/カード 2"_qs)}));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_FOLDER_2), CString(u"/media/カード 2"));
        EXPECT_TRUE(Drop(
            dlg, IDC_SOURCE_PATH,
            {QUrl::fromLocalFile(u"/data/big.iso"_qs), QUrl::fromLocalFile(u"/data/other"_qs)}));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_SOURCE_PATH), CString(u"/data/big.iso"));
        // Nothing local: the field is left as it was.
        Drop(dlg, IDC_FOLDER_2, {QUrl(u"https://example.org/x"_qs)});
        EXPECT_EQ(dlg.GetDlgItemText(IDC_FOLDER_2), CString(u"/media/カード 2"));
        // The source field is disabled in join mode and takes nothing.
        ClickControl(dlg, IDC_MODE_JOIN);
        EXPECT_FALSE(Drop(dlg, IDC_SOURCE_PATH, {QUrl::fromLocalFile(u"/data/new"_qs)}));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_SOURCE_PATH), CString(u"/data/big.iso"));
    });
}

}  // namespace
