// The real main dialog on the system's own dialog manager under Windows (or
// Wine): what the window holds after its start, then a whole split and join
// of a real file, pressed row by row through the buttons themselves.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/piece_layout.h"
#include "engine/transfer.h"
#include "framework/window/message_box.h"
#include "framework/window/message_pump.h"
#include "framework/window/win_app.h"
#include "resources/resources.h"
#include "tests/framework/window/win32/run_modal.h"
#include "tests/support/temp_dir.h"
#include "ui/main_dialog.h"

namespace fs = std::filesystem;

namespace {

// Clicks a button as the mouse does, through the button itself.
void Click(CDialog& dlg, int id) {
    SendMessageW(dlg.GetDlgItem(id), BM_CLICK, 0, 0);
}

class RecordedBoxes {
public:
    RecordedBoxes() {
        m_previous = SetMessageBoxHook([this](const MessageBoxCall& call) {
            texts.push_back(call.text);
            return IDOK;
        });
    }
    ~RecordedBoxes() { SetMessageBoxHook(m_previous); }
    RecordedBoxes(const RecordedBoxes&) = delete;
    RecordedBoxes& operator=(const RecordedBoxes&) = delete;

    std::vector<CString> texts;

private:
    MessageBoxHook m_previous;
};

std::vector<CString> Captions(const CDialog& dlg) {
    std::vector<CString> captions;
    for (int row = 0; row < kPieceCount; ++row) {
        captions.push_back(dlg.GetDlgItemText(IDC_ROW_BUTTON_1 + row));
    }
    return captions;
}

TEST(MainDialogWin32Test, StartsInSplitModeWithItsTextsFocusAndTheAboutItemLast) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        EXPECT_EQ(dlg.GetWindowText(), CString(u"Tesserak"));
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_SPLIT), BST_CHECKED);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_JOIN), BST_UNCHECKED);
        EXPECT_EQ(Captions(dlg), std::vector<CString>(kPieceCount, CString(u"分割開始")));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_ROW_LABEL_1 + 9), CString(u"分割ファイル10つ目"));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_SOURCE_GROUP),
                  CString(u"分割するファイル\r\n（フルパス）"));
        EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_SOURCE_PATH));
        EXPECT_FALSE(dlg.IsDlgItemEnabled(IDC_DEST_FOLDER));
        EXPECT_FALSE(dlg.IsDlgItemVisible(IDOK));
        // The hidden OK comes first; the first visible, enabled tab stop has
        // the focus.
        EXPECT_EQ(dlg.GetFocusedDlgItem(), IDCANCEL);

        CMenu* menu = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        ASSERT_NE(menu->m_hMenu, nullptr);
        const std::vector<CMenu::Item> items = menu->Items();
        ASSERT_GE(items.size(), 2u);
        EXPECT_TRUE(items[items.size() - 2].separator);
        EXPECT_EQ(items.back().id, static_cast<unsigned>(IDM_ABOUT));
        EXPECT_EQ(items.back().text, CString(u"Tesserak のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    });
}

TEST(MainDialogWin32Test, EscapeEndsTheDialogWithIdCancelAndTheWindowIsGone) {
    CSplitJoinDlg dlg;
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                           PumpWaitingMessages();
                       }),
              IDCANCEL);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
}

// An application that records the commands no dialog took.
class RecordingApp : public CWinApp {
public:
    BOOL OnCmdMsg(unsigned id) override {
        commands.push_back(id);
        return TRUE;
    }
    std::vector<unsigned> commands;
};

TEST(MainDialogWin32Test, F1InAFieldReachesTheApplicationAsTheHelpCommand) {
    RecordingApp app;
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        SetForegroundWindow(dlg.GetSafeHwnd());
        dlg.GotoDlgCtrl(IDC_FOLDER_1);
        // As the keyboard gives it: the system makes its help request only of
        // a key from the input queue.
        INPUT keys[2] = {};
        keys[0].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = VK_F1;
        keys[1] = keys[0];
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
        for (int i = 0; i < 50 && app.commands.empty(); ++i) {
            PumpWaitingMessages();
            Sleep(20);
        }
    });
    EXPECT_EQ(app.commands, std::vector<unsigned>{ID_HELP});
}

TEST(MainDialogWin32Test, SplitsAFileRowByRowAndJoinsItBackByteForByte) {
    TempDir dir;
    const std::vector<unsigned char> bytes = PatternBytes(10 * 4096 + 7);
    WriteAll(dir.path() / "source.bin", bytes);
    for (int row = 1; row <= kPieceCount; ++row) {
        fs::create_directory(dir.path() / ("card" + std::to_string(row)));
    }
    fs::create_directory(dir.path() / "out");
    RecordedBoxes boxes;

    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        dlg.SetDlgItemText(IDC_SOURCE_PATH, dir.Child("source.bin"));
        for (int row = 1; row <= kPieceCount; ++row) {
            dlg.SetDlgItemText(IDC_FOLDER_1 + row - 1, dir.Child("card" + std::to_string(row)));
        }
        for (int row = kPieceCount; row >= 1; --row) {
            Click(dlg, IDC_ROW_BUTTON_1 + row - 1);
        }
        EXPECT_EQ(Captions(dlg), std::vector<CString>(kPieceCount, CString(u"完了")));

        Click(dlg, IDC_MODE_JOIN);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_JOIN), BST_CHECKED);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_SPLIT), BST_UNCHECKED);
        EXPECT_EQ(Captions(dlg), std::vector<CString>(kPieceCount, CString(u"結合開始")));
        dlg.SetDlgItemText(IDC_DEST_FOLDER, dir.Child("out"));
        for (int row = 1; row <= kPieceCount; ++row) {
            Click(dlg, IDC_ROW_BUTTON_1 + row - 1);
        }
        EXPECT_EQ(Captions(dlg), std::vector<CString>(kPieceCount, CString(u"完了")));
    });
    EXPECT_EQ(boxes.texts, std::vector<CString>());
    EXPECT_EQ(ReadAll(dir.path() / "out" / "temp"), bytes);
    EXPECT_EQ(ReadAll(dir.path() / "card10" / "temp010").size(), 4096u + 7u);
    EXPECT_EQ(TransferState, kTransferIdle);
}

}  // namespace
