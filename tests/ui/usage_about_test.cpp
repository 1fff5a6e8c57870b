// The usage boxes, the window menu with its About item, the About box, F1,
// the names assistive technologies read, and files dropped on the fields:
// all on the real main dialog, offscreen.
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
#include <filesystem>
#include <vector>

#include "app/split_join_app.h"
#include "engine/piece_layout.h"
#include "engine/transfer.h"
#include "framework/window/qt_text.h"
#include "framework/window/window_menu.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/observed_dialog.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// The texts as a user reads them, line by line, written out independently of
// the program's own copy.
const std::vector<std::u16string> kOverviewLines = {
    u"Tesserakは１つのファイルを複数のドライブに分割して保存する為のツールです。複数のSDカードに"
    u"分割して保存するといった使い方もできます。",
    u"ファイルサイズは100G程度を想定しています。",
    u"",
    u"■■仕様■■",
    u"・分割数は10つです。",
    u"・分割により生成するファイル名は「temp001」～「temp010」です。固定です。",
    u"・復元時のファイル名は「temp」です。固定です。",
    u"",
    u"■■分割方法■■",
    u"(1)分割したいファイルを指定します。",
    u"(2)分割したファイルを保存するフォルダを10ヶ所指定します。",
    u"(3)分割開始ボタンを押下します。10分割ですので、10回押下する必要があります。",
    u"",
    u"※すべての処理が完了しても特別なメッセージは表示されません。",
    u"",
    u"■■復元方法■■",
    u"(1)分割したファイルが存在するフォルダを10ヶ所指定します。",
    u"(2)復元先のフォルダを指定します。",
    u"(3)結合開始ボタンを押下します。10分割ですので、10回押下する必要があります。※10ファイル目"
    u"だけは一番最後に復元して下さい。",
    u"",
    u"※すべての処理が完了しても特別なメッセージは表示されません。",
    u"",
    u"(4)最後に、作成された「temp」ファイルをご自身で元に名前に戻します。",
};

const std::vector<std::u16string> kCautionLines = {
    u"■■注意事項■■",
    u"・小さめのファイルで十分に予行練習を行い、本ツールの動きを理解した上でご使用ください。",
    u"・エラーに対しての耐性が貧弱です。十分に信頼性の高いメディアにて作業を行い、動きがおかしい"
    u"場合はやり直して下さい。",
    u"・ファイルシステムに注意してください。SDカードでよく使用するFAT32の場合は最大4GBのファイル"
    u"しか扱いできません。",
    u"・WindowsのVirtualStoreという仕組み注意してください。「C:\\」等の特別に権限が必要な場所へ"
    u"保存すると、Windowsの保護機能により正しくファイルが保存されないことがあります。",
    u"・本ツールはファイルを削除しません。不要なファイルはご自身で削除してください。",
    u"・本ツールはファイルの整合性確認を行いません。その為、復元（結合）後はmd5sum等の他のツール"
    u"を使用して、整合性確認を行う事を強くお勧めします。",
    u"",
    u"■■重要事項■■",
    u"・本ツールは自己責任にてご使用ください。ツールの使用により発生したいかなる結果に対する一切"
    u"の責任を負いません。",
};

CString JoinedWithCrLf(const std::vector<std::u16string>& lines, const std::u16string& ending) {
    std::u16string text;
    for (const auto& line : lines) {
        text += line + u"\r\n";
    }
    return CString((text + ending).c_str());
}

// Checks that `boxes` are the two usage boxes, in order, owned by `owner`.
void ExpectUsageBoxes(const std::vector<MessageBoxCall>& boxes, QWidget* owner) {
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, JoinedWithCrLf(kOverviewLines, u"\r\n"));
    EXPECT_EQ(boxes[1].text, JoinedWithCrLf(kCautionLines, u"  "));
    for (const MessageBoxCall& box : boxes) {
        EXPECT_EQ(box.title, CString(u"TSK(Tesserak)説明"));
        EXPECT_EQ(box.style, MB_OK | MB_ICONINFORMATION);
        EXPECT_EQ(box.owner, owner);
    }
}

