// F1 typed on the keyboard, on the system's own dialog manager: the system
// makes its help request only of a key from the input queue, so this is the
// one test that types through the system's input (the window driver posts
// keys instead).
#include <gtest/gtest.h>

#include <vector>

#include "framework/window/message_pump.h"
#include "framework/window/win_app.h"
#include "tests/support/window_driver.h"
#include "ui/main_dialog.h"

namespace {

class RecordingApp : public CWinApp {
public:
    BOOL OnCmdMsg(unsigned id) override {
        commands.push_back(id);
        return TRUE;
    }
    std::vector<unsigned> commands;
};

TEST(HelpKeyTest, F1FromTheKeyboardInAFieldReachesTheApplicationAsTheHelpCommand) {
    RecordingApp app;
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
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
                  }});
    EXPECT_EQ(app.commands, std::vector<unsigned>{ID_HELP});
}

}  // namespace
