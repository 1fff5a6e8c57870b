// The Qt-only part of driving a real dialog from a test: a run whose test
// code calls the widgets directly (clicks, keys and typing sent at once, not
// queued), for tests of what only Qt has. The queued input every window
// system has is in window_driver.h, which this header brings in.
#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "framework/window/dialog.h"
#include "tests/support/cstring_printer.h"
#include "tests/support/recorded_boxes.h"
#include "tests/support/window_driver.h"

// Runs `steps` once the modal loop of `dlg` is running (one step of
// RunModalSteps), then DoModal's result.
inline std::intptr_t RunModal(CDialog& dlg, const std::function<void()>& steps) {
    return RunModalSteps(dlg, {steps});
}

// Clicks control `id` of `dlg` with the left mouse button, at once.
inline void ClickControl(CDialog& dlg, int id) {
    QTest::mouseClick(dlg.GetDlgItem(id), Qt::LeftButton);
}

// Presses and releases `key` at once on the control that has the focus, or
// on the window when no control has it.
inline void PressKey(CDialog& dlg, Qt::Key key) {
    QWidget* focused = dlg.GetSafeHwnd()->focusWidget();
    QTest::keyClick(focused != nullptr ? focused : dlg.GetSafeHwnd(), key);
}

// Sends `text` to `field` at once as a user types it: ASCII on the keyboard,
// other characters committed by the input method (as Japanese text is
// entered). The queued TypeInto of window_driver.h sends the same events.
void TypeText(QWidget* field, const QString& text);

// Moves the focus to field `id` and types `text` into it, at once.
inline void TypeInto(CDialog& dlg, int id, const QString& text) {
    dlg.GotoDlgCtrl(id);
    TypeText(dlg.GetDlgItem(id), text);
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
    Post(std::move(input));
}
