// The parts of CDialog that are the same on every platform: the base message
// map, the default handlers and the routing of events through the maps.
#include "framework/window/dialog.h"

#include "framework/window/dispatch.h"
#include "framework/window/win_app.h"

IMPLEMENT_DYNAMIC(CDialog, CObject)

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

void CDialog::ShowHelp() {}

HICON CDialog::GetIcon(BOOL bBigIcon) const {
    return bBigIcon ? m_bigIcon : m_smallIcon;
}
