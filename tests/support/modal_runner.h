// Helpers for driving a real modal dialog from a test: the test's steps run
// inside the dialog's own modal loop, as a user's input would.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <ostream>
#include <vector>

#include "framework/window/dialog.h"
#include "framework/window/message_box.h"
#include "tests/support/cstring_printer.h"

// What DoModal returns when the steps did not end the dialog themselves.
inline constexpr int kNotEndedByTest = -99;

// Runs `steps` once the modal loop of `dlg` is running, then DoModal's
// result. When the steps leave the dialog open, it is ended with
// kNotEndedByTest.
inline std::intptr_t RunModal(CDialog& dlg, const std::function<void()>& steps) {
    QTimer::singleShot(0, [&dlg, steps] {
        steps();
        if (dlg.GetSafeHwnd() != nullptr && dlg.GetSafeHwnd()->isVisible()) {
            dlg.EndDialog(kNotEndedByTest);
        }
    });
    return dlg.DoModal();
}

// Records every message box and answers it with IDOK, for the life of the
// object.
class RecordedBoxes {
public:
    RecordedBoxes() {
        m_previous = SetMessageBoxHook([this](const MessageBoxCall& call) {
            calls.push_back(call);
            if (onBox) {
                onBox(call);
            }
            return IDOK;
        });
    }
    ~RecordedBoxes() { SetMessageBoxHook(m_previous); }
    RecordedBoxes(const RecordedBoxes&) = delete;
    RecordedBoxes& operator=(const RecordedBoxes&) = delete;

    std::vector<MessageBoxCall> calls;
    std::function<void(const MessageBoxCall&)> onBox;

private:
    MessageBoxHook m_previous;
};
