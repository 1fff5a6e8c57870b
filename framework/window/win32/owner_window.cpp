// The active modal window as the system keeps it: the thread's active window,
// which a modal loop makes its own window and which is the only one enabled
// among its owners while it is open.
#include "framework/window/owner_window.h"
#include "platform/win_types.h"

HWND ActiveModalWindow() {
    const HWND active = GetActiveWindow();
    if (active == nullptr || !IsWindowVisible(active) || !IsWindowEnabled(active)) {
        return nullptr;
    }
    return active;
}
