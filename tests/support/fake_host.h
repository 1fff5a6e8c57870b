// A TransferHost for engine tests: serves field texts, records every status
// line and error box, and can run an action at the n-th pump.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "engine/transfer.h"

class FakeHost : public TransferHost {
public:
    CString GetFieldText(int controlId) override;
    void SetStatusText(const CString& text) override;
    void ShowError(const CString& text) override;
    void PumpMessages() override;

    void SetField(int controlId, const CString& text) { fields[controlId] = text; }
    // Runs `action` inside the n-th pump (1-based) of this host, as a window
    // handler would run inside the real pump.
    void AtPump(int n, std::function<void()> action) { pumpActions[n] = std::move(action); }

    std::map<int, CString> fields;
    std::vector<CString> statusLines;
    std::vector<CString> errors;
    std::vector<int> fieldReads;
    int pumps = 0;        // pumps that were entered
    int nestedPumps = 0;  // pumps refused because one was already running
    std::map<int, std::function<void()>> pumpActions;
};
