#include "framework/window/win32/control_kind.h"

#include <cwchar>

namespace {

bool HasClass(HWND control, const wchar_t* name) {
    wchar_t className[16] = {};
    const int length = GetClassNameW(control, className, 16);
    return length > 0 && _wcsicmp(className, name) == 0;
}

}  // namespace

ControlKind KindOf(HWND control) {
    if (control == nullptr) {
        return ControlKind::other;
    }
    if (HasClass(control, L"Edit")) {
        return ControlKind::editField;
    }
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (HasClass(control, L"Button") && (style & BS_TYPEMASK) == BS_GROUPBOX) {
        return ControlKind::groupBox;
    }
    return ControlKind::other;
}
