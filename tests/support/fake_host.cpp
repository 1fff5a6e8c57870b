#include "tests/support/fake_host.h"

CString FakeHost::GetFieldText(int controlId) {
    fieldReads.push_back(controlId);
    auto it = fields.find(controlId);
    return it == fields.end() ? CString() : it->second;
}

void FakeHost::SetStatusText(const CString& text) {
    statusLines.push_back(text);
}

void FakeHost::ShowError(const CString& text) {
    errors.push_back(text);
}

void FakeHost::PumpMessages() {
    const PumpGuardScope scope;
    if (!scope.entered()) {
        ++nestedPumps;
        return;
    }
    ++pumps;
    auto it = pumpActions.find(pumps);
    if (it != pumpActions.end()) {
        it->second();
    }
}
