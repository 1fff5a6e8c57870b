// What each window system's port (qt/, win32/) gives the shared part of the
// framework, beside CDialog's and CWinApp's own members: the few things the
// shared rules ask of the system itself.
#pragma once

#include "framework/window/window_handle.h"

// The modal window the user works in now: the one whose modal loop is the
// innermost running (a dialog, or a box the system shows); null when none is
// open or the program's windows are not the active ones.
HWND ActiveModalWindow();
