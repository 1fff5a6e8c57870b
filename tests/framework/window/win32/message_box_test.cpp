// The system's own message box, shown for real (no hook): owned by the
// dialog that asks for it, with the title and text as given, and the answer
// of the button that closed it.
#include <gtest/gtest.h>

#include <vector>

#include "framework/window/message_box.h"
#include "tests/support/window_driver.h"
#include "ui/main_dialog.h"

namespace {

TEST(MessageBoxWin32Test, TheSystemsBoxIsOwnedByTheDialogAndAnswersWithItsButton) {
    struct Case {
        unsigned style;
        ModalClose close;
        int answer;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONSTOP, ModalClose::okButton, IDOK},
        {MB_OK | MB_ICONEXCLAMATION, ModalClose::enter, IDOK},
        {MB_OK | MB_ICONINFORMATION, ModalClose::escape, IDOK},
        {MB_OKCANCEL | MB_ICONINFORMATION, ModalClose::escape, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        CSplitJoinDlg dlg;
        std::vector<ModalWindowView> seen;
        int answer = 0;
        RunModalSteps(
            dlg, {[&] {
                // The dialog is its owner: the look finds it over the dialog.
                WhenModalOpens(
                    dlg, [&](const ModalWindowView& view) { seen.push_back(view); }, c.close);
                answer =
                    ShowMessageBox(dlg.GetSafeHwnd(), u"一行目\r\n二行目", u"TSKエラー", c.style);
            }});
        EXPECT_EQ(answer, c.answer);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].title, CString(u"TSKエラー"));
        EXPECT_EQ(seen[0].texts, std::vector<CString>{CString(u"一行目\r\n二行目")});
    }
}

}  // namespace
