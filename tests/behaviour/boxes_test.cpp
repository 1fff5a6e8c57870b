// The boxes the main dialog shows: the two usage boxes (the usage button and
// F1), the About item of the window menu and the About box it opens, the
// "TSKエラー" box of a refused press, and boxes opened while a piece is
// copied, which hold the copy until they are closed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/split_join_app.h"
#include "engine/transfer.h"
#include "tests/support/main_dialog_fixture.h"

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

// Expects that `boxes` are the two usage boxes, in order, owned by `owner`.
template <typename Owner>
void ExpectUsageBoxes(const std::vector<MessageBoxCall>& boxes, Owner owner) {
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, JoinedWithCrLf(kOverviewLines, u"\r\n"));
    EXPECT_EQ(boxes[1].text, JoinedWithCrLf(kCautionLines, u"  "));
    for (const MessageBoxCall& box : boxes) {
        EXPECT_EQ(box.title, CString(u"TSK(Tesserak)説明"));
        EXPECT_EQ(box.style, MB_OK | MB_ICONINFORMATION);
        EXPECT_EQ(box.owner, owner);
    }
}

TEST(UsageBoxesTest, TheUsageButtonOrF1ShowOverviewThenCautionsHoweverTheFirstIsClosed) {
    const fs::path folder = fs::current_path();
    CSplitJoinApp app;  // takes F1's help; it makes the program's folder the working directory
    fs::current_path(folder);
    for (int answer : {IDOK, IDCANCEL}) {
        for (bool byKey : {false, true}) {
            SCOPED_TRACE(std::to_string(answer) + (byKey ? " F1" : " button"));
            CSplitJoinDlg dlg;
            app.m_pMainWnd = &dlg;
            std::vector<MessageBoxCall> boxes;
            const MessageBoxHook previous = SetMessageBoxHook([&](const MessageBoxCall& call) {
                boxes.push_back(call);
                return answer;
            });
            decltype(dlg.GetSafeHwnd()) owner = nullptr;
            RunModalSteps(dlg, {[&] {
                              owner = dlg.GetSafeHwnd();
                              if (byKey) {
                                  dlg.GotoDlgCtrl(IDC_SOURCE_PATH);
                                  PostKey(dlg, Key::f1);
                              } else {
                                  PostClick(dlg, IDC_USAGE);
                              }
                          }});
            SetMessageBoxHook(previous);
            app.m_pMainWnd = nullptr;
            ExpectUsageBoxes(boxes, owner);
        }
    }
}

// A box opened while another modal window is active belongs to that one, so
// the window beneath stays blocked.
TEST(UsageBoxesTest, F1InsideTheAboutBoxShowsThemOwnedByTheAboutBox) {
    const fs::path folder = fs::current_path();
    CSplitJoinApp app;
    fs::current_path(folder);
    CSplitJoinDlg dlg;
    app.m_pMainWnd = &dlg;
    RecordedBoxes boxes;
    decltype(dlg.GetSafeHwnd()) about = nullptr;
    RunModalSteps(dlg, {[&] {
                      PostSysCommand(dlg, IDM_ABOUT);
                      WhenModalOpens(dlg, [&](const ModalWindowView& view) {
                          about = view.window;
                          PostKeyTo(view.window, Key::f1);
                      });
                  }});
    app.m_pMainWnd = nullptr;
    ASSERT_NE(about, nullptr);
    ExpectUsageBoxes(boxes.calls, about);
}

TEST(AboutBoxTest, TheWindowMenuEndsWithTheAboutItem) {
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                      CMenu* menu = dlg.GetSystemMenu(FALSE);
                      ASSERT_NE(menu, nullptr);
                      const int last = menu->GetMenuItemCount() - 1;
                      ASSERT_GE(last, 1);
                      EXPECT_EQ(menu->GetMenuItemID(last), static_cast<unsigned>(IDM_ABOUT));
                      EXPECT_EQ(menu->GetMenuString(last),
                                CString(u"Tesserak のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
                      EXPECT_EQ(menu->GetMenuItemID(last - 1), 0u);  // a separator before it
                  }});
}

