// The names assistive technologies read for a dialog's controls, given through
// the accessibility runtime's property services (dynamic annotation). Without
// them a screen reader names a field by the label before it in the template,
// which for the ten row fields (their labels come after them) is the wrong
// text. Needs COM on the thread (AfxWinInit starts it). A system whose
// runtime takes no names keeps its own naming.
#pragma once

#include "framework/core/string.h"
#include "platform/win_types.h"

// Gives `control` the name `name`; false when the runtime took none.
bool SetAccessibleName(HWND control, const CString& name);

// Gives `control` the description `description`, which a reader says after
// its name and role; false when the runtime took none.
bool SetAccessibleDescription(HWND control, const CString& description);

// Takes back the names and descriptions given to the controls of `dialog`,
// before it goes, so that a later window with the same handle starts without
// them.
void ClearAccessibleNames(HWND dialog);
