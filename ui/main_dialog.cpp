#include "ui/main_dialog.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QWidget>

#include "engine/piece_layout.h"
#include "framework/window/message_box.h"
#include "resources/resources.h"

IMPLEMENT_DYNAMIC(CSplitJoinDlg, CDialog)

// The dialog's message map. The system-command, paint and drag-icon entries,
// the part buttons, the close and destroy hooks and the usage button come
// with the presses, the usage texts and the About box.
BEGIN_MESSAGE_MAP(CSplitJoinDlg, CDialog)
ON_BN_CLICKED(IDC_MODE_SPLIT, OnModeSplit)
ON_BN_CLICKED(IDC_MODE_JOIN, OnModeJoin)
END_MESSAGE_MAP()

CSplitJoinDlg::CSplitJoinDlg(CDialog* parent)
    : CDialog(kMainDialogTemplate, parent), m_hIcon(LoadIconResource(kAppIcon)) {}

void CSplitJoinDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

BOOL CSplitJoinDlg::OnInitDialog() {
    // 1. The base class's initialisation.
    CDialog::OnInitDialog();
    // 2. The About item of the window menu comes with the About box.
    // 3. Big and small icon.
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    // 4. No radio button is checked yet, so this applies split mode.
    OnModeJoin();
    ShowWholePieceNames();
    // 5. The framework puts the focus on the first visible, enabled tab stop.
    return TRUE;
}

void CSplitJoinDlg::ShowWholePieceNames() {
    // The user must read the piece names exactly, but the dialog font's Latin
    // letters are wider than the ones the layout was drawn for, so "temp001"
    // would lose its last digit. The names grow to their text, into the gap
    // before the row buttons; nothing else moves.
    for (int n = 1; n <= kPieceCount; ++n) {
        QWidget* name = GetDlgItem(IDC_PIECE_NAME_1 + n - 1);
        const int needed = QFontMetrics(name->font())
                               .horizontalAdvance(QString::fromUtf16(
                                   GetDlgItemText(IDC_PIECE_NAME_1 + n - 1).GetString())) +
                           1;
        if (needed > name->width()) {
            name->resize(needed, name->height());
        }
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

    for (int n = 1; n <= kPieceCount; ++n) {
        SetDlgItemText(IDC_ROW_BUTTON_1 + n - 1, join == 0 ? u"分割開始" : u"結合開始");
        CString label;
        label.Format(join == 0 ? u"分割ファイル%dつ目" : u"結合するファイル%dつ目", n);
        SetDlgItemText(IDC_ROW_LABEL_1 + n - 1, label);
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
    QCoreApplication::processEvents();
}
