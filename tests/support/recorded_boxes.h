// Records the message boxes a test provokes instead of showing them, on any
// window system: every box goes through the framework's box hook.
#pragma once

#include <functional>
#include <vector>

#include "framework/window/message_box.h"
#include "tests/support/cstring_printer.h"

// Records every message box and answers it with IDOK, for the life of the
// object. `onBox` runs where each box would be shown, inside the code that
// asked for it (a press that reports a failure is still running).
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
