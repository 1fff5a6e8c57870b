#include "bench/pump_timed_dialog.h"

#include <QWidget>

#include "bench/interrupt_flag.h"

void PumpTimedDialog::PumpMessages() {
    const auto now = std::chrono::steady_clock::now();
    if (m_lastPump) {
        m_intervals.Add(now - *m_lastPump);
    }
    m_lastPump = now;
    if (InterruptFlag::Raised() && TransferState == kTransferRunning && GetSafeHwnd() != nullptr) {
        // What a user's close request does: the copy stops after this chunk.
        GetSafeHwnd()->close();
    }
    CSplitJoinDlg::PumpMessages();
}
