// The message pump of a long operation, over the thread's message queue.
#include "framework/window/message_pump.h"
#include "platform/win_types.h"

namespace {

// A burst of input and painting is handled in one call; a message that makes
// another each time it is handled cannot hold the operation here.
constexpr int kMaxMessagesPerPump = 256;

// The dialog manager's own window class.
constexpr ATOM kDialogClassAtom = 0x8002;

bool IsDialogWindow(HWND window) {
    return window != nullptr &&
           static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM)) == kDialogClassAtom;
}

}  // namespace

void PumpWaitingMessages() {
    MSG message;
    for (int i = 0; i < kMaxMessagesPerPump && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
         ++i) {
        if (message.message == WM_QUIT) {
            // The loop that waits for it is further out: it is put back.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        // The dialog's keys (Tab, Enter, Escape) as its own loop handles them.
        HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (IsDialogWindow(root) && IsDialogMessageW(root, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
