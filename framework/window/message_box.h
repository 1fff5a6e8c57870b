// Message boxes: every box of the program goes through ShowMessageBox. Tests
// install a hook that records each box and answers it instead of showing it.
#pragma once

#include <functional>

#include "framework/core/string.h"

class QWidget;

// Buttons (low four bits of the style).
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_TYPEMASK = 0xF;
// Icons.
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_ICONMASK = 0xF0;
// Modality.
inline constexpr unsigned MB_SYSTEMMODAL = 0x1000;

// Answers.
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// One box as it was asked for.
struct MessageBoxCall {
    QWidget* owner;  // the window the box is modal to; may be null
    CString text;
    CString title;
    unsigned style;
    unsigned icon() const { return style & MB_ICONMASK; }
    unsigned buttons() const { return style & MB_TYPEMASK; }
};

// Shows a modal box (or hands it to the hook) and returns the answer: IDOK,
// IDCANCEL, IDYES or IDNO. Texts are shown exactly; CR LF ends a line.
int ShowMessageBox(QWidget* owner, const CString& text, const CString& title, unsigned style);

// Replaces every box by a call of `hook`, whose result is the answer; an empty
// hook shows boxes again. Returns the hook that was installed before.
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
