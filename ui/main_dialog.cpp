#include "ui/main_dialog.h"

#include "engine/join.h"
#include "engine/piece_layout.h"
#include "engine/split.h"
#include "framework/window/control_text.h"
#include "framework/window/icon.h"
#include "framework/window/message_box.h"
#include "framework/window/message_pump.h"
#include "framework/window/string_loader.h"
#include "resources/resources.h"
#include "ui/about_dialog.h"
#include "ui/usage_text.h"

IMPLEMENT_DYNAMIC(CSplitJoinDlg, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CSplitJoinDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND_RANGE(IDC_ROW_BUTTON_1, IDC_ROW_BUTTON_10, OnPartButton)
    ON_BN_CLICKED(IDC_MODE_SPLIT, OnModeSplit)
    ON_BN_CLICKED(IDC_MODE_JOIN, OnModeJoin)
    ON_BN_CLICKED(IDC_USAGE, OnUsage)
END_MESSAGE_MAP()
// clang-format on

// One press of a part button, seen on its row for the life of the object:
// "処理中" and only this row's button enabled from the start; at the end the
// outcome caption and all ten enabled again, also when the operation leaves
// with an exception (the framework then reports it).
class CSplitJoinDlg::PartPress {
public:
    PartPress(CSplitJoinDlg& dlg, int row) : m_dlg(dlg), m_row(row) {
        m_dlg.SetDlgItemText(IDC_ROW_BUTTON_1 + m_row - 1, u"処理中");
        m_dlg.EnablePartButtons(m_row);
    }
    ~PartPress() {
        m_dlg.SetDlgItemText(IDC_ROW_BUTTON_1 + m_row - 1,
                             m_result == kTransferCompleted ? u"完了" : u"失敗");
        m_dlg.EnablePartButtons(0);
    }
    PartPress(const PartPress&) = delete;
    PartPress& operator=(const PartPress&) = delete;

    void SetResult(TransferResult result) { m_result = result; }

private:
    CSplitJoinDlg& m_dlg;
    int m_row;
    TransferResult m_result = kTransferFailed;
};

CSplitJoinDlg::CSplitJoinDlg(CDialog* parent)
    : CDialog(kMainDialogTemplate, parent), m_hIcon(LoadIconResource(kAppIcon)) {}

void CSplitJoinDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CSplitJoinDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddAboutItem();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    // No radio button is checked yet, so this starts in split mode.
    OnModeJoin();
    ShowWholePieceNames();
    NameFieldsForAssistiveTechnologies();
    // The framework puts the focus on the first visible, enabled tab stop.
    return TRUE;
}

void CSplitJoinDlg::AddAboutItem() {
    CMenu* menu = GetSystemMenu(FALSE);
    if (menu == nullptr) {
        return;
    }
    const CString text = LoadStringResource(kStringTable, IDS_ABOUT_MENU);
    if (text.IsEmpty()) {
        return;
    }
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, IDM_ABOUT, text);
}

void CSplitJoinDlg::OnSysCommand(unsigned nID, std::intptr_t lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUT) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(nID, lParam);
}

void CSplitJoinDlg::OnUsage() {
    CString overview;
    overview.Format(UsageOverviewText);
    ShowMessageBox(GetSafeHwnd(), overview, UsageTitle, MB_OK | MB_ICONINFORMATION);
    CString cautions;
    cautions.Format(UsageCautionsText);
    ShowMessageBox(GetSafeHwnd(), cautions, UsageTitle, MB_OK | MB_ICONINFORMATION);
}

void CSplitJoinDlg::ShowHelp() {
    OnUsage();
}

void CSplitJoinDlg::NameFieldsForAssistiveTechnologies() {
    // A reader says the group boxes' captions as they are shown, on one line.
    SetDlgItemAccessibleName(IDC_SOURCE_PATH, CaptionOnOneLine(GetDlgItemText(IDC_SOURCE_GROUP)));
    SetDlgItemAccessibleName(IDC_DEST_FOLDER, CaptionOnOneLine(GetDlgItemText(IDC_DEST_GROUP)));
    // The row fields take their labels' texts with each mode, and the row
    // buttons them as their descriptions (ApplyMode).
}

void CSplitJoinDlg::ShowWholePieceNames() {
    // The user must read the piece names exactly, but the dialog font's Latin
    // letters are wider than the ones the layout was drawn for, so "temp001"
    // would lose its last digit. The names grow to their text, into the gap
    // before the row buttons; nothing else moves.
    for (int row = 1; row <= kPieceCount; ++row) {
        FitDlgItemToText(IDC_PIECE_NAME_1 + row - 1);
    }
}

