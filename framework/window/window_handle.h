// The handles of the window part: HWND names a dialog's window or one of its
// controls, HMENU a window menu, HICON an icon. On Windows they are the
// system's own handles. With Qt a window or control is its widget and an icon
// the port's QIcon, each only declared here, so a shared header holds a
// pointer to them and never the object; a dialog keeps its window menu itself
// (CMenu), so HMENU stays null there.
#pragma once

#include "platform/win_types.h"

#ifndef _WIN32
class QIcon;
class QWidget;
using HWND = QWidget*;
using HMENU = void*;
using HICON = const QIcon*;
#endif
