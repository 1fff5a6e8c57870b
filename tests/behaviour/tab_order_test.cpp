// Tab and Shift+Tab over the real window: the template order, over the
// controls that are enabled in the mode, never the radio buttons.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/main_dialog_fixture.h"

namespace {

// The ids that take the focus from Exit on, one Tab each.
std::vector<int> TabOrder(bool split) {
    std::vector<int> order;
    if (split) {
        order.push_back(IDC_SOURCE_PATH);
    }
    for (int n = 0; n < kRows; ++n) {
        order.push_back(IDC_FOLDER_1 + n);
    }
    order.push_back(IDC_USAGE);
    for (int n = 0; n < kRows; ++n) {
        order.push_back(IDC_ROW_BUTTON_1 + n);
    }
    if (!split) {
        order.push_back(IDC_DEST_FOLDER);
    }
    order.push_back(IDCANCEL);
    order.push_back(order.front());  // round again
    return order;
}

// Presses `key` `count` times from the focus on Exit, each in a step of its
// own; the ids that had the focus after each.
std::vector<int> Walk(bool split, Key key, std::size_t count) {
    CSplitJoinDlg dlg;
    std::vector<int> seen;
    std::vector<std::function<void()>> steps = {[&] {
        if (!split) {
            PostClick(dlg, IDC_MODE_JOIN);
        }
    }};
    steps.push_back([&] {
        dlg.GotoDlgCtrl(IDCANCEL);
        PostKey(dlg, key);
    });
    for (std::size_t i = 1; i < count; ++i) {
        steps.push_back([&] {
            seen.push_back(dlg.GetFocusedDlgItem());
            PostKey(dlg, key);
        });
    }
    steps.push_back([&] { seen.push_back(dlg.GetFocusedDlgItem()); });
    RunModalSteps(dlg, std::move(steps));
    return seen;
}

TEST(TabOrderTest, TabAndShiftTabWalkTheEnabledTabStopsOfEachMode) {
    for (bool split : {true, false}) {
        SCOPED_TRACE(split ? "split" : "join");
        const std::vector<int> forward = TabOrder(split);
        EXPECT_EQ(Walk(split, Key::tab, forward.size()), forward);

        // Backwards from Exit: the same stops the other way round.
        std::vector<int> backward(forward.begin(), forward.end() - 2);
        std::reverse(backward.begin(), backward.end());
        backward.push_back(IDCANCEL);
        EXPECT_EQ(Walk(split, Key::shiftTab, backward.size()), backward);
    }
}

}  // namespace
