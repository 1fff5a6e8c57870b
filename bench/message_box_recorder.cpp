#include "bench/message_box_recorder.h"

#include <utility>

#include "framework/core/dialog_template.h"

MessageBoxRecorder::MessageBoxRecorder() {
    m_previous = SetMessageBoxHook([this](const MessageBoxCall& call) {
        m_boxes.push_back(call);
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxHook(std::move(m_previous));
}

std::vector<MessageBoxCall> MessageBoxRecorder::Take() {
    return std::exchange(m_boxes, {});
}
