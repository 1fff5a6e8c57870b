// The window driver over the Windows API: every input is a message posted to
// the thread's queue, so the dialog manager's loop, a message box's loop or a
// copy's PeekMessage pump takes it in order with everything else. Work that
// must run later (a step, a look at a modal window) is a posted message to a
// message-only window of the driver that carries the work to run.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "engine/transfer.h"
#include "framework/window/win32/system_text.h"
#include "platform/win_types.h"
#include "tests/support/window_driver.h"
#include "tests/support/window_driver_system.h"

namespace {

// The message that carries a queued action (its lParam owns a
// std::function<void()>).
constexpr UINT kRunAction = WM_APP + 1;

// What the system posts after F1's press (not in the SDK's headers).
constexpr UINT kKeyF1 = 0x004D;

// Actions that wait for a timer, by timer id.
std::map<UINT_PTR, std::function<void()>>& WaitingActions() {
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
}

LRESULT CALLBACK DriverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunAction) {
        const std::unique_ptr<std::function<void()>> action(
            reinterpret_cast<std::function<void()>*>(lParam));
        (*action)();
        return 0;
    }
    if (message == WM_TIMER) {
        KillTimer(window, wParam);
        auto waiting = WaitingActions().extract(wParam);
        if (!waiting.empty()) {
            waiting.mapped()();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// The driver's message-only window, made on first use on the test thread.
HWND DriverWindow() {
    static const HWND window = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DriverWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TesserakTestDriver";
        RegisterClassW(&windowClass);
        return CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                               nullptr, windowClass.hInstance, nullptr);
    }();
    return window;
}

// Runs `action` from a timer: a look that has to wait again leaves the queue
// empty meanwhile, as the dialog manager shows a new dialog only then.
void PostOnTimer(std::function<void()> action) {
    static UINT_PTR nextId = 1;
    const UINT_PTR id = nextId++;
    WaitingActions()[id] = std::move(action);
    SetTimer(DriverWindow(), id, USER_TIMER_MINIMUM, nullptr);
}

// Posts a key's press and release to `target` as the keyboard would: the
// dialog manager reads Tab, Enter and Escape from the press, a button takes
// Space on the release.
void PostKeyMessages(HWND target, UINT virtualKey) {
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageW(target, WM_KEYDOWN, virtualKey, static_cast<LPARAM>(1 | (scanCode << 16)));
    if (virtualKey == VK_F1) {
        // The system's keyboard input adds this to F1's press; the default
        // window procedure turns it into WM_HELP.
        PostMessageW(target, kKeyF1, 0, 0);
    }
    PostMessageW(target, WM_KEYUP, virtualKey,
                 static_cast<LPARAM>(1 | (scanCode << 16) | (1u << 30) | (1u << 31)));
}

// Holds Shift down (or lets it go) in the thread's keyboard state, which the
// dialog manager asks when it takes Tab.
void SetShiftState(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

UINT VirtualKeyOf(Key key) {
    switch (key) {
        case Key::enter:
            return VK_RETURN;
        case Key::escape:
            return VK_ESCAPE;
        case Key::tab:
        case Key::shiftTab:
            return VK_TAB;
        case Key::space:
            return VK_SPACE;
        case Key::f1:
            return VK_F1;
    }
    return 0;
}

// Presses `key` on `target` (queued behind what is waiting now).
void PostKeyOn(HWND target, Key key) {
    if (target == nullptr) {
        return;
    }
    if (key == Key::shiftTab) {
        Post([] { SetShiftState(true); });
    }
    PostKeyMessages(target, VirtualKeyOf(key));
    if (key == Key::shiftTab) {
        Post([] { SetShiftState(false); });
    }
}

// The control of `window` that has the focus, or the window itself.
HWND FocusOrWindow(HWND window) {
    const HWND focused = GetFocus();
    return focused != nullptr && (focused == window || IsChild(window, focused)) ? focused : window;
}

// A user's click reaches a control only when it and its window take input.
void ClickIfItTakesInput(HWND control) {
    if (IsWindow(control) && IsWindowVisible(control) && IsWindowEnabled(control) &&
        IsWindowEnabled(GetAncestor(control, GA_ROOT))) {
        SendMessageW(control, BM_CLICK, 0, 0);
    }
}

// A static control that shows text (not an icon).
bool IsTextStatic(HWND window) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    return lstrcmpiW(className, L"Static") == 0 && (style & SS_TYPEMASK) != SS_ICON;
}

