#include "framework/window/win32/accessible_name.h"

#include <oleacc.h>

#include "framework/window/win32/system_text.h"

namespace {

// The runtime's property services for the life of this object.
class PropertyServices {
public:
    PropertyServices() {
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&m_services)))) {
            m_services = nullptr;
        }
    }
    ~PropertyServices() {
        if (m_services != nullptr) {
            m_services->Release();
        }
    }
    PropertyServices(const PropertyServices&) = delete;
    PropertyServices& operator=(const PropertyServices&) = delete;

    // Null when the runtime has none.
    IAccPropServices* Get() const { return m_services; }

private:
    IAccPropServices* m_services = nullptr;
};

BOOL CALLBACK ClearName(HWND control, LPARAM services) {
    MSAAPROPID texts[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
    reinterpret_cast<IAccPropServices*>(services)->ClearHwndProps(
        control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, texts, 2);
    return TRUE;
}

bool SetText(HWND control, const MSAAPROPID& property, const CString& text) {
    const PropertyServices services;
    if (control == nullptr || services.Get() == nullptr) {
        return false;
    }
    return SUCCEEDED(services.Get()->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                                    CHILDID_SELF, property, WideText(text)));
}

}  // namespace

bool SetAccessibleName(HWND control, const CString& name) {
    return SetText(control, PROPID_ACC_NAME, name);
}

bool SetAccessibleDescription(HWND control, const CString& description) {
    return SetText(control, PROPID_ACC_DESCRIPTION, description);
}

void ClearAccessibleNames(HWND dialog) {
    const PropertyServices services;
    if (dialog == nullptr || services.Get() == nullptr) {
        return;
    }
    EnumChildWindows(dialog, &ClearName, reinterpret_cast<LPARAM>(services.Get()));
}
