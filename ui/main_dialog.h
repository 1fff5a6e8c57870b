// CSplitJoinDlg: the program's only window, built from IDD_MAIN.
// It holds the source path, ten rows (folder, label, piece name, part
// button), the join destination, the status line, the two mode radio
// buttons, the usage button and the exit button. The mode is not stored: it
// is split when IDC_MODE_SPLIT is checked, join otherwise.
//
// It is the engine's TransferHost: field texts as typed, the
// status line, the "TSKエラー" box and the message pump.
#pragma once

#include "engine/transfer.h"
#include "framework/window/dialog.h"
#include "resources/resource.h"

class CSplitJoinDlg : public CDialog, public TransferHost {
    DECLARE_DYNAMIC(CSplitJoinDlg)
public:
    enum { IDD = IDD_MAIN };

    // Sets up the dialog with IDD_MAIN and loads the icon IDI_APP.
    explicit CSplitJoinDlg(CDialog* parent = nullptr);

    // TransferHost.
    // The text of the edit field `controlId`, exactly as typed.
    CString GetFieldText(int controlId) override;
    // Replaces the status line IDC_STATUS, unconditionally.
    void SetStatusText(const CString& text) override;
    // A modal box owned by this dialog: the text, title "TSKエラー", stop icon,
    // one OK button; the answer is ignored.
    void ShowError(const CString& text) override;
    // Handles every pending window event once and returns; never waits; does
    // nothing when already inside this call (PumpGuard).
    void PumpMessages() override;

    // The mode rule: split when IDC_MODE_SPLIT is checked, join otherwise.
    bool IsSplitMode() const { return IsDlgButtonChecked(IDC_MODE_SPLIT) == BST_CHECKED; }

    // The window icon (IDI_APP).
    const HICON& GetWindowIcon() const { return m_hIcon; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // Applies split mode (join 0) or join mode (join 1): check states, the
    // enabled states of the source and destination controls, and the ten
    // part-button captions and row labels.
    void ApplyMode(int join);
    void OnModeSplit();
    void OnModeJoin();
    // Widens the piece-name labels that their text would overflow.
    void ShowWholePieceNames();

    HICON m_hIcon;

    DECLARE_MESSAGE_MAP()
};