// The About box while it is open: its window, its texts, whether it has an
// icon, and where it sits against the main window.
struct AboutSeen {
    bool open = false;
    CString title;
    std::vector<CString> texts;
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
    seen.title = FromQt(about->windowTitle());
    for (const QLabel* label : about->findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            seen.hasIcon = true;
        } else {
            seen.texts.push_back(FromQt(label->text()));
        }
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

TEST(UsageBoxesTest, OverviewThenCautionsHoweverTheFirstIsClosed) {
    for (int answer : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(answer);
        CSplitJoinDlg dlg;
        std::vector<MessageBoxCall> boxes;
        QWidget* owner = nullptr;
        const MessageBoxHook previous = SetMessageBoxHook([&](const MessageBoxCall& call) {
            boxes.push_back(call);
            return answer;
        });
        RunModal(dlg, [&] {
            owner = dlg.GetSafeHwnd();
            ClickControl(dlg, IDC_USAGE);
        });
        SetMessageBoxHook(previous);
        ExpectUsageBoxes(boxes, owner);
    }
}

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
        EXPECT_EQ(seen.title, CString(u"Tesserakのﾊﾞｰｼﾞｮﾝ情報"));
        EXPECT_EQ(seen.texts, (std::vector<CString>{u"Tesserak Version 1.0",
                                                    u"ファイルを分割して保存するツール"}));
        EXPECT_TRUE(seen.hasIcon);
        EXPECT_TRUE(seen.modalOverMainWindow);
        EXPECT_LE((seen.centre - mainCentre).manhattanLength(), 2);
    }
}

TEST(HelpTest, F1ShowsTheUsageBoxesThroughTheApplication) {
    const fs::path folder = fs::current_path();
    CSplitJoinApp app;  // it makes the test program's folder the working directory
    fs::current_path(folder);
    CSplitJoinDlg dlg;
    app.m_pMainWnd = &dlg;
    RecordedBoxes boxes;
    QWidget* owner = nullptr;
    RunModal(dlg, [&] {
        owner = dlg.GetSafeHwnd();
        QTest::keyClick(dlg.GetDlgItem(IDC_SOURCE_PATH), Qt::Key_F1);
    });
    app.m_pMainWnd = nullptr;
    ExpectUsageBoxes(boxes.calls, owner);
}

// A 3 MiB piece copied with the usage boxes or the About box opened after its
// first chunk: the copy stands still while a box is open and completes after.
TEST(BoxesDuringACopyTest, HoldTheCopyUntilClosedAndThePieceIsWhole) {
    TempDir dir;
    const std::vector<unsigned char> bytes = PatternBytes(30 << 20, 3);
    WriteAll(dir.path() / "source", bytes);
    fs::create_directory(dir.path() / "card1");
    fs::create_directory(dir.path() / "card2");
    for (int row : {1, 2}) {
        SCOPED_TRACE(row);
        ObservedDialog dlg;
        CWinApp app;
        app.m_pMainWnd = &dlg;
        int pumps = 0;
        std::vector<int> pumpsWhileOpen;
        dlg.onPump = [&](int pump) {
            pumps = pump + 1;
            if (pump == 0) {
                PostInput([&, row] {
                    if (row == 1) {
                        ClickControl(dlg, IDC_USAGE);
                    } else {
                        PostInput([&] {
                            pumpsWhileOpen.push_back(pumps);
                            CloseAbout(CloseBy::escape);
                        });
                        dlg.SendSysCommand(IDM_ABOUT);
                    }
                });
            }
        };
        RecordedBoxes boxes;
        boxes.onBox = [&](const MessageBoxCall&) { pumpsWhileOpen.push_back(pumps); };
        RunModal(dlg, [&] {
            dlg.SetDlgItemText(IDC_SOURCE_PATH, ToCString(dir.path() / "source"));
            dlg.SetDlgItemText(FolderFieldOfRow(row - 1),
                               ToCString(dir.path() / ("card" + std::to_string(row))));
            ClickControl(dlg, RowButton(row));
            EXPECT_EQ(dlg.GetDlgItemText(RowButton(row)), CString(u"完了"));
        });
        app.m_pMainWnd = nullptr;
        EXPECT_EQ(pumpsWhileOpen, std::vector<int>(row == 1 ? 2 : 1, 1));
        EXPECT_EQ(pumps, 3);
        char name[8];
        std::snprintf(name, sizeof name, "temp%03d", row);
        const std::size_t length = bytes.size() / kPieceCount;
        EXPECT_EQ(ReadAll(dir.path() / ("card" + std::to_string(row)) / name),
                  std::vector<unsigned char>(bytes.begin() + (row - 1) * length,
                                             bytes.begin() + row * length));
        EXPECT_EQ(TransferState, kTransferIdle);
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
