// Icons of the program's resources as the platform's icon handle.
#pragma once

#include "framework/core/dialog_template.h"
#include "framework/window/window_handle.h"

// Each port's (its icon.cpp):

// Both images of `resource` (32 x 32 and 16 x 16) as one icon; null when the
// resource cannot be loaded. The icon is shared: the window system keeps one
// per resource for as long as the application runs (with Qt, as long as the
// application object), and nothing of the caller owns it. With Qt, needs its
// GUI to be initialised (AfxWinInit).
HICON LoadIconResource(const IconResource& resource);
