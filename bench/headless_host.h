// The engine's window services without a window: fields come from a map, the
// status line and error boxes are kept for the caller to check, and the pump
// has no events to handle except an interrupt, which it turns into the same
// cancel request a closing window makes.
#pragma once

#include <map>
#include <vector>

#include "engine/transfer.h"

class HeadlessHost : public TransferHost {
public:
    CString GetFieldText(int controlId) override;
    void SetStatusText(const CString& text) override;
    void ShowError(const CString& text) override;
    void PumpMessages() override;

    void SetField(int controlId, const CString& text) { m_fields[controlId] = text; }
    // Forgets what the previous engine call left behind.
    void BeginCall();

    const CString& lastStatusLine() const { return m_lastStatusLine; }
    long long statusLineCount() const { return m_statusLineCount; }
    const std::vector<CString>& errors() const { return m_errors; }
    long long pumpCount() const { return m_pumpCount; }

private:
    std::map<int, CString> m_fields;
    CString m_lastStatusLine;
    long long m_statusLineCount = 0;
    std::vector<CString> m_errors;
    long long m_pumpCount = 0;
};
