// Which window a new modal window (a dialog or a message box) belongs to, the
// one rule for both window systems: while a modal window is open, whatever
// opens over it belongs to it (F1 inside the About box: the usage boxes are
// the About box's), so the window beneath stays blocked; otherwise the window
// asked for, or the application's main window when none was.
#pragma once

#include "framework/window/window_handle.h"

class CWnd;

// The owner of a modal window about to open: the active modal window when
// one is open, else `requested`, else the application's main window unless
// that is `opening` itself (the dialog about to open; null for a box). Null
// when there is none of these.
HWND ChooseOwnerWindow(HWND requested, const CWnd* opening = nullptr);

// Each port's (its owner_window.cpp):

// The modal window the user works in now: the one whose modal loop is the
// innermost running (a dialog, or a box the system shows); null when none is
// open or the program's windows are not the active ones.
HWND ActiveModalWindow();
