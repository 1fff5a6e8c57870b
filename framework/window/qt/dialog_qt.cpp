#include "framework/window/dialog.h"

#include <QAbstractButton>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QPushButton>
#include <QWindow>
#include <utility>

#include "framework/window/dispatch.h"
#include "framework/window/owner_window.h"
#include "framework/window/qt/control_factory.h"
#include "framework/window/qt/control_properties.h"
#include "framework/window/qt/dialog_window.h"
#include "framework/window/qt/qt_text.h"
#include "framework/window/qt/template_font.h"
#include "framework/window/qt/window_icon.h"

namespace {

// A dialog's window is always its DialogWindow.
DialogWindow* WindowOf(HWND window) {
    return static_cast<DialogWindow*>(window);
}

}  // namespace

CDialog::~CDialog() {
    DeleteDialogWindow();
}

PixelRect CDialog::MapDialogRect(int x, int y, int cx, int cy) const {
    return DialogUnitsToPixels(m_baseUnits, x, y, cx, cy);
}

bool CDialog::CreateDialogWindow() {
    if (m_hWnd != nullptr) {
        return false;
    }
    const HWND owner =
        ChooseOwnerWindow(m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr, this);
    auto* window = new DialogWindow(this, owner);
    m_hWnd = window;
    m_bEnded = false;
    m_nModalResult = -1;
    m_windowMenu = CMenu::PlatformWindowMenu();

    window->SetFrameStyle(m_template.style);
    m_hWnd->setWindowTitle(ToQt(CString(m_template.title != nullptr ? m_template.title : u"")));

    const QFont font = TemplateFont(m_template);
    m_hWnd->setFont(font);
    m_baseUnits = BaseUnitsOf(m_hWnd->font());

    const PixelRect client =
        MapDialogRect(m_template.x, m_template.y, m_template.cx, m_template.cy);
    m_hWnd->setFixedSize(client.cx, client.cy);
    if ((m_template.style & WS_THICKFRAME) != 0) {
        m_hWnd->setMinimumSize(0, 0);
        m_hWnd->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_hWnd->resize(client.cx, client.cy);
    }

    BuildControls();

    // WM_INITDIALOG.
    BOOL focusByFramework = TRUE;
    AfxCallGuarded(m_hWnd, [this, &focusByFramework] { focusByFramework = OnInitDialog(); });
    if (focusByFramework && m_hWnd != nullptr) {
        FocusFirstTabStop();
    }
    return m_hWnd != nullptr;
}

void CDialog::BuildControls() {
    QWidget* previous = nullptr;
    for (int i = 0; i < m_template.itemCount; ++i) {
        const DialogItemTemplate& item = m_template.items[i];
        QWidget* control =
            CreateControl(item, MapDialogRect(item.x, item.y, item.cx, item.cy), m_hWnd);
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            ConnectClick(button, *this, item.id);
        }
        control->installEventFilter(m_hWnd);  // the dialog keys
        if (item.id != IDC_STATIC && m_controls.find(item.id) == m_controls.end()) {
            m_controls[item.id] = control;
        }
        // The template order is the tab order.
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

void CDialog::FocusFirstTabStop() {
    for (int i = 0; i < m_template.itemCount; ++i) {
        const DialogItemTemplate& item = m_template.items[i];
        if ((item.style & WS_TABSTOP) == 0) {
            continue;
        }
        QWidget* control = GetDlgItem(item.id);
        if (control != nullptr && !control->isHidden() && control->isEnabledTo(m_hWnd)) {
            control->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

std::intptr_t CDialog::DoModal() {
    if (!CreateDialogWindow()) {
        return -1;
    }
    if (!m_bEnded) {
        // QDialog centres a window that has not been placed on the work area
        // of its screen (over its owner when it has one) as it is shown.
        WindowOf(m_hWnd)->exec();
    }
    const int result = m_nModalResult;
    DestroyDialogWindow();
    return result;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEnded = true;
    if (m_hWnd != nullptr) {
        // Hides the window at once and asks the modal loop to return; the
        // loop returns when control is back in it.
        WindowOf(m_hWnd)->done(result);
    }
}

void CDialog::DestroyDialogWindow() {
    if (m_hWnd == nullptr) {
        return;
    }
    SendEvent(MessageEvent::destroy);
    DeleteDialogWindow();
}

void CDialog::DeleteDialogWindow() {
    DialogWindow* window = WindowOf(std::exchange(m_hWnd, nullptr));
    if (window == nullptr) {
        return;
    }
    // Detached first, so that nothing the window sees while it goes reaches the dialog.
    window->Detach();
    m_controls.clear();
    delete window;
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

void CDialog::ShowWindowMenu(int screenX, int screenY) {
    if (GetSystemMenu(FALSE) == nullptr) {
        return;
    }
    const unsigned id = TrackWindowMenu(m_windowMenu, m_hWnd, screenX, screenY);
    if (id != 0) {
        SendSysCommand(id);
    }
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

HWND CDialog::GetSafeHwnd() const {
    return m_hWnd;
}

CString CDialog::GetWindowText() const {
    return m_hWnd != nullptr ? FromQt(m_hWnd->windowTitle()) : CString();
}

void CDialog::SetWindowText(const CString& text) {
    if (m_hWnd != nullptr) {
        m_hWnd->setWindowTitle(ToQt(text));
    }
}

void CDialog::SetIcon(const HICON& icon, BOOL bBigIcon) {
    (bBigIcon ? m_bigIcon : m_smallIcon) = icon;
    if (m_hWnd == nullptr) {
        return;
    }
    m_hWnd->setWindowIcon(CombineWindowIcons(m_bigIcon, m_smallIcon));
}

HWND CDialog::GetDlgItem(int id) const {
    const auto found = m_controls.find(id);
    return found != m_controls.end() ? found->second : nullptr;
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
