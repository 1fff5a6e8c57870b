// The dialog template IDD_MAIN as data: the 55 controls in
// template order, which is also the tab order, with their texts, rectangles
// (dialog units of the template font) and styles. The families of ten are
// written out row by row; row n lies 16 units below row n - 1.
#include <cstdint>

#include "resources/resources.h"

namespace {

constexpr DialogItemClass kButton = DialogItemClass::button;
constexpr DialogItemClass kEdit = DialogItemClass::edit;
constexpr DialogItemClass kStatic = DialogItemClass::staticText;

// The kinds of control with the style flags that the template
// stores for each (every control is a child window).
constexpr std::uint32_t kPushButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr std::uint32_t kHiddenDefaultButton = WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr std::uint32_t kGroupBox = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr std::uint32_t kEditField =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr std::uint32_t kStaticText = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
constexpr std::uint32_t kRadioButton = WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON;

// Each row ends with its number in template order.
const DialogItemTemplate kMainDialogItems[] = {
    {kButton, IDOK, u"OK", 233, 325, 50, 14, kHiddenDefaultButton},  // 1
    {kButton, IDCANCEL, u"終了", 365, 328, 50, 14, kPushButton},     // 2
    {kButton, IDC_SOURCE_GROUP, u"分割するファイル\r\n（フルパス）", 7, 34, 417, 33,
     kGroupBox},                                                                              // 3
    {kEdit, IDC_SOURCE_PATH, u"", 18, 48, 393, 14, kEditField},                               // 4
    {kEdit, IDC_FOLDER_1, u"", 104, 92, 240, 14, kEditField},                                 // 5
    {kEdit, IDC_FOLDER_2, u"", 104, 108, 240, 14, kEditField},                                // 6
    {kEdit, IDC_FOLDER_3, u"", 104, 124, 240, 14, kEditField},                                // 7
    {kEdit, IDC_FOLDER_4, u"", 104, 140, 240, 14, kEditField},                                // 8
    {kEdit, IDC_FOLDER_5, u"", 104, 156, 240, 14, kEditField},                                // 9
    {kEdit, IDC_FOLDER_6, u"", 104, 172, 240, 14, kEditField},                                // 10
    {kEdit, IDC_FOLDER_7, u"", 104, 188, 240, 14, kEditField},                                // 11
    {kEdit, IDC_FOLDER_8, u"", 104, 204, 240, 14, kEditField},                                // 12
    {kEdit, IDC_FOLDER_9, u"", 104, 220, 240, 14, kEditField},                                // 13
    {kEdit, IDC_FOLDER_10, u"", 104, 236, 240, 14, kEditField},                               // 14
    {kStatic, IDC_ROW_LABEL_1, u"出力先フォルダ 1", 12, 95, 73, 10, kStaticText},             // 15
    {kStatic, IDC_ROW_LABEL_2, u"出力先フォルダ 2", 12, 111, 73, 10, kStaticText},            // 16
    {kStatic, IDC_ROW_LABEL_3, u"出力先フォルダ 3", 12, 127, 73, 10, kStaticText},            // 17
    {kStatic, IDC_ROW_LABEL_4, u"出力先フォルダ 4", 12, 143, 73, 10, kStaticText},            // 18
    {kStatic, IDC_ROW_LABEL_5, u"出力先フォルダ 5", 12, 159, 73, 10, kStaticText},            // 19
    {kStatic, IDC_ROW_LABEL_6, u"出力先フォルダ 6", 12, 175, 73, 10, kStaticText},            // 20
    {kStatic, IDC_ROW_LABEL_7, u"出力先フォルダ 7", 12, 191, 73, 10, kStaticText},            // 21
    {kStatic, IDC_ROW_LABEL_8, u"出力先フォルダ 8", 12, 207, 73, 10, kStaticText},            // 22
    {kStatic, IDC_ROW_LABEL_9, u"出力先フォルダ 9", 12, 223, 73, 10, kStaticText},            // 23
    {kStatic, IDC_ROW_LABEL_10, u"出力先フォルダ10", 12, 239, 73, 10, kStaticText},           // 24
    {kButton, IDC_USAGE, u"使い方", 62, 7, 50, 14, kPushButton},                              // 25
    {kButton, IDC_ROW_BUTTON_1, u"作成", 380, 91, 41, 13, kPushButton},                       // 26
    {kButton, IDC_ROW_BUTTON_2, u"作成", 380, 107, 41, 13, kPushButton},                      // 27
    {kButton, IDC_ROW_BUTTON_3, u"作成", 380, 123, 41, 13, kPushButton},                      // 28
    {kButton, IDC_ROW_BUTTON_4, u"作成", 380, 139, 41, 13, kPushButton},                      // 29
    {kButton, IDC_ROW_BUTTON_5, u"作成", 380, 155, 41, 13, kPushButton},                      // 30
    {kButton, IDC_ROW_BUTTON_6, u"作成", 380, 171, 41, 13, kPushButton},                      // 31
    {kButton, IDC_ROW_BUTTON_7, u"作成", 380, 187, 41, 13, kPushButton},                      // 32
    {kButton, IDC_ROW_BUTTON_8, u"作成", 380, 203, 41, 13, kPushButton},                      // 33
    {kButton, IDC_ROW_BUTTON_9, u"作成", 380, 219, 41, 13, kPushButton},                      // 34
    {kButton, IDC_ROW_BUTTON_10, u"作成", 380, 235, 41, 13, kPushButton},                     // 35
    {kStatic, IDC_PIECE_NAME_1, u"temp001", 348, 93, 26, 10, kStaticText},                    // 36
    {kStatic, IDC_PIECE_NAME_2, u"temp002", 348, 109, 26, 10, kStaticText},                   // 37
    {kStatic, IDC_PIECE_NAME_3, u"temp003", 348, 125, 26, 10, kStaticText},                   // 38
    {kStatic, IDC_PIECE_NAME_4, u"temp004", 348, 141, 26, 10, kStaticText},                   // 39
    {kStatic, IDC_PIECE_NAME_5, u"temp005", 348, 157, 26, 10, kStaticText},                   // 40
    {kStatic, IDC_PIECE_NAME_6, u"temp006", 348, 173, 26, 10, kStaticText},                   // 41
    {kStatic, IDC_PIECE_NAME_7, u"temp007", 348, 189, 26, 10, kStaticText},                   // 42
    {kStatic, IDC_PIECE_NAME_8, u"temp008", 348, 205, 26, 10, kStaticText},                   // 43
    {kStatic, IDC_PIECE_NAME_9, u"temp009", 348, 221, 26, 10, kStaticText},                   // 44
    {kStatic, IDC_PIECE_NAME_10, u"temp010", 348, 237, 26, 10, kStaticText},                  // 45
    {kButton, IDC_MODE_SPLIT, u"ファイルを分割する", 169, 7, 75, 16, kRadioButton},           // 46
    {kButton, IDC_MODE_JOIN, u"ファイルを結合(復元）する", 290, 7, 102, 16, kRadioButton},    // 47
    {kButton, IDC_DEST_GROUP, u"結合先フォルダ指定", 7, 272, 419, 45, kGroupBox},             // 48
    {kEdit, IDC_DEST_FOLDER, u"", 19, 298, 370, 14, kEditField},                              // 49
    {kStatic, IDC_DEST_NAME, u"temp", 395, 300, 27, 10, kStaticText},                         // 50
    {kStatic, IDC_STATUS, u"", 7, 338, 292, 10, kStaticText},                                 // 51
    {kStatic, IDC_FOLDER_HEADER, u"フォルダ名（フルパス） ", 177, 80, 148, 10, kStaticText},  // 52
    {kStatic, IDC_NAME_HEADER, u"ファイル名（固定）", 336, 80, 53, 10, kStaticText},          // 53
    {kButton, IDC_PIECES_GROUP, u"分割ファイル指定", 7, 73, 419, 190, kGroupBox},             // 54
    {kStatic, IDC_DEST_NOTE,
     u"結合したファイルの出力先フォルダを指定する。\u3000\u3000\u3000"
     u"※出力ファイル名は「temp」という名前、変更不可。",
     19, 284, 301, 10, kStaticText},  // 55

};

}  // namespace

const DialogTemplate kMainDialogTemplate = {
    u"Tesserak",
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    WS_EX_APPWINDOW,
    0,
    0,
    443,
    355,
    9,
    u"ＭＳ Ｐゴシック",
    kMainDialogItems,
    static_cast<int>(sizeof(kMainDialogItems) / sizeof(kMainDialogItems[0])),
};
