// The handles of the window part: HWND names a dialog's window or one of its
// controls, HMENU a window menu. On Windows they are the system's own handles;
// with Qt a window or control is its widget, and a dialog keeps its window menu
// itself (CMenu), so HMENU stays null there.
#pragma once

#include "platform/win_types.h"

#ifndef _WIN32
class QWidget;
using HWND = QWidget*;
using HMENU = void*;
#endif
