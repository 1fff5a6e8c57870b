// Icons of the program's resources as the platform's icon handle: with Qt an
// icon that holds both images, on Windows the system's icon of the program's
// icon resource.
#pragma once

#include "framework/core/dialog_template.h"
#include "framework/window/window_handle.h"

#ifndef _WIN32
#include <QIcon>
using HICON = QIcon;
#endif

// Both images of `resource` (32 x 32 and 16 x 16) as one icon; an empty
// (null) icon when the resource cannot be loaded. With Qt, needs its GUI to be
// initialised (AfxWinInit).
HICON LoadIconResource(const IconResource& resource);
