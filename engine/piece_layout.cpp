#include "engine/piece_layout.h"

#include "platform/file_api.h"

CString PiecePath(const CString& folder, int row) {
    const char16_t separator[] = {kPathSeparator, 0};
    CString path;
    path.Format(u"%s%stemp%03d", folder, separator, row);
    return path;
}

CString ResultPath(const CString& folder) {
    CString path = folder;
    path += kPathSeparator;
    path += u"temp";
    return path;
}
