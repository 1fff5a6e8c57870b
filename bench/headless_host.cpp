#include "bench/headless_host.h"

#include "bench/interrupt_flag.h"

CString HeadlessHost::GetFieldText(int controlId) {
    const auto it = m_fields.find(controlId);
    return it == m_fields.end() ? CString() : it->second;
}

void HeadlessHost::SetStatusText(const CString& text) {
    // Only the last line matters ("100%" on completion); keeping all of them
    // would grow with the file and show up in the memory figure.
    m_lastStatusLine = text;
    ++m_statusLineCount;
}

void HeadlessHost::ShowError(const CString& text) {
    m_errors.push_back(text);
}

void HeadlessHost::PumpMessages() {
    const PumpGuardScope scope;
    if (!scope.entered()) {
        return;
    }
    ++m_pumpCount;
    if (InterruptFlag::Raised() && TransferState == kTransferRunning) {
        TransferState = kTransferCancelRequested;
    }
}

void HeadlessHost::BeginCall() {
    m_lastStatusLine.Empty();
    m_statusLineCount = 0;
    m_errors.clear();
}
