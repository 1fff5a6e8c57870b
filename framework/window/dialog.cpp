// The parts of CDialog that are the same on every window system: the base
// message map, the default handlers, the routing of events through the maps,
// the modal run's course, the window's coming and going, the first focus and
// the window menu.
#include "framework/window/dialog.h"

#include "framework/window/dispatch.h"
#include "framework/window/owner_window.h"
#include "framework/window/win_app.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

CDialog::CDialog(const DialogTemplate& dialogTemplate, CDialog* parent)
    : m_template(dialogTemplate), m_pParentWnd(parent) {}

const MessageMap* CDialog::GetMessageMap() const {
    return GetThisMessageMap();
}

// clang-format off
const MessageMap* CDialog::GetThisMessageMap() {
    using ThisClass = CDialog;
    static const MessageMapEntry messageEntries[] = {
        ON_COMMAND(IDOK, OnOK)
        ON_COMMAND(IDCANCEL, OnCancel)
        ON_WM_CLOSE()
        ON_WM_DESTROY()
        ON_WM_SYSCOMMAND()
        kMessageMapEnd
    };
    static const MessageMap messageMap = {nullptr, messageEntries};
    return &messageMap;
}
// clang-format on

std::intptr_t CDialog::DoModal() {
    if (m_hWnd != nullptr) {
        return -1;  // already running
    }
    m_bEnded = false;
    m_nModalResult = -1;
    return RunModalLoop(
        ChooseOwnerWindow(m_pParentWnd != nullptr ? m_pParentWnd->GetSafeHwnd() : nullptr, this));
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEnded = true;
    if (m_hWnd != nullptr) {
        EndModalLoop(result);
    }
}

void CDialog::AttachWindow(HWND window, DialogBaseUnits units) {
    m_hWnd = window;
    m_baseUnits = units;
    m_windowMenu = CMenu();
}

bool CDialog::RunInitDialog() {
    BOOL focusByFramework = TRUE;
    AfxCallGuarded(m_hWnd, [this, &focusByFramework] { focusByFramework = OnInitDialog(); });
    if (focusByFramework && m_hWnd != nullptr) {
        FocusFirstTabStop();
    }
    return !m_bEnded;
}

void CDialog::DetachWindow() {
    m_hWnd = nullptr;
    m_windowMenu = CMenu();
}

void CDialog::FocusFirstTabStop() {
    for (int i = 0; i < m_template.itemCount; ++i) {
        const DialogItemTemplate& item = m_template.items[i];
        if ((item.style & WS_TABSTOP) != 0 && IsDlgItemVisible(item.id) &&
            IsDlgItemEnabled(item.id)) {
            // As Tab moves it (on Windows a push button that takes the focus
            // also becomes the default one).
            GotoDlgCtrl(item.id);
            return;
        }
    }
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::OnClose() {
    SendEvent(MessageEvent::command, IDCANCEL);
}

void CDialog::OnDestroy() {}

bool CDialog::SendEvent(MessageEvent event, int id) {
    return AfxCallGuarded(m_hWnd, [this, event, id] { RouteEvent(event, id); });
}

void CDialog::RouteEvent(MessageEvent event, int id, std::intptr_t lParam) {
    const MessageMapEntry* entry = FindMessageMapEntry(GetMessageMap(), event, id);
    if (entry == nullptr) {
        // A command no dialog takes goes to the application, as F1's help does.
        if (CWinApp* app = AfxGetApp(); app != nullptr && event == MessageEvent::command) {
            app->OnCmdMsg(static_cast<unsigned>(id));
        }
        return;
    }
    if (entry->pfn != nullptr) {
        (this->*(entry->pfn))();
    } else if (entry->pfnId != nullptr) {
        (this->*(entry->pfnId))(static_cast<unsigned>(id));
    } else if (entry->pfnSys != nullptr) {
        (this->*(entry->pfnSys))(static_cast<unsigned>(id), lParam);
    }
}

bool CDialog::SendSysCommand(unsigned id, std::intptr_t lParam) {
    return AfxCallGuarded(m_hWnd, [this, id, lParam] {
        RouteEvent(MessageEvent::sysCommand, static_cast<int>(id), lParam);
    });
}

void CDialog::ShowWindowMenu(int screenX, int screenY) {
    CMenu* menu = GetSystemMenu(FALSE);
    if (menu == nullptr) {
        return;
    }
    const unsigned id = TrackWindowMenu(*menu, m_hWnd, screenX, screenY);
    if (id != 0) {
        SendSysCommand(id);
    }
}

HICON CDialog::GetIcon(BOOL bBigIcon) const {
    return bBigIcon ? m_bigIcon : m_smallIcon;
}
