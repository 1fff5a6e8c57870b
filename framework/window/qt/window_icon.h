// The one icon of a Qt window from a dialog's big and small icons.
#pragma once

#include <QIcon>

#include "framework/window/window_handle.h"

// Qt keeps every size in one icon: the big icon's 32 x 32 image and the small
// icon's 16 x 16 image; when one of them is missing (null), every image of
// the other.
QIcon CombineWindowIcons(HICON bigIcon, HICON smallIcon);
