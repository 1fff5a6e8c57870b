// CDialog over the Windows API: the system's dialog manager builds the window
// and its controls from the template in memory and runs the modal loop; the
// dialog procedure (DialogPort, dialog_port.h) routes its messages through
// the map.
#include <utility>

#include "framework/window/dialog.h"
#include "framework/window/win32/accessible_name.h"
#include "framework/window/win32/control_text.h"
#include "framework/window/win32/device_context.h"
#include "framework/window/win32/dialog_port.h"
#include "framework/window/win32/dialog_template_memory.h"
#include "framework/window/win32/system_text.h"

CDialog::~CDialog() {
    HWND window = std::exchange(m_hWnd, nullptr);
    if (window == nullptr) {
        return;
    }
    // Detached first, so that nothing the window sees while it goes reaches the dialog.
    SetWindowLongPtrW(window, DWLP_USER, 0);
    DestroyWindow(window);
}

PixelRect CDialog::MapDialogRect(int x, int y, int cx, int cy) const {
    if (m_hWnd == nullptr) {
        return DialogUnitsToPixels(m_baseUnits, x, y, cx, cy);
    }
    // Each value on its own, as the dialog manager places the controls.
    RECT rect{x, y, cx, cy};
    ::MapDialogRect(m_hWnd, &rect);
    return PixelRect{rect.left, rect.top, rect.right, rect.bottom};
}

std::intptr_t CDialog::RunModalLoop(HWND owner) {
    const DialogTemplateMemory memory(m_template);
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), memory.Get(), owner,
                                &DialogPort::Procedure, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    // A loop that ended otherwise (the window could not be made: -1) gives
    // the system's answer.
    return m_bEnded ? m_nModalResult : result;
}

void CDialog::EndModalLoop(int result) {
    // The dialog manager's loop returns when control is back in it, then
    // destroys the window.
    ::EndDialog(m_hWnd, result);
}

void CDialog::OnSysCommand(unsigned nID, std::intptr_t lParam) {
    if (m_hWnd == nullptr) {
        return;
    }
    if ((nID & 0xFFF0) == SC_KEYMENU && lParam == ' ') {
        // Alt+Space opens the window menu the way the dialog's other ways do
        // (ShowWindowMenu), where the window menu hook sees it too.
        POINT origin{0, 0};
        ClientToScreen(m_hWnd, &origin);
        ShowWindowMenu(origin.x, origin.y);
        return;
    }
    // The system's own handling: close sends WM_CLOSE (the close hook), move
    // starts the move; the dialog procedure must not call the dialog
    // manager's, which would come back here.
    DefWindowProcW(m_hWnd, WM_SYSCOMMAND, nID, lParam);
}

CMenu* CDialog::GetSystemMenu(BOOL bRevert) {
    if (m_hWnd == nullptr || (m_template.style & WS_SYSMENU) == 0) {
        return nullptr;
    }
    if (bRevert) {
        ::GetSystemMenu(m_hWnd, TRUE);
        m_windowMenu = CMenu();
        return nullptr;
    }
    m_windowMenu.m_hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    return m_windowMenu.m_hMenu != nullptr ? &m_windowMenu : nullptr;
}

void CDialog::SetDlgItemAccessibleName(int id, const CString& name) {
    // Where the system's runtime takes no names, the reader keeps the
    // system's own (the label before the field); nothing else to do.
    SetAccessibleName(GetDlgItem(id), name);
}

void CDialog::SetDlgItemAccessibleDescription(int id, const CString& description) {
    SetAccessibleDescription(GetDlgItem(id), description);
}

CString CDialog::GetWindowText() const {
    return WindowTextOf(m_hWnd);
}

void CDialog::SetWindowText(const CString& text) {
    if (m_hWnd != nullptr) {
        ::SetWindowTextW(m_hWnd, WideText(text));
    }
}

namespace {

// The small-size image of the icon resource `icon` was loaded from (its own
// 16 x 16 picture rather than the large one shrunk); `icon` itself when it
// came from no resource. Shared, like the icons of LoadIconResource.
HICON SmallImageOf(HICON icon) {
    ICONINFOEXW info{};
    info.cbSize = sizeof(info);
    if (icon == nullptr || !GetIconInfoExW(icon, &info)) {
        return icon;
    }
    // GetIconInfoEx hands over copies of the icon's bitmaps.
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (info.wResID == 0) {
        return icon;
    }
    auto* small = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(info.wResID), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    return small != nullptr ? small : icon;
}

}  // namespace

