#include "framework/window/win32/control_text.h"

#include <commctrl.h>

#include <memory>

#include "framework/core/exceptions.h"
#include "framework/window/control_text.h"
#include "framework/window/dispatch.h"
#include "framework/window/win32/system_text.h"

namespace {

// Tells our subclass procedure from any other on the same box.
constexpr UINT_PTR kCaptionSubclassId = 0x54534B43;  // "TSKC"
// The box's property that holds its exact text (a CString the box owns).
constexpr wchar_t kExactTextProperty[] = L"TesserakExactText";

// The exact text kept for `control`; null when it keeps none.
CString* KeptText(HWND control) {
    return control != nullptr ? static_cast<CString*>(GetPropW(control, kExactTextProperty))
                              : nullptr;
}

// The box's WM_SETTEXT: shows the text on one line, keeps it exactly. FALSE
// when it could not (after the report, for lack of memory).
LRESULT SetCaption(HWND box, LPARAM lParam) {
    LRESULT result = FALSE;
    AfxCallGuarded(GetParent(box), [box, lParam, &result] {
        const CString given =
            lParam != 0 ? CString(reinterpret_cast<const char16_t*>(lParam)) : CString();
        const CString shown = CaptionOnOneLine(given);
        result = DefSubclassProc(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideText(shown)));
        if (CString* kept = KeptText(box); result != FALSE && kept != nullptr) {
            *kept = given;
        }
    });
    return result;
}

LRESULT CALLBACK CaptionProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR) {
    switch (message) {
        case WM_SETTEXT:
            return SetCaption(box, lParam);
        case WM_NCDESTROY: {
            // The box's last message: its text and the subclass go with it.
            const std::unique_ptr<CString> owned(
                static_cast<CString*>(RemovePropW(box, kExactTextProperty)));
            RemoveWindowSubclass(box, &CaptionProcedure, id);
            break;
        }
        default:
            break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void KeepExactCaption(HWND groupBox) {
    if (KeptText(groupBox) != nullptr) {
        return;
    }
    const CString current = WindowTextOf(groupBox);
    auto exact = std::make_unique<CString>(current);
    if (!SetWindowSubclass(groupBox, &CaptionProcedure, kCaptionSubclassId, 0)) {
        throw CMemoryException();
    }
    if (!SetPropW(groupBox, kExactTextProperty, exact.get())) {
        RemoveWindowSubclass(groupBox, &CaptionProcedure, kCaptionSubclassId);
        throw CMemoryException();
    }
    // The box owns the text from here; its WM_NCDESTROY releases it.
    static_cast<void>(exact.release());
    // Through the box's own text setting, which now shows it on one line.
    SetWindowTextW(groupBox, WideText(current));
}

CString ControlText(HWND control) {
    if (const CString* kept = KeptText(control)) {
        return *kept;
    }
    return WindowTextOf(control);
}
