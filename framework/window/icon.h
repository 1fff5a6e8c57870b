// Icons of the program's resources, as the window toolkit's icons.
#pragma once

#include <QIcon>

#include "framework/core/dialog_template.h"

// The platform's icon handle: Qt's icon with both images of the resource.
using HICON = QIcon;

// Both images of `resource` (32 x 32 and 16 x 16) as one icon. Needs Qt's GUI
// to be initialised (AfxWinInit).
HICON LoadIconResource(const IconResource& resource);

// The one icon of a window, as Qt keeps every size in one icon: the big
// icon's 32 x 32 image and the small icon's 16 x 16 image; when one of them
// is missing, every image of the other.
HICON CombineWindowIcons(const HICON& bigIcon, const HICON& smallIcon);
