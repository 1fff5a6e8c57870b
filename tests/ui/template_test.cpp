// The dialog template IDD_MAIN as data: 55 controls in template order with
// the ids, texts, rectangles and styles of the dialog's design.
#include <gtest/gtest.h>

#include <QIcon>
#include <vector>

#include "framework/window/icon.h"
#include "resources/resources.h"
#include "tests/support/dialog_driver.h"
#include "ui/main_dialog.h"

namespace {

constexpr std::uint32_t kPush = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr std::uint32_t kHiddenDefault = WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr std::uint32_t kGroup = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr std::uint32_t kEdit =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr std::uint32_t kStatic = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
constexpr std::uint32_t kRadio = WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON;

struct Row {
    int id;
    CString text;
    int x, y, cx, cy;
    std::uint32_t style;
};

// The dialog's design, written out here on its own.
std::vector<Row> ExpectedRows() {
    std::vector<Row> rows{
        {1, u"OK", 233, 325, 50, 14, kHiddenDefault},
        {2, u"終了", 365, 328, 50, 14, kPush},
        {1011, u"分割するファイル\r\n（フルパス）", 7, 34, 417, 33, kGroup},
        {1000, u"", 18, 48, 393, 14, kEdit},
    };
    for (int n = 1; n <= 10; ++n) {
        rows.push_back({1000 + n, u"", 104, 92 + 16 * (n - 1), 240, 14, kEdit});
    }
    for (int n = 1; n <= 10; ++n) {
        CString text;
        text.Format(u"出力先フォルダ%2d", n);
        rows.push_back({1011 + n, text, 12, 95 + 16 * (n - 1), 73, 10, kStatic});
    }
    rows.push_back({1032, u"使い方", 62, 7, 50, 14, kPush});
    for (int n = 1; n <= 10; ++n) {
        rows.push_back({1021 + n, u"作成", 380, 91 + 16 * (n - 1), 41, 13, kPush});
    }
    for (int n = 1; n <= 10; ++n) {
        CString text;
        text.Format(u"temp%03d", n);
        rows.push_back({1032 + n, text, 348, 93 + 16 * (n - 1), 26, 10, kStatic});
    }
    const std::vector<Row> tail{
        {1043, u"ファイルを分割する", 169, 7, 75, 16, kRadio},
        {1044, u"ファイルを結合(復元）する", 290, 7, 102, 16, kRadio},
        {1045, u"結合先フォルダ指定", 7, 272, 419, 45, kGroup},
        {1046, u"", 19, 298, 370, 14, kEdit},
        {1047, u"temp", 395, 300, 27, 10, kStatic},
        {1048, u"", 7, 338, 292, 10, kStatic},
        {1049, u"フォルダ名（フルパス） ", 177, 80, 148, 10, kStatic},
        {1050, u"ファイル名（固定）", 336, 80, 53, 10, kStatic},
        {1051, u"分割ファイル指定", 7, 73, 419, 190, kGroup},
        {1052,
         u"結合したファイルの出力先フォルダを指定する。\u3000\u3000\u3000※出力ファイル名は「temp」"
         u"と"
         u"いう名前、変更不可。",
         19, 284, 301, 10, kStatic},
    };
    rows.insert(rows.end(), tail.begin(), tail.end());
    return rows;
}

TEST(MainTemplateTest, DialogRecord) {
    const DialogTemplate& t = kMainDialogTemplate;
    EXPECT_EQ(CString(t.title), CString(u"Tesserak"));
    EXPECT_EQ(t.style,
              WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    EXPECT_EQ(t.exStyle, WS_EX_APPWINDOW);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 443);
    EXPECT_EQ(t.cy, 355);
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(CString(t.fontFace), CString(u"ＭＳ Ｐゴシック"));
}

TEST(MainTemplateTest, FiftyFiveControlsInTemplateOrderWithTheirIdsTextsRectanglesAndStyles) {
    const std::vector<Row> rows = ExpectedRows();
    ASSERT_EQ(rows.size(), 55u);
    ASSERT_EQ(kMainDialogTemplate.itemCount, 55);
    for (int i = 0; i < 55; ++i) {
        const DialogItemTemplate& item = kMainDialogTemplate.items[i];
        const Row& row = rows[static_cast<std::size_t>(i)];
        SCOPED_TRACE(testing::Message() << "row " << i + 1);
        EXPECT_EQ(item.id, row.id);
        EXPECT_EQ(CString(item.text), row.text);
        EXPECT_EQ(item.x, row.x);
        EXPECT_EQ(item.y, row.y);
        EXPECT_EQ(item.cx, row.cx);
        EXPECT_EQ(item.cy, row.cy);
        EXPECT_EQ(item.style, row.style);
        const DialogItemClass expectedClass = row.style == kEdit     ? DialogItemClass::edit
                                              : row.style == kStatic ? DialogItemClass::staticText
                                                                     : DialogItemClass::button;
        EXPECT_EQ(item.windowClass, expectedClass);
    }
}

TEST(MainTemplateTest, SymbolicIdsOfTheFamilies) {
    EXPECT_EQ(IDC_FOLDER_10, 1010);
    EXPECT_EQ(IDC_ROW_LABEL_1, 1012);
    EXPECT_EQ(IDC_ROW_LABEL_10, 1021);
    EXPECT_EQ(IDC_ROW_BUTTON_1, 1022);
    EXPECT_EQ(IDC_ROW_BUTTON_10, 1031);
    EXPECT_EQ(IDC_PIECE_NAME_1, 1033);
    EXPECT_EQ(IDC_PIECE_NAME_10, 1042);
    EXPECT_EQ(IDD_MAIN, 102);
    EXPECT_EQ(IDD_ABOUT, 100);
    EXPECT_EQ(IDS_ABOUT_MENU, 101);
    EXPECT_EQ(IDI_APP, 128);
    EXPECT_EQ(IDM_ABOUT, 16);
}

TEST(MainTemplateTest, IconHasA32And16PixelImageOfAtMost16Colours) {
    ASSERT_EQ(kAppIcon.id, IDI_APP);
    for (const char* const* image : {kAppIcon.image32, kAppIcon.image16}) {
        int width = 0;
        int height = 0;
        int colours = 0;
        int perPixel = 0;
        ASSERT_EQ(std::sscanf(image[0], "%d %d %d %d", &width, &height, &colours, &perPixel), 4);
        EXPECT_LE(colours, 17);  // 16 colours and the transparent one
        EXPECT_EQ(perPixel, 1);
        EXPECT_TRUE((width == 32 && height == 32) || (width == 16 && height == 16));
    }
    const HICON icon = LoadIconResource(kAppIcon);
    ASSERT_NE(icon, nullptr);
    EXPECT_TRUE(icon->availableSizes().contains(QSize(32, 32)));
    EXPECT_TRUE(icon->availableSizes().contains(QSize(16, 16)));
    EXPECT_EQ(LoadIconResource(kAppIcon), icon);  // shared: one icon per resource
}

TEST(MainTemplateTest, TheDialogBuildsEveryControlWithItsTemplateText) {
    CSplitJoinDlg dlg;
    RunModal(dlg, [&] {
        for (int i = 0; i < kMainDialogTemplate.itemCount; ++i) {
            const DialogItemTemplate& item = kMainDialogTemplate.items[i];
            ASSERT_NE(dlg.GetDlgItem(item.id), nullptr) << item.id;
            const bool rewritten = (item.id >= IDC_ROW_LABEL_1 && item.id <= IDC_ROW_LABEL_10) ||
                                   (item.id >= IDC_ROW_BUTTON_1 && item.id <= IDC_ROW_BUTTON_10);
            if (!rewritten) {
                EXPECT_EQ(dlg.GetDlgItemText(item.id), CString(item.text)) << item.id;
            }
        }
    });
}

}  // namespace
