// The main dialog with a window onto the copy's pump, for tests that act in
// the middle of a transfer.
#pragma once

#include <functional>

#include "ui/main_dialog.h"

// The main dialog with a window onto its pump: `onPump` runs at the start of
// every pump of a copy, with the pump's number (0 for the first).
class ObservedDialog : public CSplitJoinDlg {
public:
    void PumpMessages() override {
        if (onPump) {
            onPump(m_pumps);
        }
        ++m_pumps;
        CSplitJoinDlg::PumpMessages();
    }
    std::function<void(int)> onPump;

private:
    int m_pumps = 0;
};

// The part button of row `row` (1..10).
inline int RowButton(int row) {
    return IDC_ROW_BUTTON_1 + row - 1;
}
