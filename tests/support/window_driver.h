// Drives a real CDialog from a test as a user would, on any window system:
// the test's steps run inside the dialog's own modal loop, and clicks, keys,
// typing, the close box and window-menu commands are queued behind whatever
// is already waiting, so that the dialog's loop or a copy's message pump
// takes them as it takes a user's input.
//
// What the dialog shows is read through CDialog's own API (GetDlgItemText,
// IsDlgItemEnabled, IsDlgButtonChecked, GetFocusedDlgItem, GetWindowText);
// this interface holds only what differs between window systems, and names
// no type of any of them. One implementation per system (qt_window_driver.cpp
// for Qt); the tests that use only this header run on every one.
//
// Contract shared by everything that posts: the call returns at once; the
// input is delivered later by whichever loop takes it from the queue (the
// dialog's modal loop, a nested modal loop, or a copy's pump). Input for a
// control that is disabled or gone when it is delivered does nothing.
//
// The driver knows no test framework: what goes wrong in a run (a control
// to click is missing, no modal window opened, the dialog ended with steps
// left) goes to the failure handler, which the tests bind to GoogleTest
// (window_driver_gtest.h) and the benchmark to an error of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/string.h"
#include "framework/window/dialog.h"

// Takes each failure, in words that say what the driver could not do; it
// is called where the failure happens, inside the dialog's loop or a pump,
// so it must not throw.
using DriverFailureHandler = std::function<void(const std::string& what)>;
// Sets the handler and returns the one before. With none set, a failure is
// printed and the program aborts, so that none goes unseen.
DriverFailureHandler SetDriverFailureHandler(DriverFailureHandler handler);
void ReportDriverFailure(const std::string& what);

// What DoModal returns when the steps did not end the dialog themselves.
inline constexpr int kNotEndedByTest = -99;

// Runs `dlg` modally and `steps` one after the other inside its modal loop;
// returns DoModal's result.
//
// A step is taken from the queue after everything the step before it
// queued, and only when the dialog's own loop is the one taking it: never by
// a copy's pump nor by a modal window opened over the dialog. So a step sees
// the outcome of the press the step before it started. When the steps leave
// the dialog shown, it is ended with kNotEndedByTest; when the dialog ends
// with steps still to run, the test fails.
std::intptr_t RunModalSteps(CDialog& dlg, std::vector<std::function<void()>> steps);

// Queues `action`, to run when a loop takes it (a copy's pump included):
// for observing the dialog at a given point of the queue.
void Post(std::function<void()> action);

// A left click on control `id`, queued.
void PostClick(CDialog& dlg, int id);

enum class Key { enter, escape, tab, shiftTab, space, f1 };
// `key` pressed and released, queued for the control that has the focus now
// (the window when none has).
void PostKey(CDialog& dlg, Key key);

// `key` pressed and released, queued for the control of `window` (a modal
// window a look was given) that has the focus now (the window when none has).
void PostKeyTo(HWND window, Key key);

// The window's close box, queued.
void PostClose(CDialog& dlg);

// The window-menu command `id` (a system command), queued.
void PostSysCommand(CDialog& dlg, unsigned id);

// Queues typing `text` into field `id`: the field takes the focus and ends up
// holding exactly `text` (any script: other than ASCII arrives as an input
// method commits it).
void TypeInto(CDialog& dlg, int id, const CString& text);

// Input as the window system itself hands a user's to the program: through
// the system's own input path (Qt: the window system interface, where the
// platform's events enter; Windows: the system's input queue, SendInput),
// which is where a modal window blocks the windows beneath it. Unlike the
// calls above it is delivered at once, not queued, to whichever window the
// system routes it: the control, or none while a modal window blocks the
// dialog. Another window of the program that covers the spot is moved aside
// first, as a user drags a box away to reach the window beneath.
//
// A left click at the centre of control `id`.
void ClickThroughSystem(CDialog& dlg, int id);
// A click on the close box of the window's title bar (with Qt, the window
// manager's close request).
void CloseThroughSystem(CDialog& dlg);

// What control `id` shows now, as a user reads it (GetDlgItemText gives the
// text the program gave, which a group box's caption shows otherwise).
CString ShownText(const CDialog& dlg, int id);

// The dialog's window exists and is visible (false at once after EndDialog).
bool IsWindowShown(const CDialog& dlg);

// A modal window opened over the dialog under test, as the user sees it.
struct ModalWindowView {
    HWND window;  // for input into it (PostKeyTo) while it is open
    CString title;
    std::vector<CString> texts;  // its static texts that hold text, in template order
};
// How a test closes a modal window: its OK button, Enter or Escape.
enum class ModalClose { okButton, enter, escape };
// Queues a look at the next modal window that opens over `owner`: once one is
// the active window, `look` gets its title and texts, then the window is
// closed as `close` says (that input queued too). The test fails when
// `owner` is closed without a modal window having opened.
void WhenModalOpens(const CDialog& owner, std::function<void(const ModalWindowView&)> look,
                    ModalClose close = ModalClose::okButton);
