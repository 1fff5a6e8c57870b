// What a control shows of the text the program gives it, where the two
// differ, the rule for both window systems. The program always gets back the
// exact text it gave (GetDlgItemText); each port keeps it (its
// control_text.h).
#pragma once

#include "framework/core/string.h"

// A group box's caption as it is shown, on one line: every CR and LF is
// removed (CR LF, a lone LF and a lone CR alike), so the parts of a caption
// written over two lines join. Assistive technologies read the same.
CString CaptionOnOneLine(CString caption);
