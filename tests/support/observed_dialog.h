// The main dialog with windows onto a press for tests on any window system:
// a call at every pump of a copy, and one as the window is destroyed, when
// what it showed last can still be read.
#pragma once

#include <functional>

#include "ui/main_dialog.h"

class ObservedDialog : public CSplitJoinDlg {
public:
    // Runs at the start of every pump of a copy, with the pump's number (0
    // for the first), before the pump takes anything from the queue.
    std::function<void(int)> onPump;
    // Runs as the window is destroyed, before the dialog's own handling.
    std::function<void()> onDestroy;

    void PumpMessages() override;

protected:
    void OnDestroy();

private:
    int m_pumps = 0;

    DECLARE_MESSAGE_MAP()
};

// The part button of row `row` (1..10).
inline int RowButton(int row) {
    return IDC_ROW_BUTTON_1 + row - 1;
}
