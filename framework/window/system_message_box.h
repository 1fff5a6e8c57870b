// The platform's own message box, behind ShowMessageBox (message_box.h), which
// hands every box to the test hook instead when one is installed.
#pragma once

#include "framework/core/string.h"
#include "framework/window/window_handle.h"

// Shows a modal box owned by `owner` and returns the answer (IDOK, IDCANCEL,
// IDYES or IDNO). Texts are shown exactly; CR LF ends a line.
int ShowSystemMessageBox(HWND owner, const CString& text, const CString& title, unsigned style);
