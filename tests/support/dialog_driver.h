// Drives a real dialog from a test as a user would: the test's steps run
// inside the dialog's own modal loop, message boxes are recorded and answered
// instead of shown, and controls are clicked, keyed and typed into by id.
#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
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

// Clicks control `id` of `dlg` with the left mouse button.
inline void ClickControl(CDialog& dlg, int id) {
    QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton);
}

// Presses and releases `key` on the control that has the focus, or on the
// window when no control has it.
inline void PressKey(CDialog& dlg, Qt::Key key) {
    QWidget* focused = dlg.GetSafeHwnd()->focusWidget();
    QTest::keyClick(focused != nullptr ? focused : dlg.GetSafeHwnd(), key);
}

// Moves the focus to field `id` and types `text` into it as a user does:
// ASCII on the keyboard, other characters committed by the input method (as
// Japanese text is entered).
inline void TypeInto(CDialog& dlg, int id, const QString& text) {
    dlg.GotoDlgCtrl(id);
    QWidget* field = dlg.GetDlgItem(id);
    QString pending;
    auto commit = [&] {
        if (!pending.isEmpty()) {
            QInputMethodEvent event;
            event.setCommitString(pending);
            QApplication::sendEvent(field, &event);
            pending.clear();
        }
    };
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            commit();
            QTest::keyClicks(field, QString(ch));
        } else {
            pending += ch;
        }
    }
    commit();
}

// Presses `key` (Tab unless given) `count` times; the ids that took the
// focus, in order.
inline std::vector<int> TabWalk(CDialog& dlg, int count, Qt::Key key = Qt::Key_Tab) {
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) {
        PressKey(dlg, key);
        ids.push_back(dlg.GetFocusedDlgItem());
    }
    return ids;
}

// Puts `input` at the end of the event queue, as a user's click or key
// waits there until the window's loop or the copy's pump takes it.
inline void PostInput(std::function<void()> input) {
    QMetaObject::invokeMethod(qApp, std::move(input), Qt::QueuedConnection);
}

// Runs the dialog modally with `steps`, each taken from the event queue
// after everything the one before it queued; DoModal's result.
inline std::intptr_t RunModalSteps(CDialog& dlg, std::vector<std::function<void()>> steps) {
    auto next = std::make_shared<std::function<void(std::size_t)>>();
    *next = [&dlg, steps, next](std::size_t i) {
        if (i == steps.size()) {
            if (dlg.GetSafeHwnd() != nullptr && dlg.GetSafeHwnd()->isVisible()) {
                dlg.EndDialog(kNotEndedByTest);
            }
            return;
        }
        steps[i]();
        PostInput([next, i] {
            if (*next) {  // the dialog may have ended meanwhile
                (*next)(i + 1);
            }
        });
    };
    PostInput([next] { (*next)(0); });
    const std::intptr_t result = dlg.DoModal();
    *next = nullptr;  // no step outlives the run; breaks the runner's cycle
    return result;
}
