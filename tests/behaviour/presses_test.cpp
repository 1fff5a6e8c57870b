// The part buttons during and after a press on real files, and what a user's
// input does while a piece is copied: a second press of the busy row, the
// close box, Exit, Escape, Enter, a mode switch. Input arrives through the
// queue, as the copy's pump takes it.
#include <gtest/gtest.h>

#include <functional>

#include "engine/transfer.h"
#include "tests/support/main_dialog_fixture.h"

namespace fs = std::filesystem;

namespace {

TEST_F(PressesTest, DuringAPressOnlyItsRowIsEnabledAndShowsProcessingThenDone) {
    WriteSource(25 * kMiB);  // pieces of 2.5 MiB: two pumps each
    std::vector<std::vector<CString>> captionsSeen;
    std::vector<std::vector<int>> enabledSeen;
    dlg.onPump = [&](int) {
        captionsSeen.push_back(Captions(dlg));
        enabledSeen.push_back(EnabledRows(dlg));
    };

    RunModalSteps(
        dlg,
        {[&] {
             FillFields();
             dlg.SetDlgItemText(RowButton(5), u"完了");  // an earlier press's outcome
             PostClick(dlg, RowButton(3));
         },
         [&] {
             EXPECT_EQ(Captions(dlg), CaptionsExcept(u"分割開始", {{3, u"完了"}, {5, u"完了"}}));
             EXPECT_EQ(EnabledRows(dlg), kAllRows);
             EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), CString(u"100%"));
         }});

    ASSERT_EQ(captionsSeen.size(), 2u);
    for (std::size_t pump = 0; pump < captionsSeen.size(); ++pump) {
        EXPECT_EQ(captionsSeen[pump], CaptionsExcept(u"分割開始", {{3, u"処理中"}, {5, u"完了"}}))
            << pump;
        EXPECT_EQ(enabledSeen[pump], std::vector<int>{3}) << pump;
    }
    EXPECT_EQ(ReadAll(Piece(3)), ExpectedPiece(3));
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(PressesTest, ARefusedPressShowsProcessingUntilItsBoxIsClosedThenFailed) {
    WriteSource(12 * kMiB);
    std::vector<CString> captionsInBox;
    std::vector<int> enabledInBox;

    RunModalSteps(dlg, {[&] {
                            FillFields();
                            PostClick(dlg, RowButton(4));
                        },
                        [&] {
                            // The piece exists now, so the same press is refused.
                            boxes.onBox = [&](const MessageBoxCall&) {
                                captionsInBox = Captions(dlg);
                                enabledInBox = EnabledRows(dlg);
                            };
                            PostClick(dlg, RowButton(4));
                        },
                        [&] {
                            EXPECT_EQ(dlg.GetDlgItemText(RowButton(4)), CString(u"失敗"));
                            EXPECT_EQ(EnabledRows(dlg), kAllRows);
                        }});

    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text,
              CString(u"既にファイル「") + ToCString(Piece(4)) + CString(u"」は存在します。"));
    EXPECT_EQ(captionsInBox, CaptionsExcept(u"分割開始", {{4, u"処理中"}}));
    EXPECT_EQ(enabledInBox, std::vector<int>{4});
    EXPECT_EQ(ReadAll(Piece(4)), ExpectedPiece(4));
}

TEST_F(PressesTest, ASecondPressOfTheBusyRowCancelsAtOnceAndKeepsWhatWasWritten) {
    WriteSource(50 * kMiB);  // pieces of 5 MiB
    std::vector<CString> captionsAtOnce;
    std::vector<int> enabledAtOnce;
    std::int32_t stateAtOnce = -1;
    dlg.onPump = [&](int pump) {
        if (pump == 1) {
            PostClick(dlg, RowButton(6));
            Post([&] {
                captionsAtOnce = Captions(dlg);
                enabledAtOnce = EnabledRows(dlg);
                stateAtOnce = TransferState;
            });
        }
    };

    RunModalSteps(dlg, {[&] {
                            FillFields();
                            PostClick(dlg, RowButton(6));
                        },
                        [&] {
                            EXPECT_EQ(dlg.GetDlgItemText(RowButton(6)), CString(u"失敗"));
                            EXPECT_EQ(EnabledRows(dlg), kAllRows);
                            EXPECT_EQ(TransferState, kTransferIdle);
                            dlg.onPump = nullptr;
                            PostClick(dlg, RowButton(7));
                        },
                        [&] { EXPECT_EQ(dlg.GetDlgItemText(RowButton(7)), CString(u"完了")); }});

    EXPECT_EQ(captionsAtOnce, CaptionsExcept(u"分割開始", {{6, u"失敗"}}));
    EXPECT_EQ(enabledAtOnce, kAllRows);
    EXPECT_EQ(stateAtOnce, kTransferCancelRequested);
    EXPECT_TRUE(boxes.calls.empty());
    // The chunk during whose pump the press came is the last one written.
    EXPECT_EQ(ReadAll(Piece(6)), ExpectedPiecePrefix(6, 2 * kMiB));
    EXPECT_EQ(ReadAll(Piece(7)), ExpectedPiece(7));
}