void CSplitJoinDlg::OnOK() {
    CDialog::OnOK();
}

void CSplitJoinDlg::ApplyMode(int join) {
    CheckDlgButton(IDC_MODE_SPLIT, 1 - join);
    CheckDlgButton(IDC_MODE_JOIN, join);

    const BOOL split = join == 0 ? TRUE : FALSE;
    EnableDlgItem(IDC_SOURCE_GROUP, split);
    EnableDlgItem(IDC_SOURCE_PATH, split);

    const BOOL joining = join == 1 ? TRUE : FALSE;
    EnableDlgItem(IDC_DEST_GROUP, joining);
    EnableDlgItem(IDC_DEST_FOLDER, joining);
    EnableDlgItem(IDC_DEST_NAME, joining);
    EnableDlgItem(IDC_DEST_NOTE, joining);

    for (int row = 1; row <= kPieceCount; ++row) {
        SetDlgItemText(IDC_ROW_BUTTON_1 + row - 1, join == 0 ? u"分割開始" : u"結合開始");
        CString label;
        label.Format(join == 0 ? u"分割ファイル%dつ目" : u"結合するファイル%dつ目", row);
        SetDlgItemText(IDC_ROW_LABEL_1 + row - 1, label);
        SetDlgItemAccessibleName(FolderFieldOfRow(row), label);
        // The ten buttons share their caption; a reader tells them apart by
        // their row. The caption stays the name, so its changes are heard.
        SetDlgItemAccessibleDescription(IDC_ROW_BUTTON_1 + row - 1, label);
    }
}

void CSplitJoinDlg::OnModeSplit() {
    if (IsDlgButtonChecked(IDC_MODE_SPLIT) == 1) {
        ApplyMode(0);
    } else {
        ApplyMode(1);
    }
}

void CSplitJoinDlg::OnModeJoin() {
    if (IsDlgButtonChecked(IDC_MODE_JOIN) == 0) {
        ApplyMode(0);
    } else {
        ApplyMode(1);
    }
}

void CSplitJoinDlg::OnPartButton(unsigned id) {
    RunPart(static_cast<int>(id) - IDC_ROW_BUTTON_1 + 1);
}

void CSplitJoinDlg::RunPart(int row) {
    // The mode is read at every press: a switch during a copy applies to the
    // next press, never to the running one.
    if (IsDlgButtonChecked(IDC_MODE_SPLIT) == BST_CHECKED) {
        RunSplitPart(row);
    } else {
        RunJoinPart(row);
    }
}

void CSplitJoinDlg::RunSplitPart(int row) {
    PartPress press(*this, row);
    press.SetResult(SplitPiece(*this, row));
}

void CSplitJoinDlg::RunJoinPart(int row) {
    PartPress press(*this, row);
    press.SetResult(JoinPiece(*this, row));
}

void CSplitJoinDlg::EnablePartButtons(int row) {
    for (int each = 1; each <= kPieceCount; ++each) {
        EnableDlgItem(IDC_ROW_BUTTON_1 + each - 1, row == 0 ? TRUE : FALSE);
    }
    if (row != 0) {
        EnableDlgItem(IDC_ROW_BUTTON_1 + row - 1, TRUE);
    }
}

void CSplitJoinDlg::OnClose() {
    if (TransferState == kTransferRunning) {
        TransferState = kTransferCancelRequested;
    }
    CDialog::OnClose();
}

void CSplitJoinDlg::OnDestroy() {
    CDialog::OnDestroy();
    if (TransferState == kTransferRunning) {
        TransferState = kTransferCancelRequested;
    }
}

CString CSplitJoinDlg::GetFieldText(int controlId) {
    return GetDlgItemText(controlId);
}

void CSplitJoinDlg::SetStatusText(const CString& text) {
    SetDlgItemText(IDC_STATUS, text);
}

void CSplitJoinDlg::ShowError(const CString& text) {
    ShowMessageBox(GetSafeHwnd(), text, u"TSKエラー", MB_OK | MB_ICONSTOP);
}

void CSplitJoinDlg::PumpMessages() {
    const PumpGuardScope guard;
    if (!guard.entered()) {
        return;
    }
    PumpWaitingMessages();
}
