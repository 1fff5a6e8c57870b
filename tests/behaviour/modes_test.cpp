// The two modes: a click or Space on a radio button switches, the row
// captions, the row labels and the enabled controls follow, and the fields
// keep what was typed.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/main_dialog_fixture.h"

namespace {

// Chooses mode `id` as the user does.
using Choose = std::function<void(CDialog&, int id)>;

void ByClick(CDialog& dlg, int id) {
    PostClick(dlg, id);
}

void BySpace(CDialog& dlg, int id) {
    dlg.GotoDlgCtrl(id);  // radio buttons are no tab stops: no key reaches them otherwise
    PostKey(dlg, Key::space);
}

TEST(ModesTest, ASwitchBackAndForthChangesWhatTheRowsShowAndKeepsTheTexts) {
    for (const auto& [name, choose] : {std::pair<const char*, Choose>{"click", ByClick},
                                       std::pair<const char*, Choose>{"Space", BySpace}}) {
        SCOPED_TRACE(name);
        CSplitJoinDlg dlg;
        RunModalSteps(dlg,
                      {[&] {
                           TypeInto(dlg, IDC_SOURCE_PATH, u"/data/大きい ファイル.iso");
                           TypeInto(dlg, IDC_FOLDER_3, u"/media/カード3");
                       },
                       [&] { choose(dlg, IDC_MODE_JOIN); },
                       [&] {
                           ExpectMode(dlg, false);
                           TypeInto(dlg, IDC_DEST_FOLDER, u"/restore");
                       },
                       [&] { choose(dlg, IDC_MODE_SPLIT); },
                       [&] {
                           ExpectMode(dlg, true);
                           EXPECT_EQ(dlg.GetDlgItemText(IDC_SOURCE_PATH),
                                     CString(u"/data/大きい ファイル.iso"));
                           EXPECT_EQ(dlg.GetDlgItemText(IDC_FOLDER_3), CString(u"/media/カード3"));
                           EXPECT_EQ(dlg.GetDlgItemText(IDC_DEST_FOLDER), CString(u"/restore"));
                       }});
    }
}

TEST(ModesTest, AClickOnTheModeInForceRewritesOutcomeCaptionsAndKeepsItChecked) {
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                            // As after presses of rows 3 and 5.
                            dlg.SetDlgItemText(RowButton(3), u"完了");
                            dlg.SetDlgItemText(RowButton(5), u"失敗");
                            PostClick(dlg, IDC_MODE_SPLIT);
                        },
                        [&] {
                            ExpectMode(dlg, true);
                            PostClick(dlg, IDC_MODE_JOIN);
                        },
                        [&] {
                            dlg.SetDlgItemText(RowButton(1), u"完了");
                            PostClick(dlg, IDC_MODE_JOIN);
                        },
                        [&] { ExpectMode(dlg, false); }});
}

}  // namespace
