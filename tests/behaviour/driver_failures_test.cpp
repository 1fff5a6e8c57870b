// The window driver's failures reach the test that is running: the mains bind
// the driver's failure handler to GoogleTest, so what the driver cannot do
// fails that test, in the driver's words.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "tests/support/main_dialog_fixture.h"

TEST(DriverFailuresTest, WhatTheDriverCannotDoFailsTheRunningTest) {
    const std::pair<std::function<void(CDialog&)>, std::string> cases[] = {
        {[](CDialog& d) { ClickThroughSystem(d, IDOK); },
         "no control " + std::to_string(IDOK) + " to click"},
        {[](CDialog& d) {
             RunModalSteps(d, {[&d] { d.EndDialog(IDCANCEL); }, [] {}});
         },
         "the dialog ended before every step had run (1 of 2 ran)"},
        {[](CDialog& d) {
             RunModalSteps(d, {[&d] {
                               d.EndDialog(IDCANCEL);
                               WhenModalOpens(d, [](const ModalWindowView&) {});
                           }});
         },
         "no modal window opened over the dialog"},
    };
    for (const auto& [action, failure] : cases) {
        CSplitJoinDlg dlg;  // its window made only by a run
        ::testing::TestPartResultArray results;
        {
            const ::testing::ScopedFakeTestPartResultReporter reporter(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD,
                &results);
            action(dlg);
        }
        ASSERT_EQ(results.size(), 1) << failure;
        EXPECT_TRUE(results.GetTestPartResult(0).nonfatally_failed());
        EXPECT_EQ(results.GetTestPartResult(0).message(), "Failed\n" + failure);
    }
}
