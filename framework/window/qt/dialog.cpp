// CDialog over Qt: the members that work on the window (a DialogWindow, which
// the dialog's DialogPort makes and keeps) and its widgets.
#include "framework/window/dialog.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QPushButton>
#include <QWindow>

#include "framework/window/qt/control_text.h"
#include "framework/window/qt/dialog_port.h"
#include "framework/window/qt/system_text.h"
#include "framework/window/qt/window_icon.h"

CDialog::~CDialog() {
    // The window goes without a word to the message map.
    DetachWindow();
    m_port.reset();
}

PixelRect CDialog::MapDialogRect(int x, int y, int cx, int cy) const {
    return DialogUnitsToPixels(m_baseUnits, x, y, cx, cy);
}

std::intptr_t CDialog::RunModalLoop(HWND owner) {
    m_port.reset(new DialogPort(*this, owner));
    AttachWindow(m_port->Window(), m_port->BaseUnits());
    m_windowMenu = CMenu::PlatformWindowMenu();
    if (RunInitDialog()) {
        // QDialog centres a window that has not been placed on the work area
        // of its screen (over its owner when it has one) as it is shown.
        m_port->Window()->exec();
    }
    const int result = m_nModalResult;
    if (m_hWnd != nullptr) {
        SendEvent(MessageEvent::destroy);
    }
    DetachWindow();
    m_port.reset();
    return result;
}

void CDialog::EndModalLoop(int result) {
    m_port->Window()->done(result);
}

void CDialog::OnSysCommand(unsigned nID, std::intptr_t) {
    switch (nID & 0xFFF0) {
        case SC_CLOSE:
            SendEvent(MessageEvent::close);
            break;
        case SC_MOVE:
            if (m_hWnd != nullptr && m_hWnd->windowHandle() != nullptr) {
                m_hWnd->windowHandle()->startSystemMove();
            }
            break;
        default:
            break;
    }
}

CMenu* CDialog::GetSystemMenu(BOOL bRevert) {
    if (m_hWnd == nullptr || (m_template.style & WS_SYSMENU) == 0) {
        return nullptr;
    }
    if (bRevert) {
        m_windowMenu = CMenu::PlatformWindowMenu();
        return nullptr;
    }
    return &m_windowMenu;
}

void CDialog::SetDlgItemAccessibleName(int id, const CString& name) {
    if (QWidget* control = GetDlgItem(id)) {
        control->setAccessibleName(ToQt(name));
    }
}

void CDialog::SetDlgItemAccessibleDescription(int id, const CString& description) {
    if (QWidget* control = GetDlgItem(id)) {
        control->setAccessibleDescription(ToQt(description));
    }
}

CString CDialog::GetWindowText() const {
    return m_hWnd != nullptr ? FromQt(m_hWnd->windowTitle()) : CString();
}

void CDialog::SetWindowText(const CString& text) {
    if (m_hWnd != nullptr) {
        m_hWnd->setWindowTitle(ToQt(text));
    }
}

void CDialog::SetIcon(HICON icon, BOOL bBigIcon) {
    (bBigIcon ? m_bigIcon : m_smallIcon) = icon;
    if (m_hWnd == nullptr) {
        return;
    }
    m_hWnd->setWindowIcon(CombineWindowIcons(m_bigIcon, m_smallIcon));
}

HWND CDialog::GetDlgItem(int id) const {
    return m_port != nullptr ? m_port->Control(id) : nullptr;
}

int CDialog::GetDlgCtrlID(HWND control) const {
    if (control == nullptr || m_hWnd == nullptr || control->parentWidget() != m_hWnd) {
        return 0;
    }
    return ControlId(control);
}

CString CDialog::GetDlgItemText(int id) const {
    QWidget* control = GetDlgItem(id);
    if (control == nullptr) {
        return CString();
    }
    return ControlText(control);
}

void CDialog::SetDlgItemText(int id, const CString& text) {
    QWidget* control = GetDlgItem(id);
    if (control == nullptr) {
        return;
    }
    SetControlText(control, text);
}

void CDialog::FitDlgItemToText(int id) {
    QWidget* control = GetDlgItem(id);
    if (control == nullptr) {
        return;
    }
    const int needed =
        QFontMetrics(control->font()).horizontalAdvance(ToQt(GetDlgItemText(id))) + 1;
    if (needed > control->width()) {
        control->resize(needed, control->height());
    }
}

void CDialog::CheckDlgButton(int id, unsigned check) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id))) {
        button->setCheckable(true);
        button->setChecked(check == BST_CHECKED);
    }
}

unsigned CDialog::IsDlgButtonChecked(int id) const {
    auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(id));
    return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::EnableDlgItem(int id, BOOL enable) {
    if (QWidget* control = GetDlgItem(id)) {
        control->setEnabled(enable != FALSE);
    }
}

BOOL CDialog::IsDlgItemEnabled(int id) const {
    QWidget* control = GetDlgItem(id);
    return control != nullptr && control->isEnabledTo(m_hWnd) ? TRUE : FALSE;
}

BOOL CDialog::IsDlgItemVisible(int id) const {
    QWidget* control = GetDlgItem(id);
    return control != nullptr && !control->isHidden() ? TRUE : FALSE;
}

void CDialog::GotoDlgCtrl(int id) {
    if (QWidget* control = GetDlgItem(id)) {
        control->setFocus(Qt::OtherFocusReason);
    }
}

int CDialog::GetFocusedDlgItem() const {
    if (m_hWnd == nullptr) {
        return 0;
    }
    return GetDlgCtrlID(m_hWnd->focusWidget());
}
