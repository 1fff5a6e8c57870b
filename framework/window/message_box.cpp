#include "framework/window/message_box.h"

#include <utility>

#include "framework/window/owner_window.h"

namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

}  // namespace

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

int ShowMessageBox(HWND requestedOwner, const CString& text, const CString& title, unsigned style) {
    const HWND owner = ChooseOwnerWindow(requestedOwner);
    if (Hook()) {
        // A copy: the hook may replace itself while it runs.
        MessageBoxHook hook = Hook();
        return hook(MessageBoxCall{owner, text, title, style});
    }
    return ShowSystemMessageBox(owner, text, title, style);
}
