// What a dialog's control keeps on its widget: its id, and its text exactly
// as the program gave it. A caption may show its text otherwise (CR LF as Qt's
// line end, a group box's caption on one line: framework/window/control_text.h);
// GetDlgItemText still gives back the text it was given.
#pragma once

#include "framework/core/string.h"

class QWidget;

void SetControlId(QWidget* control, int id);
// The id given to `control`; 0 for a widget that has none.
int ControlId(const QWidget* control);

// Shows `text` in `control` and keeps it exactly.
void SetControlText(QWidget* control, const CString& text);
// An edit field's current text; for any other control the text it was given
// last (empty when none).
CString ControlText(const QWidget* control);
