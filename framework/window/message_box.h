// Message boxes: every box of the program goes through ShowMessageBox. Tests
// install a hook that records each box and answers it instead of showing it.
#pragma once

#include <functional>

#include "framework/core/message_box_style.h"
#include "framework/core/string.h"
#include "framework/window/window_handle.h"

#ifndef _WIN32
// Answers (the system's own names on Windows).
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
#endif

// One box as it was asked for.
struct MessageBoxCall {
    HWND owner;  // the window the box is modal to; may be null
    CString text;
    CString title;
    unsigned style;
    unsigned icon() const { return style & MB_ICONMASK; }
    unsigned buttons() const { return style & MB_TYPEMASK; }
};

// Shows a modal box (or hands it to the hook) and returns the answer: IDOK,
// IDCANCEL, IDYES or IDNO. Texts are shown exactly; CR LF ends a line. The
// box belongs to the window ChooseOwnerWindow (owner_window.h) picks for
// `owner`: the active modal window, when one is open.
int ShowMessageBox(HWND owner, const CString& text, const CString& title, unsigned style);

// Replaces every box by a call of `hook`, whose result is the answer; an empty
// hook shows boxes again. Returns the hook that was installed before.
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// Each port's (its message_box.cpp):

// The system's own message box, behind ShowMessageBox when no hook is
// installed: modal, owned by `owner` (already chosen by the owner rule);
// returns the answer (IDOK, IDCANCEL, IDYES or IDNO). Texts are shown
// exactly; CR LF ends a line.
int ShowSystemMessageBox(HWND owner, const CString& text, const CString& title, unsigned style);
