// The file services on Windows: kernel32 itself, plus what the program asks
// of an open handle in Windows terms.
#include "platform/file_api.h"
#include "platform/reparse_point.h"

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
