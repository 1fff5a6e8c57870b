// While a box is open over the main window, a user's clicks on the main window
// (a row button, a mode button, "終了", its close box) do nothing, and the
// press beneath the box is not entered again. The input goes through the
// window system's own input path, where a modal window blocks the windows
// beneath it; the boxes are the real ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "framework/window/win_app.h"
#include "tests/support/main_dialog_fixture.h"

namespace fs = std::filesystem;

namespace {

// The user's clicks on the main window while a box is open over it; returns
// how many boxes they opened (recorded, not shown, should one get through).
std::size_t ClickBeneathTheBox(CDialog& dlg, int row) {
    const RecordedBoxes opened;
    ClickThroughSystem(dlg, RowButton(row));
    ClickThroughSystem(dlg, IDC_MODE_JOIN);
    ClickThroughSystem(dlg, IDCANCEL);
    CloseThroughSystem(dlg);
    return opened.calls.size();
}

// Clicks beneath each of the next `count` boxes that open over `dlg`, then
// closes it with Enter.
void ClickBeneathEachBox(CDialog& dlg, int count, int row, std::vector<std::size_t>& opened) {
    WhenModalOpens(
        dlg,
        [&dlg, count, row, &opened](const ModalWindowView&) {
            opened.push_back(ClickBeneathTheBox(dlg, row));
            if (count > 1) {
                Post([&dlg, count, row, &opened] {
                    ClickBeneathEachBox(dlg, count - 1, row, opened);
                });
            }
        },
        ModalClose::enter);
}

TEST_F(PressesTest, WhileABoxIsOpenTheMainWindowTakesNoClickAndNoClose) {
    struct Case {
        const char* name;
        std::function<void(CDialog&)> open;
        int boxes;
        int row;  // the row clicked beneath the box; the refused press's own
        bool refused;
    };
    const Case cases[] = {
        {"usage boxes", [](CDialog& d) { PostClick(d, IDC_USAGE); }, 2, 1, false},
        {"About box", [](CDialog& d) { PostSysCommand(d, IDM_ABOUT); }, 1, 1, false},
        // The engine's box, shown before the transfer counts as running: a
        // second press getting through would pass the start check.
        {"refused press", [](CDialog& d) { PostClick(d, RowButton(3)); }, 1, 3, true},
    };
    const MessageBoxHook recording = SetMessageBoxHook(MessageBoxHook());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObservedDialog each;
        CWinApp app;  // the About box's owner
        app.m_pMainWnd = &each;
        std::vector<std::size_t> opened;
        const std::intptr_t result = RunModalSteps(
            each, {[&] {
                       FillFields(each);  // the source does not exist
                       c.open(each);
                       ClickBeneathEachBox(each, c.boxes, c.row, opened);
                   },
                   [&] {
                       EXPECT_EQ(Captions(each),
                                 c.refused ? CaptionsExcept(u"分割開始", {{c.row, u"失敗"}})
                                           : CaptionsExcept(u"分割開始", {}));
                       EXPECT_EQ(each.IsDlgButtonChecked(IDC_MODE_SPLIT), BST_CHECKED);
                       // The same input reaches the window once no box is open.
                       ClickThroughSystem(each, IDC_MODE_JOIN);
                       EXPECT_EQ(each.IsDlgButtonChecked(IDC_MODE_JOIN), BST_CHECKED);
                       CloseThroughSystem(each);
                   }});
        app.m_pMainWnd = nullptr;
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(opened, std::vector<std::size_t>(static_cast<std::size_t>(c.boxes), 0u));
        EXPECT_FALSE(fs::exists(Piece(c.row)));
    }
    SetMessageBoxHook(recording);
}

}  // namespace
