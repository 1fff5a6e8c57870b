// The Windows error number of an errno value, for the Linux file layer.
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/errno_table.h"
#include "platform/file_api.h"
#include "platform/system_calls_posix.h"
#include "platform/utf.h"

namespace {

// Windows says "path not found" (3) rather than "file not found" (2) when a
// folder on the way to the file is missing.
DWORD MissingEntryError(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return path.empty() ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    }
    const std::string parent = slash == 0 ? std::string("/") : path.substr(0, slash);
    struct stat st {};
    if (sys::Stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return ERROR_PATH_NOT_FOUND;
    }
    return ERROR_FILE_NOT_FOUND;
}

}  // namespace

DWORD WindowsErrorFromErrno(int error, const char16_t* path) {
    switch (error) {
        case 0:
            return ERROR_SUCCESS;
        case ENOENT: {
            // A path that is not well-formed UTF-16 has no Linux name to look at.
            std::string utf8;
            if (path != nullptr && Utf16ToUtf8(std::u16string_view(path), utf8)) {
                return MissingEntryError(utf8);
            }
            return ERROR_FILE_NOT_FOUND;
        }
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case EROFS:
            return ERROR_WRITE_PROTECT;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:  // a FAT32 medium refusing a file over 4 GiB
            return ERROR_DISK_FULL;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case EFAULT:
            return ERROR_NOACCESS;
        case EIO:
            return ERROR_CRC;
        case ENODEV:
        case ENXIO:  // the medium is gone
            return ERROR_NOT_READY;
        case EAGAIN:
        case ETXTBSY:
            return ERROR_SHARING_VIOLATION;
        case EBUSY:
            return ERROR_BUSY;
        case EXDEV:
            return ERROR_NOT_SAME_DEVICE;
        case ESPIPE:
            return ERROR_SEEK_ON_DEVICE;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EINVAL:
            return ERROR_INVALID_PARAMETER;
        default:
            // 1117 (ERROR_IO_DEVICE) is not in the program's cause table, so the
            // failure is reported as an unknown error rather than misnamed.
            return 1117;
    }
}
