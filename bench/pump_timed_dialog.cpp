#include "bench/pump_timed_dialog.h"

#include <QAbstractButton>
#include <QMetaObject>
#include <QWidget>

#include "bench/interrupt_flag.h"

void PumpTimedDialog::BeginPress() {
    m_lastPump = Clock::now();
    m_pumpsInPress = 0;
    m_secondPressStart.reset();
    m_secondPressEnd.reset();
    m_captionAfterSecondPress = CString();
}

void PumpTimedDialog::EndPress() {
    if (m_lastPump) {
        const auto stretch = Clock::now() - *m_lastPump;
        m_intervals.Add(stretch);
        if (m_lastOfPress != nullptr) {
            m_lastOfPress->Add(stretch);
        }
    }
    m_lastPump.reset();
    m_secondPressPump = 0;
}

void PumpTimedDialog::PressAgainAtPump(int pump, int buttonId) {
    m_secondPressPump = pump;
    m_secondPressButton = buttonId;
}

void PumpTimedDialog::PostSecondPress() {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(m_secondPressButton));
    if (button == nullptr) {
        return;
    }
    // Queued, so the pump's own event handling runs it, as it would a click.
    QMetaObject::invokeMethod(
        button,
        [this, button] {
            m_secondPressStart = Clock::now();
            button->click();
            m_secondPressEnd = Clock::now();
            m_captionAfterSecondPress = GetDlgItemText(m_secondPressButton);
        },
        Qt::QueuedConnection);
}

void PumpTimedDialog::PumpMessages() {
    const auto now = Clock::now();
    if (m_lastPump) {
        m_intervals.Add(now - *m_lastPump);
    }
    m_lastPump = now;
    if (++m_pumpsInPress == m_secondPressPump) {
        PostSecondPress();
    }
    if (InterruptFlag::Raised() && TransferState == kTransferRunning && GetSafeHwnd() != nullptr) {
        // What a user's close request does: the copy stops after this chunk.
        GetSafeHwnd()->close();
    }
    CSplitJoinDlg::PumpMessages();
}
