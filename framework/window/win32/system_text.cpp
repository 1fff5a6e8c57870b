#include "framework/window/win32/system_text.h"

#include <vector>

CString WindowTextOf(HWND window) {
    if (window == nullptr) {
        return CString();
    }
    // The length may grow between the two calls (another thread's edit); the
    // copy then stops at the buffer's end and is still one whole text.
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) {
        return CString();
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    return FromWide(buffer.data(), copied);
}
