#include "framework/window/win32/file_drop.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/string.h"
#include "framework/window/dispatch.h"
#include "framework/window/win32/system_text.h"

namespace {

// Tells our subclass procedure from any other on the same field.
constexpr UINT_PTR kFileDropSubclassId = 0x54534B44;  // "TSKD"

// The dropped items handed to a window; released with the object, so a drop
// is released whatever the field does with it.
class DroppedFiles {
public:
    explicit DroppedFiles(HDROP drop) : m_drop(drop) {}
    ~DroppedFiles() {
        if (m_drop != nullptr) {
            DragFinish(m_drop);
        }
    }
    DroppedFiles(const DroppedFiles&) = delete;
    DroppedFiles& operator=(const DroppedFiles&) = delete;

    // The full path of the first item; empty when the drop holds none.
    CString FirstPath() const {
        if (m_drop == nullptr || DragQueryFileW(m_drop, 0xFFFFFFFF, nullptr, 0) == 0) {
            return CString();
        }
        const UINT length = DragQueryFileW(m_drop, 0, nullptr, 0);
        std::vector<wchar_t> path(static_cast<std::size_t>(length) + 1);
        const UINT copied = DragQueryFileW(m_drop, 0, path.data(), length + 1);
        return FromWide(path.data(), static_cast<int>(copied));
    }

private:
    HDROP m_drop;
};

void TakeDrop(HWND field, const DroppedFiles& drop) {
    if (!IsWindowEnabled(field)) {
        return;
    }
    const CString path = drop.FirstPath();
    if (path.IsEmpty()) {
        return;
    }
    // Through the field's own editing, so undo and the change notification
    // see it as any edit.
    SendMessageW(field, EM_SETSEL, 0, -1);
    SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(WideText(path)));
}

LRESULT CALLBACK FileDropProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR) {
    switch (message) {
        case WM_DROPFILES: {
            const DroppedFiles drop(reinterpret_cast<HDROP>(wParam));
            // Copying the path may run out of memory: reported, never thrown
            // through the system's frames.
            AfxCallGuarded(GetParent(field), [field, &drop] { TakeDrop(field, drop); });
            return 0;
        }
        case WM_NCDESTROY:
            // The field's last message: the subclass goes with it.
            RemoveWindowSubclass(field, &FileDropProcedure, id);
            break;
        default:
            break;
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

}  // namespace

void AcceptFileDrops(HWND field) {
    if (!SetWindowSubclass(field, &FileDropProcedure, kFileDropSubclassId, 0)) {
        throw CMemoryException();
    }
    DragAcceptFiles(field, TRUE);
}
