// What a control shows and what the program gave it, where the two differ: a
// group box shows its caption on one line (framework/window/control_text.h;
// the system would draw CR and LF as glyphs), as on Linux, while the program
// gets back exactly the text it gave. The exact text is owned by the box and goes with
// it.
#pragma once

#include "framework/core/string.h"
#include "platform/win_types.h"

// From now on, for the box's life, `groupBox` shows each text it is given
// (its current one, the template's, included) on one line and keeps the text
// exactly. Throws CMemoryException when the system could not install it; a
// second call does nothing.
void KeepExactCaption(HWND groupBox);

// The text the program gave `control`: exactly, for a box that keeps its
// caption; the window's text for any other control; empty for null.
CString ControlText(HWND control);
