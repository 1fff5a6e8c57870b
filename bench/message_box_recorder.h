// While the object lives, every message box of the window is recorded and
// answered with OK instead of being shown: in the benchmark a box means a
// press went wrong, and nobody is there to close it.
#pragma once

#include <vector>

#include "framework/window/message_box.h"

class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // The boxes asked for since the last call.
    std::vector<MessageBoxCall> Take();

private:
    std::vector<MessageBoxCall> m_boxes;
    MessageBoxHook m_previous;
};
