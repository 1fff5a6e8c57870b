#include "framework/window/win32/window_centering.h"

#include <algorithm>

namespace {

int Width(const RECT& rect) {
    return rect.right - rect.left;
}

int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

// `value` moved into [low, high]; `low` wins when the range is empty (a
// window larger than the work area keeps its top left corner visible).
int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

}  // namespace

void CenterWindow(HWND window, HWND owner) {
    RECT own{};
    if (!GetWindowRect(window, &own)) {
        return;
    }
    const bool overOwner = owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(overOwner ? owner : window, MONITOR_DEFAULTTONEAREST),
                         &monitor)) {
        return;
    }
    const RECT& work = monitor.rcWork;
    RECT centre = work;
    if (overOwner) {
        GetWindowRect(owner, &centre);
    }
    const int x =
        Clamp(centre.left + (Width(centre) - Width(own)) / 2, work.left, work.right - Width(own));
    const int y =
        Clamp(centre.top + (Height(centre) - Height(own)) / 2, work.top, work.bottom - Height(own));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
