// The file services on Windows: kernel32 itself, plus what the program asks
// of an open handle in Windows terms.
#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "platform/injection_point.h"
#include "platform/reparse_point.h"

// After windows.h, which it needs.
#include <winioctl.h>

static_assert(kReparsePointAttribute == FILE_ATTRIBUTE_REPARSE_POINT);
static_assert(IsLinkReparsePoint(FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_SYMLINK) &&
              IsLinkReparsePoint(FILE_ATTRIBUTE_REPARSE_POINT, IO_REPARSE_TAG_MOUNT_POINT));

bool IsLinkHandle(HANDLE hFile) {
    FILE_ATTRIBUTE_TAG_INFO information{};
    // A handle that cannot say what it is on is not trusted with the data.
    return !GetFileInformationByHandleEx(hFile, FileAttributeTagInfo, &information,
                                         sizeof information) ||
           IsLinkReparsePoint(information.FileAttributes, information.ReparseTag);
}

BOOL MakeSparse(HANDLE hFile) {
    DWORD ignored = ERROR_SUCCESS;  // what the press does next needs no error number
    if (fault_injection::TakeFailure(fault_injection::Call::MakeSparse, ignored)) {
        return FALSE;
    }
    DWORD flags = 0;
    if (!GetVolumeInformationByHandleW(hFile, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) ||
        (flags & FILE_SUPPORTS_SPARSE_FILES) == 0) {
        return FALSE;
    }
    DWORD returned = 0;
    return DeviceIoControl(hFile, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
}
