// The window driver's failures reach the test that is running: the mains bind
// the driver's failure handler to GoogleTest, so what the driver cannot do
// fails that test, in the driver's words.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/main_dialog_fixture.h"

namespace {

// The messages of the failures `action` adds to the running test, caught
// instead of failing it. A failure the binding adds reads "Failed" and then
// the driver's words.
std::vector<std::string> FailuresOf(const std::function<void()>& action) {
    ::testing::TestPartResultArray results;
    {
        const ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        action();
    }
    std::vector<std::string> messages;
    for (int i = 0; i < results.size(); ++i) {
        if (results.GetTestPartResult(i).nonfatally_failed()) {
            messages.push_back(results.GetTestPartResult(i).message());
        }
    }
    return messages;
}

TEST(DriverFailuresTest, WhatTheDriverCannotDoFailsTheRunningTest) {
    struct Case {
        const char* name;
        std::function<void(CSplitJoinDlg&)> action;
        std::string failure;
    };
    const Case cases[] = {
        {"a click on a dialog whose window was never made",
         [](CSplitJoinDlg& d) { ClickThroughSystem(d, IDC_ROW_BUTTON_1); },
         "no control " + std::to_string(IDC_ROW_BUTTON_1) + " to click"},
        {"a step left when the dialog ends",
         [](CSplitJoinDlg& d) {
             RunModalSteps(d, {[&d] { d.EndDialog(IDCANCEL); }, [] {}});
         },
         "the dialog ended before every step had run (1 of 2 ran)"},
        {"a look at a modal window after the dialog has ended",
         [](CSplitJoinDlg& d) {
             RunModalSteps(d, {[&d] {
                               d.EndDialog(IDCANCEL);
                               WhenModalOpens(d, [](const ModalWindowView&) {});
                           }});
         },
         "no modal window opened over the dialog"},
    };
    for (const Case& c : cases) {
        CSplitJoinDlg dlg;
        EXPECT_EQ(FailuresOf([&] { c.action(dlg); }),
                  std::vector<std::string>{"Failed\n" + c.failure})
            << c.name;
    }
}

}  // namespace
