// Where a dialog is shown: centred over its owner, or on the work area of its
// monitor when it has no owner that can be seen, and kept inside that work
// area either way (as Qt places a dialog on Linux).
#pragma once

#include "platform/win_types.h"

// Moves `window` (not resizing it) centred over `owner` (may be null).
void CenterWindow(HWND window, HWND owner);
