// What kind of control a child window of a dialog is, by its window class and
// style, for the handling the framework adds to some kinds.
#pragma once

#include "platform/win_types.h"

enum class ControlKind { editField, groupBox, other };

// `other` for null, for windows of any other class, and for buttons that are
// not group boxes.
ControlKind KindOf(HWND control);
