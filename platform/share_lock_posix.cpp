// Share modes on Linux as whole-file open-file-description locks.
#include <fcntl.h>

#include <cerrno>

#include "platform/errno_table.h"
#include "platform/file_api.h"
#include "platform/share_lock.h"
#include "platform/system_calls_posix.h"

DWORD TakeShareLock(int fd, DWORD access, DWORD shareMode) {
    struct flock lock {};
    const bool exclusive = (shareMode & FILE_SHARE_READ) == 0;
    // A read-only descriptor cannot hold a write lock; it keeps others from
    // writing, which is what sharing reads asks for anyway.
    lock.l_type = (exclusive && (access & GENERIC_WRITE) != 0) ? F_WRLCK : F_RDLCK;
    if (lock.l_type == F_RDLCK && (access & GENERIC_READ) == 0) {
        // A write-only descriptor that lets others read: a write lock would
        // shut them out, a read lock cannot be taken; hold none.
        return ERROR_SUCCESS;
    }
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    lock.l_pid = 0;
    // Unlike F_SETLK locks, open-file-description locks survive the closing
    // of another descriptor of the same file.
    if (sys::SetLock(fd, &lock) != 0) {
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) {
            // A file system that keeps no locks (NFS without its lock
            // service, some FUSE media): the file is still usable, only
            // unguarded against other programs.
            return ERROR_SUCCESS;
        }
        return (errno == EAGAIN || errno == EACCES) ? ERROR_SHARING_VIOLATION
                                                    : WindowsErrorFromErrno(errno);
    }
    return ERROR_SUCCESS;
}