void CDialog::SetIcon(HICON icon, BOOL bBigIcon) {
    (bBigIcon ? m_bigIcon : m_smallIcon) = bBigIcon ? icon : SmallImageOf(icon);
    if (m_hWnd != nullptr) {
        SendMessageW(m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                     reinterpret_cast<LPARAM>(bBigIcon ? m_bigIcon : m_smallIcon));
    }
}

HWND CDialog::GetDlgItem(int id) const {
    // Labels nobody addresses share IDC_STATIC; none of them is "the" control.
    if (m_hWnd == nullptr || id == IDC_STATIC) {
        return nullptr;
    }
    return ::GetDlgItem(m_hWnd, id);
}

int CDialog::GetDlgCtrlID(HWND control) const {
    if (control == nullptr || m_hWnd == nullptr || GetAncestor(control, GA_PARENT) != m_hWnd) {
        return 0;
    }
    return ::GetDlgCtrlID(control);
}

CString CDialog::GetDlgItemText(int id) const {
    // A group box shows its caption otherwise than it was given.
    return ControlText(GetDlgItem(id));
}

void CDialog::SetDlgItemText(int id, const CString& text) {
    if (HWND control = GetDlgItem(id)) {
        // A group box keeps the exact text itself (control_text.h).
        ::SetWindowTextW(control, WideText(text));
    }
}

void CDialog::FitDlgItemToText(int id) {
    HWND control = GetDlgItem(id);
    if (control == nullptr) {
        return;
    }
    const CString text = GetDlgItemText(id);
    SIZE extent{};
    {
        const WindowDC dc(control);
        const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0));
        const SelectedObject selected(dc.Get(), font);
        if (dc.Get() == nullptr ||
            !GetTextExtentPoint32W(dc.Get(), WideText(text), text.GetLength(), &extent)) {
            return;
        }
    }
    RECT rect{};
    GetWindowRect(control, &rect);
    const int needed = extent.cx + 1;
    if (needed > rect.right - rect.left) {
        SetWindowPos(control, nullptr, 0, 0, needed, rect.bottom - rect.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CDialog::CheckDlgButton(int id, unsigned check) {
    HWND button = GetDlgItem(id);
    if (button == nullptr) {
        return;
    }
    ::CheckDlgButton(m_hWnd, id, check);
    // The system makes a checked radio button a tab stop; here the template
    // alone decides, as it does on Linux.
    for (int i = 0; i < m_template.itemCount; ++i) {
        if (m_template.items[i].id == id && (m_template.items[i].style & WS_TABSTOP) == 0) {
            const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
            SetWindowLongPtrW(button, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_TABSTOP));
            break;
        }
    }
}

unsigned CDialog::IsDlgButtonChecked(int id) const {
    if (GetDlgItem(id) == nullptr) {
        return BST_UNCHECKED;
    }
    return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::EnableDlgItem(int id, BOOL enable) {
    HWND control = GetDlgItem(id);
    if (control == nullptr) {
        return;
    }
    if (!enable && GetFocus() == control) {
        // A disabled control keeps no focus: the next tab stop takes it, as
        // on Linux, so the keys still reach the dialog.
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
    }
    EnableWindow(control, enable != FALSE);
}

BOOL CDialog::IsDlgItemEnabled(int id) const {
    HWND control = GetDlgItem(id);
    return control != nullptr && IsWindowEnabled(control) ? TRUE : FALSE;
}

BOOL CDialog::IsDlgItemVisible(int id) const {
    // The control's own visibility, whether or not the dialog is shown
    // (IsWindowVisible would also ask the dialog).
    HWND control = GetDlgItem(id);
    return control != nullptr && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0 ? TRUE
                                                                                        : FALSE;
}

void CDialog::GotoDlgCtrl(int id) {
    if (HWND control = GetDlgItem(id)) {
        // Through the dialog manager, which also moves the default button
        // and selects an edit field's text.
        SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
}

int CDialog::GetFocusedDlgItem() const {
    if (m_hWnd == nullptr) {
        return 0;
    }
    return GetDlgCtrlID(GetFocus());
}
