// Icons from the program's icon resources.
#include "framework/window/icon.h"

HICON LoadIconResource(const IconResource& resource) {
    // Shared: the system keeps one icon per resource for the process and
    // frees it at the end, so nothing here owns it. The large size; the
    // system draws the small one from the same resource.
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource.id),
                                         IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