TEST_F(PressesTest, ASecondClickWaitingBehindACopyWithoutPumpsIsANewPressAfterIt) {
    WriteSource(5 * kMiB);  // pieces of half a MiB: no pump runs
    std::vector<CString> captionsBetween;

    RunModalSteps(dlg, {[&] {
                      FillFields();
                      PostClick(dlg, RowButton(9));
                      Post([&] { captionsBetween = Captions(dlg); });
                      PostClick(dlg, RowButton(9));
                  }});

    EXPECT_EQ(captionsBetween, CaptionsExcept(u"分割開始", {{9, u"完了"}}));
    EXPECT_EQ(ReadAll(Piece(9)), ExpectedPiece(9));
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text,
              CString(u"既にファイル「") + ToCString(Piece(9)) + CString(u"」は存在します。"));
}

TEST_F(PressesTest, TheCloseBoxHidesAtOnceAndStopsTheCopyAfterItsChunk) {
    WriteSource(50 * kMiB);
    bool shownAfterClose = true;
    std::vector<CString> captionsAtEnd;
    dlg.onPump = [&](int pump) {
        if (pump == 0) {
            PostClose(dlg);
            Post([&] { shownAfterClose = IsWindowShown(dlg); });
        }
    };
    dlg.onDestroy = [&] { captionsAtEnd = Captions(dlg); };

    const std::intptr_t result = RunModalSteps(dlg, {[&] {
                                                   FillFields();
                                                   PostClick(dlg, RowButton(2));
                                               }});

    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(shownAfterClose);
    EXPECT_EQ(captionsAtEnd, CaptionsExcept(u"分割開始", {{2, u"失敗"}}));
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(TransferState, kTransferIdle);
    EXPECT_EQ(ReadAll(Piece(2)), ExpectedPiecePrefix(2, kMiB));
}

TEST_F(PressesTest, ExitEscapeAndEnterHideAtOnceButThePieceIsCompleted) {
    struct Case {
        const char* name;
        std::function<void(CDialog&)> input;
        std::intptr_t result;
    };
    const Case cases[] = {
        {"Exit", [](CDialog& d) { PostClick(d, IDCANCEL); }, IDCANCEL},
        {"Escape",
         [](CDialog& d) {
             d.GotoDlgCtrl(IDC_FOLDER_1);
             PostKey(d, Key::escape);
         },
         IDCANCEL},
        {"Enter in a field",
         [](CDialog& d) {
             d.GotoDlgCtrl(IDC_FOLDER_1);
             PostKey(d, Key::enter);
         },
         IDOK},
    };
    WriteSource(30 * kMiB);
    int row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObservedDialog each;
        bool shownAfterInput = true;
        std::vector<CString> captionsAtEnd;
        each.onPump = [&](int pump) {
            if (pump == 0) {
                c.input(each);
                Post([&] { shownAfterInput = IsWindowShown(each); });
            }
        };
        each.onDestroy = [&] { captionsAtEnd = Captions(each); };
        const std::intptr_t result = RunModalSteps(each, {[&] {
                                                       FillFields(each);
                                                       PostClick(each, RowButton(row));
                                                   }});
        EXPECT_EQ(result, c.result);
        EXPECT_FALSE(shownAfterInput);
        EXPECT_EQ(captionsAtEnd, CaptionsExcept(u"分割開始", {{row, u"完了"}}));
        EXPECT_EQ(ReadAll(Piece(row)), ExpectedPiece(row));
        EXPECT_EQ(TransferState, kTransferIdle);
        ++row;
    }
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(PressesTest, AModeSwitchDuringACopyChangesTheCaptionsButNotTheRunningKind) {
    WriteSource(30 * kMiB);
    std::vector<CString> captionsAfterSwitch;
    dlg.onPump = [&](int pump) {
        if (pump == 0) {
            PostClick(dlg, IDC_MODE_JOIN);
            Post([&] { captionsAfterSwitch = Captions(dlg); });
        }
    };

    RunModalSteps(dlg, {[&] {
                            FillFields();
                            PostClick(dlg, RowButton(8));
                        },
                        [&] {
                            EXPECT_EQ(Captions(dlg), CaptionsExcept(u"結合開始", {{8, u"完了"}}));
                            EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_JOIN), BST_CHECKED);
                        }});

    EXPECT_EQ(captionsAfterSwitch, CaptionsExcept(u"結合開始", {}));
    EXPECT_EQ(ReadAll(Piece(8)), ExpectedPiece(8));  // still a split
    EXPECT_FALSE(fs::exists(destination / "temp"));
    EXPECT_TRUE(boxes.calls.empty());
}

}  // namespace
