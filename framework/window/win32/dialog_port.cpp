#include "framework/window/win32/dialog_port.h"

#include "framework/window/dispatch.h"
#include "framework/window/win32/accessible_name.h"
#include "framework/window/win32/control_kind.h"
#include "framework/window/win32/control_text.h"
#include "framework/window/win32/device_context.h"
#include "framework/window/win32/file_drop.h"
#include "framework/window/win32/window_centering.h"

void CDialog::DialogPortDeleter::operator()(DialogPort* port) const {
    delete port;
}

namespace {

CDialog* DialogOf(HWND window) {
    return reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
}

// What the framework adds to some kinds of control, as the Linux side's
// control factory does: edit fields take dropped files, group boxes show
// their captions on one line.
void PrepareControls(HWND window) {
    // Walked by hand rather than through a system callback, so that an
    // exception stays in our own frames.
    for (HWND control = GetWindow(window, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        switch (KindOf(control)) {
            case ControlKind::editField:
                AcceptFileDrops(control);
                break;
            case ControlKind::groupBox:
                KeepExactCaption(control);
                break;
            case ControlKind::other:
                break;
        }
    }
}

}  // namespace

INT_PTR CALLBACK DialogPort::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return InitDialog(*dialog, window);
    }
    CDialog* dialog = DialogOf(window);
    if (dialog == nullptr) {
        // Before WM_INITDIALOG (the font, the controls' creation) or after
        // WM_DESTROY: the dialog manager's own handling.
        return FALSE;
    }
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) {
                return FALSE;  // edit notifications and the like
            }
            dialog->SendEvent(MessageEvent::command, static_cast<int>(LOWORD(wParam)));
            return TRUE;
        case WM_HELP:
            dialog->SendEvent(MessageEvent::command, static_cast<int>(ID_HELP));
            return TRUE;
        case WM_CLOSE:
            dialog->SendEvent(MessageEvent::close);
            return TRUE;
        case WM_DESTROY:
            return Destroy(*dialog, window);
        case WM_SYSCOMMAND:
            dialog->SendSysCommand(static_cast<unsigned>(wParam), lParam);
            return TRUE;
        case WM_CONTEXTMENU:
            return ContextMenu(*dialog, lParam);
        case WM_PAINT:
            return CanMinimise(*dialog) && IsIconic(window) ? PaintMinimised(*dialog, window)
                                                            : FALSE;
        case WM_QUERYDRAGICON:
            // One of the messages whose answer a dialog procedure returns
            // itself: the icon to drag, the small one when there is one.
            if (!CanMinimise(*dialog)) {
                return FALSE;
            }
            return reinterpret_cast<INT_PTR>(
                dialog->GetIcon(FALSE) != nullptr ? dialog->GetIcon(FALSE) : dialog->GetIcon(TRUE));
        default:
            return FALSE;
    }
}

INT_PTR DialogPort::InitDialog(CDialog& dialog, HWND window) {
    RECT units{0, 0, 4, 8};
    ::MapDialogRect(window, &units);
    // The system menu is bound when the dialog asks for it (GetSystemMenu).
    CDialog::PortAccess::AttachWindow(dialog, window, DialogBaseUnits{units.right, units.bottom});
    // Icons given before the window existed.
    if (const HICON bigIcon = dialog.GetIcon(TRUE); bigIcon != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    }
    if (const HICON smallIcon = dialog.GetIcon(FALSE); smallIcon != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    }

    AfxCallGuarded(window, [window] { PrepareControls(window); });

    if (CDialog::PortAccess::RunInitDialog(dialog) &&
        (dialog.GetTemplate().style & DS_CENTER) == 0) {
        // The template's own position is not used, as on Linux.
        CenterWindow(window, GetWindow(window, GW_OWNER));
    }
    // The framework has placed the focus (or the dialog has): the system
    // places none.
    return FALSE;
}

INT_PTR DialogPort::Destroy(CDialog& dialog, HWND window) {
    dialog.SendEvent(MessageEvent::destroy);
    ClearAccessibleNames(window);
    // Nothing the window sees while it goes reaches the dialog any more.
    SetWindowLongPtrW(window, DWLP_USER, 0);
    CDialog::PortAccess::DetachWindow(dialog);
    return FALSE;  // the dialog manager frees its own font and data
}

INT_PTR DialogPort::ContextMenu(CDialog& dialog, LPARAM lParam) {
    HWND window = dialog.GetSafeHwnd();
    if (lParam == -1) {
        // From the keyboard (Shift+F10, the Menu key): at the window's top left.
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        dialog.ShowWindowMenu(origin.x, origin.y);
        return TRUE;
    }
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    if (hit != HTCLIENT) {
        return FALSE;
    }
    dialog.ShowWindowMenu(at.x, at.y);
    return TRUE;
}

INT_PTR DialogPort::PaintMinimised(CDialog& dialog, HWND window) {
    AfxCallGuarded(window, [&dialog, window] {
        const PaintDC dc(window);
        SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
        RECT client{};
        GetClientRect(window, &client);
        const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
        if (const HICON icon = dialog.GetIcon(TRUE); icon != nullptr) {
            DrawIcon(dc.Get(), x, y, icon);
        }
    });
    return TRUE;
}

bool DialogPort::CanMinimise(const CDialog& dialog) {
    return (dialog.GetTemplate().style & WS_MINIMIZEBOX) != 0;
}
