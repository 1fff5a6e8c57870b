#include "tests/support/observed_dialog.h"

// clang-format off
BEGIN_MESSAGE_MAP(ObservedDialog, CSplitJoinDlg)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

void ObservedDialog::PumpMessages() {
    if (onPump) {
        onPump(m_pumps);
    }
    ++m_pumps;
    CSplitJoinDlg::PumpMessages();
}

void ObservedDialog::OnDestroy() {
    if (onDestroy) {
        onDestroy();
    }
    CSplitJoinDlg::OnDestroy();
}
