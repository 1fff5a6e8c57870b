// Group box captions on the system's dialog manager: shown on one line (the
// system would draw CR and LF as glyphs), given back to the program exactly.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "framework/window/win32/system_text.h"
#include "resources/resource.h"
#include "tests/support/cstring_printer.h"
#include "tests/support/window_driver.h"
#include "ui/main_dialog.h"

namespace {

TEST(ControlTextTest, TheTemplatesTwoLineCaptionShowsOnOneLine) {
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                      EXPECT_EQ(WindowTextOf(dlg.GetDlgItem(IDC_SOURCE_GROUP)),
                                CString(u"分割するファイル（フルパス）"));
                      EXPECT_EQ(dlg.GetDlgItemText(IDC_SOURCE_GROUP),
                                CString(u"分割するファイル\r\n（フルパス）"));
                  }});
}

struct TextCase {
    const char* name;
    int control;
    const char16_t* given;
    const char16_t* shown;
};

void PrintTo(const TextCase& text, std::ostream* os) {
    *os << text.name;
}

class ControlTextSetTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ControlTextSetTest, ATextGivenLaterIsShownAsItsKindShowsItAndComesBackExactly) {
    const TextCase& text = GetParam();
    CSplitJoinDlg dlg;
    RunModalSteps(dlg, {[&] {
                      dlg.SetDlgItemText(text.control, text.given);
                      EXPECT_EQ(WindowTextOf(dlg.GetDlgItem(text.control)), CString(text.shown));
                      EXPECT_EQ(dlg.GetDlgItemText(text.control), CString(text.given));
                  }});
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ControlTextSetTest,
    ::testing::Values(TextCase{"TwoLineGroupBox", IDC_DEST_GROUP, u"結合先\r\nフォルダ",
                               u"結合先フォルダ"},
                      TextCase{"LoneCrAndLf", IDC_PIECES_GROUP, u"a\rb\nc\r\n", u"abc"},
                      TextCase{"OneLineGroupBox", IDC_SOURCE_GROUP, u"一行", u"一行"},
                      TextCase{"EmptyGroupBox", IDC_SOURCE_GROUP, u"", u""},
                      // Only group boxes: a label shows its line break.
                      TextCase{"Label", IDC_STATUS, u"上\r\n下", u"上\r\n下"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

}  // namespace
