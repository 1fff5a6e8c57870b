// The system's own message box.
#include "framework/window/message_box.h"
#include "framework/core/message_box_style.h"
#include "framework/window/win32/system_text.h"

int ShowSystemMessageBox(HWND owner, const CString& text, const CString& title, unsigned style) {
    UINT flags = style;
    if (owner == nullptr && (style & MB_MODEMASK) == 0) {
        // Modal to the whole program, as a box without owner is on Linux.
        flags |= MB_TASKMODAL;
    }
    const int answer = MessageBoxW(owner, WideText(text), WideText(title), flags);
    if ((style & MB_TYPEMASK) == MB_OK) {
        // A box with only OK answers OK however it is closed (Escape, the
        // close box), as on Linux; not every version of the system says so.
        return IDOK;
    }
    // 0: no box could be made (no memory), taken as closed.
    return answer != 0 ? answer : IDCANCEL;
}