ModalWindowView ViewOf(HWND window) {
    ModalWindowView view{window, WindowTextOf(window), {}};
    // Children come in template order (the dialog manager makes them so).
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsTextStatic(child)) {
            const CString text = WindowTextOf(child);
            if (!text.IsEmpty()) {
                view.texts.push_back(text);
            }
        }
    }
    return view;
}

// The visible window that `owner` owns, of this thread: the modal window
// opened over it; null when there is none.
HWND ModalWindowOver(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            if (IsWindowVisible(window) && GetWindow(window, GW_OWNER) == s->owner) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Close(HWND window, ModalClose close) {
    switch (close) {
        case ModalClose::okButton:
            if (const HWND ok = GetDlgItem(window, IDOK)) {
                Post([ok] { ClickIfItTakesInput(ok); });
            } else {
                ReportDriverFailure("the modal window has no OK button");
            }
            break;
        case ModalClose::enter:
            PostKeyOn(FocusOrWindow(window), Key::enter);
            break;
        case ModalClose::escape:
            PostKeyOn(FocusOrWindow(window), Key::escape);
            break;
    }
}

void LookWhenOpen(HWND owner, std::function<void(const ModalWindowView&)> look, ModalClose close) {
    if (!IsWindow(owner) || !IsWindowVisible(owner)) {
        ReportDriverFailure("no modal window opened over the dialog");
        return;
    }
    const HWND modal = ModalWindowOver(owner);
    if (modal == nullptr) {
        PostWhenIdle([owner, look = std::move(look), close] { LookWhenOpen(owner, look, close); });
        return;
    }
    look(ViewOf(modal));
    Close(modal, close);
}

// The thread's visible top-level windows other than `window` that cover the
// screen point `at` are moved aside, their top left corner just past it.
void UncoverPoint(HWND window, POINT at) {
    struct Search {
        HWND window;
        POINT at;
        HWND found;
    } search{window, at, nullptr};
    for (int moved = 0; moved < 8; ++moved) {
        search.found = nullptr;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND candidate, LPARAM context) -> BOOL {
                auto* s = reinterpret_cast<Search*>(context);
                RECT rect{};
                if (candidate != s->window && IsWindowVisible(candidate) &&
                    GetWindowRect(candidate, &rect) && PtInRect(&rect, s->at)) {
                    s->found = candidate;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            return;
        }
        SetWindowPos(search.found, nullptr, at.x + 16, at.y + 16, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// A left click at the screen point `at` through the system's input queue,
// handled before this returns: the system decides which window takes it.
void ClickAtThroughSystem(HWND window, POINT at) {
    UncoverPoint(window, at);
    INPUT input[3] = {};
    input[0].type = INPUT_MOUSE;
    // Absolute positions are in 65536ths of the screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    input[0].mi.dx = static_cast<LONG>((at.x * 65536LL + width - 1) / width);
    input[0].mi.dy = static_cast<LONG>((at.y * 65536LL + height - 1) / height);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1] = input[0];
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2] = input[0];
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    if (SendInput(3, input, sizeof(INPUT)) != 3) {
        ReportDriverFailure("SendInput failed with error " + std::to_string(GetLastError()));
        return;
    }
    // Only the input: posted work stays queued behind it.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The middle of the close box on `window`'s title bar, found by the
// window's own hit test along the middle of the caption.
bool CloseBoxOf(HWND window, POINT& at) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int y = rect.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    auto hit = [window, y](int x) {
        return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE;
    };
    int right = rect.right - 1;
    while (right > rect.left && !hit(right)) {
        --right;
    }
    int left = right;
    while (left > rect.left && hit(left - 1)) {
        --left;
    }
    at = POINT{(left + right) / 2, y};
    return hit(at.x);
}

}  // namespace

void ClickThroughSystem(CDialog& dlg, int id) {
    const HWND control = dlg.GetDlgItem(id);
    RECT rect{};
    if (control == nullptr || !GetWindowRect(control, &rect)) {
        ReportDriverFailure("no control " + std::to_string(id) + " to click");
        return;
    }
    ClickAtThroughSystem(dlg.GetSafeHwnd(),
                         POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void CloseThroughSystem(CDialog& dlg) {
    const HWND window = dlg.GetSafeHwnd();
    POINT at{};
    if (window == nullptr || !CloseBoxOf(window, at)) {
        ReportDriverFailure("no close box to click");
        return;
    }
    ClickAtThroughSystem(window, at);
}

bool OwnLoopIsTaking(const CDialog& dlg) {
    // The system disables the dialog while a modal window is open over it.
    return PumpGuard == 0 && IsWindowEnabled(dlg.GetSafeHwnd());
}

void PostWhenIdle(std::function<void()> action) {
    PostOnTimer(std::move(action));
}

void DeliverQueuedInput() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Post(std::function<void()> action) {
    auto* carried = new std::function<void()>(std::move(action));
    if (!PostMessageW(DriverWindow(), kRunAction, 0, reinterpret_cast<LPARAM>(carried))) {
        delete carried;
        ReportDriverFailure("PostMessageW failed with error " + std::to_string(GetLastError()));
    }
}

void PostClick(CDialog& dlg, int id) {
    const HWND control = dlg.GetDlgItem(id);
    if (control != nullptr) {
        Post([control] { ClickIfItTakesInput(control); });
    }
}

void PostKey(CDialog& dlg, Key key) {
    PostKeyTo(dlg.GetSafeHwnd(), key);
}

void PostKeyTo(HWND window, Key key) {
    if (window != nullptr) {
        PostKeyOn(FocusOrWindow(window), key);
    }
}

void PostClose(CDialog& dlg) {
    // The close box: the same system command the title bar sends.
    PostSysCommand(dlg, SC_CLOSE);
}

void PostSysCommand(CDialog& dlg, unsigned id) {
    if (const HWND window = dlg.GetSafeHwnd()) {
        PostMessageW(window, WM_SYSCOMMAND, id, 0);
    }
}

void TypeInto(CDialog& dlg, int id, const CString& text) {
    const HWND field = dlg.GetDlgItem(id);
    if (field == nullptr) {
        return;
    }
    Post([&dlg, field, id, text] {
        if (!IsWindow(field)) {
            return;
        }
        dlg.GotoDlgCtrl(id);
        // Typing replaces what is selected; the field's own input handling
        // takes each character, as from the keyboard or an input method.
        SendMessageW(field, EM_SETSEL, 0, -1);
        SendMessageW(field, WM_CLEAR, 0, 0);
        for (int i = 0; i < text.GetLength(); ++i) {
            SendMessageW(field, WM_CHAR, static_cast<WPARAM>(text.GetString()[i]), 1);
        }
    });
}

CString ShownText(const CDialog& dlg, int id) {
    // The window's own text: what the control draws.
    return WindowTextOf(dlg.GetDlgItem(id));
}

bool IsWindowShown(const CDialog& dlg) {
    return dlg.GetSafeHwnd() != nullptr && IsWindowVisible(dlg.GetSafeHwnd());
}

void WhenModalOpens(const CDialog& owner, std::function<void(const ModalWindowView&)> look,
                    ModalClose close) {
    const HWND window = owner.GetSafeHwnd();
    Post([window, look = std::move(look), close] { LookWhenOpen(window, look, close); });
}
