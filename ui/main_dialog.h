// CSplitJoinDlg: the program's only window, built from IDD_MAIN.
// It holds the source path, ten rows (folder, label, piece name, part
// button), the join destination, the status line, the two mode radio
// buttons, the usage button and the exit button. The mode is not stored: it
// is split when IDC_MODE_SPLIT is checked, join otherwise.
//
// Each press of a part button splits or joins the piece of its row, by the
// mode of the moment; the button's caption is the only report of how the
// press ended ("処理中" while it runs, then "完了" or "失敗"). While a piece
// is copied only the busy row's button can be pressed, and a second press of
// it cancels the copy; a close request cancels it too, while Exit, Escape and
// Enter let the piece finish out of sight before the dialog ends.
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

    // F1's help: the usage texts.
    void ShowHelp() override;

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

    // Window-menu commands: ids 16 to 31 open the About box, every other one
    // gets the default handling (so close reaches OnClose).
    void OnSysCommand(unsigned nID, std::intptr_t lParam);
    // Appends a separator and the About item to the window menu, unless the
    // menu or the item's text is missing.
    void AddAboutItem();
    // The usage button: the overview box, then, once it is closed, the
    // cautions box; both owned by this dialog.
    void OnUsage();
    // Gives the source and destination fields their labels' texts as the
    // names assistive technologies read.
    void NameFieldsForAssistiveTechnologies();

    // A click on the part button `id` (IDC_ROW_BUTTON_1 .. IDC_ROW_BUTTON_10).
    void OnPartButton(unsigned id);
    // Splits or joins the piece of row `row` (1..10), by the mode radio button.
    void RunPart(int row);
    void RunSplitPart(int row);
    void RunJoinPart(int row);
    // 0 enables all ten part buttons; a row (1..10) disables all but its own.
    void EnablePartButtons(int row);
    // The close request stops a running copy after its current chunk, then
    // ends the dialog as Exit does.
    void OnClose();
    // A window destroyed under a running copy stops it after its chunk.
    void OnDestroy();

    HICON m_hIcon;

private:
    class PartPress;

    DECLARE_MESSAGE_MAP()
};
