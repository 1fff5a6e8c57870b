// Which window a new modal window (a dialog or a message box) belongs to, the
// one rule for both window systems: while a modal window is open, whatever
// opens over it belongs to it (F1 inside the About box: the usage boxes are
// the About box's), so the window beneath stays blocked; otherwise the window
// asked for, or the application's main window when none was.
#pragma once

#include "framework/window/window_handle.h"

class CDialog;

// The owner of a modal window about to open: the active modal window when
// one is open, else `requested`, else the application's main window unless
// that is `opening` itself (the dialog about to open; null for a box). Null
// when there is none of these.
HWND ChooseOwnerWindow(HWND requested, const CDialog* opening = nullptr);
