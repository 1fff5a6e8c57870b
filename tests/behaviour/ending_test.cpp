// The ways the main dialog ends with no piece running: Enter anywhere but on
// a push button issues OK, Enter or Space on Exit, Escape, Exit and the close
// box cancel; the window is hidden as soon as the input is handled.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/main_dialog_fixture.h"

namespace {

using Action = std::function<void(CDialog&)>;

Action Type(int id) {
    return [id](CDialog& d) { TypeInto(d, id, u"/tmp"); };
}
Action Click(int id) {
    return [id](CDialog& d) { PostClick(d, id); };
}
Action Press(Key key) {
    return [key](CDialog& d) { PostKey(d, key); };
}
Action FocusAndPress(int id, Key key) {
    return [id, key](CDialog& d) {
        d.GotoDlgCtrl(id);
        PostKey(d, key);
    };
}

TEST(EndingTest, EachWayEndsWithItsResultAndHidesTheWindowAtOnce) {
    struct Case {
        const char* name;
        std::vector<Action> actions;  // one step each; the last one ends the dialog
        std::intptr_t result;
    };
    const Case cases[] = {
        {"Enter in the source field", {Type(IDC_SOURCE_PATH), Press(Key::enter)}, IDOK},
        {"Enter in folder 1", {Type(IDC_FOLDER_1), Press(Key::enter)}, IDOK},
        {"Enter in folder 10", {Type(IDC_FOLDER_10), Press(Key::enter)}, IDOK},
        {"Enter in the destination field",
         {Click(IDC_MODE_JOIN), Type(IDC_DEST_FOLDER), Press(Key::enter)},
         IDOK},
        {"Enter after a click on a radio button", {Click(IDC_MODE_JOIN), Press(Key::enter)}, IDOK},
        {"Enter on Exit", {Press(Key::enter)}, IDCANCEL},
        {"Space on Exit", {Press(Key::space)}, IDCANCEL},
        {"Escape in a field", {FocusAndPress(IDC_FOLDER_5, Key::escape)}, IDCANCEL},
        {"Exit", {Click(IDCANCEL)}, IDCANCEL},
        {"the close box", {[](CDialog& d) { PostClose(d); }}, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSplitJoinDlg dlg;
        bool shownAfterInput = true;
        std::vector<std::function<void()>> steps;
        for (const Action& action : c.actions) {
            steps.push_back([&dlg, &action] { action(dlg); });
        }
        steps.back() = [&, last = c.actions.back()] {
            last(dlg);
            Post([&] { shownAfterInput = IsWindowShown(dlg); });
        };
        EXPECT_EQ(RunModalSteps(dlg, std::move(steps)), c.result);
        EXPECT_FALSE(shownAfterInput);
    }
}

}  // namespace
