#include "tests/framework/window/test_dialog.h"

#include <QWidget>

namespace {

constexpr std::uint32_t kPush = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr std::uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr std::uint32_t kRadio = WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON;

const DialogItemTemplate kItems[] = {
    {DialogItemClass::button, IDOK, u"OK", 80, 100, 50, 14,
     WS_CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON},
    {DialogItemClass::button, IDCANCEL, u"Cancel", 140, 100, 50, 14, kPush},
    {DialogItemClass::edit, IDC_T_EDIT1, u"", 10, 10, 100, 14, kEdit},
    {DialogItemClass::edit, IDC_T_EDIT2, u"初期", 10, 30, 100, 14, kEdit},
    {DialogItemClass::staticText, IDC_T_LABEL, u"一行目\r\n二行目", 10, 50, 60, 20,
     WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
    {DialogItemClass::button, IDC_T_FRAME, u"枠", 5, 3, 190, 70,
     WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
    {DialogItemClass::button, IDC_T_RADIO_A, u"A", 120, 10, 40, 10, kRadio},
    {DialogItemClass::button, IDC_T_RADIO_B, u"B", 120, 25, 40, 10, kRadio},
    {DialogItemClass::button, IDC_T_PRESS, u"Press", 120, 40, 50, 14, kPush},
    {DialogItemClass::button, IDC_T_OTHER, u"Other", 120, 56, 50, 14, kPush},
    {DialogItemClass::button, 108, u"R1", 10, 80, 30, 14, kPush},
    {DialogItemClass::button, 109, u"R2", 45, 80, 30, 14, kPush},
    {DialogItemClass::button, 110, u"R3", 80, 80, 30, 14, kPush},
    {DialogItemClass::button, IDC_T_DISABLED, u"Off", 115, 80, 30, 14, kPush | WS_DISABLED},
    {DialogItemClass::button, IDC_T_HIDDEN, u"Hidden", 150, 80, 30, 14,
     WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON},
    {DialogItemClass::button, IDC_T_UNMAPPED, u"None", 10, 100, 30, 14, kPush},
};

}  // namespace

const DialogTemplate kTestDialogTemplate = {
    u"テスト",
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
    0,
    0,
    200,
    120,
    9,
    u"ＭＳ Ｐゴシック",
    kItems,
    static_cast<int>(sizeof(kItems) / sizeof(kItems[0])),
};

BEGIN_MESSAGE_MAP(CTestDlg, CDialog)
ON_BN_CLICKED(IDC_T_PRESS, OnPress)
ON_BN_CLICKED(IDC_T_OTHER, OnOther)
ON_COMMAND_RANGE(IDC_T_RANGE_FIRST, IDC_T_RANGE_LAST, OnRange)
ON_WM_CLOSE()
ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CTestDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ++initCount;
    if (onInit) {
        onInit();
    }
    return TRUE;
}

void CTestDlg::OnOK() {
    ++okCount;
    CDialog::OnOK();
}

void CTestDlg::OnCancel() {
    ++cancelCount;
    CDialog::OnCancel();
}

void CTestDlg::OnPress() {
    ++presses;
    if (onPress) {
        onPress();
    }
}

void CTestDlg::OnOther() {
    ++otherPresses;
}

void CTestDlg::OnRange(unsigned id) {
    rangeIds.push_back(id);
}

void CTestDlg::OnClose() {
    ++closes;
    if (onClose) {
        onClose();
    }
    if (!keepOpenOnClose) {
        CDialog::OnClose();
    }
}

void CTestDlg::OnDestroy() {
    CDialog::OnDestroy();
    ++destroys;
    windowAliveAtDestroy = GetSafeHwnd() != nullptr;
}

BEGIN_MESSAGE_MAP(CDerivedTestDlg, CTestDlg)
ON_BN_CLICKED(IDC_T_PRESS, OnPressDerived)
END_MESSAGE_MAP()