TEST(AboutBoxTest, CommandsSixteenToThirtyOneOpenItAndItsOkEnterOrEscapeCloseIt) {
    const std::pair<unsigned, ModalClose> cases[] = {
        {16, ModalClose::okButton}, {31, ModalClose::enter}, {20, ModalClose::escape}};
    for (const auto& [id, close] : cases) {
        SCOPED_TRACE(id);
        CSplitJoinDlg dlg;
        CWinApp app;  // the About box's owner is the application's main window
        app.m_pMainWnd = &dlg;
        std::vector<ModalWindowView> seen;
        const std::intptr_t result = RunModalSteps(
            dlg, {[&] {
                      PostSysCommand(dlg, id);
                      WhenModalOpens(
                          dlg, [&](const ModalWindowView& view) { seen.push_back(view); }, close);
                  },
                  [&] { EXPECT_TRUE(IsWindowShown(dlg)); }});
        app.m_pMainWnd = nullptr;
        EXPECT_EQ(result, kNotEndedByTest);  // closing the box ends nothing else
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, CString(u"Tesserakのﾊﾞｰｼﾞｮﾝ情報"));
        EXPECT_EQ(seen[0].texts, (std::vector<CString>{u"Tesserak Version 1.0",
                                                       u"ファイルを分割して保存するツール"}));
    }
}

TEST_F(PressesTest, ARefusedPressShowsTheEnginesTextInATskErrorBoxAndFails) {
    struct Case {
        const char* name;
        bool split;
        int row;
        CString text;
    };
    const Case cases[] = {
        {"missing source", true, 2,
         CString(u"ファイル「") + ToCString(source) +
             CString(u"」がリードできません。ファイルが存在するか。アクセス権があるか。"
                     u"他のアプリによりロックされていないか等々を確認してください。")},
        {"missing piece", false, 5,
         CString(u"ファイル「") + ToCString(Piece(5)) +
             CString(u"」がリードできません。ファイルが存在するか。アクセス権があるか。"
                     u"他のアプリによりロックされていないかを確認してください。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObservedDialog each;
        RecordedBoxes recorded;
        decltype(each.GetSafeHwnd()) window = nullptr;
        RunModalSteps(each, {[&] {
                                 window = each.GetSafeHwnd();
                                 FillFields(each);
                                 PostClick(each, c.split ? IDC_MODE_SPLIT : IDC_MODE_JOIN);
                                 PostClick(each, RowButton(c.row));
                             },
                             [&] {
                                 EXPECT_EQ(Captions(each),
                                           CaptionsExcept(c.split ? u"分割開始" : u"結合開始",
                                                          {{c.row, u"失敗"}}));
                                 EXPECT_EQ(EnabledRows(each), kAllRows);
                             }});
        ASSERT_EQ(recorded.calls.size(), 1u);
        EXPECT_EQ(recorded.calls[0].text, c.text);
        EXPECT_EQ(recorded.calls[0].title, CString(u"TSKエラー"));
        EXPECT_EQ(recorded.calls[0].style, MB_OK | MB_ICONSTOP);
        EXPECT_EQ(recorded.calls[0].owner, window);
        EXPECT_FALSE(fs::exists(Piece(c.row)));
        EXPECT_FALSE(fs::exists(destination / "temp"));
    }
}

// A piece of 3 MiB copied with the usage boxes or the About box opened after
// its first chunk: the copy stands still while a box is open and completes
// after.
TEST_F(PressesTest, BoxesOpenedDuringACopyHoldItUntilClosedAndThePieceIsWhole) {
    WriteSource(30 * kMiB);
    for (int row : {1, 2}) {
        SCOPED_TRACE(row);
        ObservedDialog each;
        CWinApp app;
        app.m_pMainWnd = &each;
        int pumps = 0;
        std::vector<int> pumpsWhileOpen;
        each.onPump = [&](int pump) {
            pumps = pump + 1;
            if (pump > 0) {
                return;
            }
            if (row == 1) {
                PostClick(each, IDC_USAGE);
            } else {
                PostSysCommand(each, IDM_ABOUT);
                WhenModalOpens(
                    each, [&](const ModalWindowView&) { pumpsWhileOpen.push_back(pumps); },
                    ModalClose::escape);
            }
        };
        boxes.onBox = [&](const MessageBoxCall&) { pumpsWhileOpen.push_back(pumps); };
        RunModalSteps(each,
                      {[&] {
                           FillFields(each);
                           PostClick(each, RowButton(row));
                       },
                       [&] { EXPECT_EQ(each.GetDlgItemText(RowButton(row)), CString(u"完了")); }});
        app.m_pMainWnd = nullptr;
        EXPECT_EQ(pumpsWhileOpen, std::vector<int>(row == 1 ? 2 : 1, 1));
        EXPECT_EQ(pumps, 3);
        EXPECT_EQ(ReadAll(Piece(row)), ExpectedPiece(row));
        EXPECT_EQ(TransferState, kTransferIdle);
    }
}

}  // namespace
