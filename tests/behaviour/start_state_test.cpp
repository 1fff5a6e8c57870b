// The main dialog as it opens: split mode, the fixed captions and labels,
// empty fields, an empty status line, and the focus on Exit.
#include <gtest/gtest.h>

#include "tests/support/main_dialog_fixture.h"

namespace {

TEST(StartStateTest, SplitModeWithTheTemplateCaptionsEmptyFieldsAndFocusOnExit) {
    struct Caption {
        int id;
        const char16_t* text;
    };
    const Caption captions[] = {
        {IDCANCEL, u"終了"},
        {IDC_USAGE, u"使い方"},
        {IDC_MODE_SPLIT, u"ファイルを分割する"},
        {IDC_MODE_JOIN, u"ファイルを結合(復元）する"},
        {IDC_SOURCE_GROUP, u"分割するファイル\r\n（フルパス）"},
        {IDC_PIECES_GROUP, u"分割ファイル指定"},
        {IDC_FOLDER_HEADER, u"フォルダ名（フルパス） "},
        {IDC_NAME_HEADER, u"ファイル名（固定）"},
        {IDC_DEST_GROUP, u"結合先フォルダ指定"},
        {IDC_DEST_NAME, u"temp"},
        {IDC_DEST_NOTE,
         u"結合したファイルの出力先フォルダを指定する。\u3000\u3000\u3000"
         u"※出力ファイル名は「temp」という名前、変更不可。"},
        {IDC_STATUS, u""},
        {IDC_SOURCE_PATH, u""},
        {IDC_DEST_FOLDER, u""},
    };
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                      EXPECT_TRUE(IsWindowShown(dlg));
                      EXPECT_EQ(dlg.GetWindowText(), CString(u"Tesserak"));
                      ExpectMode(dlg, true);
                      for (const Caption& c : captions) {
                          EXPECT_EQ(dlg.GetDlgItemText(c.id), CString(c.text)) << c.id;
                      }
                      for (int n = 1; n <= kRows; ++n) {
                          EXPECT_EQ(dlg.GetDlgItemText(IDC_FOLDER_1 + n - 1), CString()) << n;
                          EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_FOLDER_1 + n - 1)) << n;
                          CString piece;
                          piece.Format(u"temp%03d", n);
                          EXPECT_EQ(dlg.GetDlgItemText(IDC_PIECE_NAME_1 + n - 1), piece) << n;
                      }
                      EXPECT_EQ(EnabledRows(dlg), kAllRows);
                      EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_USAGE));
                      EXPECT_TRUE(dlg.IsDlgItemEnabled(IDCANCEL));
                      // The default button exists for Enter only; it is never shown.
                      EXPECT_FALSE(dlg.IsDlgItemVisible(IDOK));
                      // Exit is the first tab stop of the template.
                      EXPECT_EQ(dlg.GetFocusedDlgItem(), IDCANCEL);
                  }});
}

// A group box shows its caption on one line however its lines end (CR LF, a
// lone LF, a lone CR) and gives back the exact text.
TEST(GroupBoxCaptionTest, EveryLineEndIsLeftOutOfWhatTheBoxShows) {
    const std::vector<CString> captions = {u"結合先\r\nフォルダ", u"結合先\nフォルダ",
                                           u"結合先\rフォルダ", u"結合先\r\n\rフォルダ\n"};
    std::vector<CString> shown;
    std::vector<CString> kept;
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                      EXPECT_EQ(ShownText(dlg, IDC_SOURCE_GROUP),
                                CString(u"分割するファイル（フルパス）"));
                      for (const CString& caption : captions) {
                          dlg.SetDlgItemText(IDC_DEST_GROUP, caption);
                          shown.push_back(ShownText(dlg, IDC_DEST_GROUP));
                          kept.push_back(dlg.GetDlgItemText(IDC_DEST_GROUP));
                      }
                  }});
    EXPECT_EQ(shown, std::vector<CString>(captions.size(), CString(u"結合先フォルダ")));
    EXPECT_EQ(kept, captions);
}

}  // namespace
