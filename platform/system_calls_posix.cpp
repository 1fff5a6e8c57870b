// The system calls of the Linux file layer, each through the test seam.
#include "platform/system_calls_posix.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/eintr_retry.h"
#include "platform/fault_injection.h"
#include "platform/injection_point.h"

namespace sys {

namespace {

using fault_injection::SystemCall;

// Counts the call at the seam; false, with errno set, when the seam fails it.
bool Passes(SystemCall kind) {
    const fault_injection::Verdict verdict = fault_injection::AtSystemCall(kind);
    if (verdict.error != 0) {
        errno = verdict.error;
        return false;
    }
    return true;
}

}  // namespace

int Open(const char* path, int flags, mode_t mode) {
    return RetryOnEintr([&] { return Passes(SystemCall::open) ? ::open(path, flags, mode) : -1; });
}

int Close(int fd) {
    const fault_injection::Verdict verdict = fault_injection::AtSystemCall(SystemCall::close);
    const int result = ::close(fd);
    if (verdict.error != 0) {
        // Released all the same, as a close that reports EIO has released it.
        errno = verdict.error;
        return -1;
    }
    return result;
}

ssize_t Read(int fd, void* buffer, std::size_t count) {
    return RetryOnEintr(
        [&]() -> ssize_t { return Passes(SystemCall::read) ? ::read(fd, buffer, count) : -1; });
}

ssize_t Write(int fd, const void* buffer, std::size_t count) {
    return RetryOnEintr([&]() -> ssize_t {
        const fault_injection::Verdict verdict = fault_injection::AtSystemCall(SystemCall::write);
        if (verdict.error != 0) {
            errno = verdict.error;
            return -1;
        }
        return ::write(fd, buffer, std::min(count, verdict.writeLimit));
    });
}

off_t Lseek(int fd, off_t offset, int whence) {
    return RetryOnEintr(
        [&]() -> off_t { return Passes(SystemCall::lseek) ? ::lseek(fd, offset, whence) : -1; });
}

int Fstat(int fd, struct stat* status) {
    return RetryOnEintr([&] { return Passes(SystemCall::fstat) ? ::fstat(fd, status) : -1; });
}

int Stat(const char* path, struct stat* status) {
    return RetryOnEintr([&] { return Passes(SystemCall::stat) ? ::stat(path, status) : -1; });
}

int Lstat(const char* path, struct stat* status) {
    return RetryOnEintr([&] { return Passes(SystemCall::lstat) ? ::lstat(path, status) : -1; });
}

int SetLock(int fd, const struct flock* lock) {
    return RetryOnEintr(
        [&] { return Passes(SystemCall::lock) ? ::fcntl(fd, F_OFD_SETLK, lock) : -1; });
}

int GetStatusFlags(int fd) {
    return RetryOnEintr([&] { return Passes(SystemCall::fcntl) ? ::fcntl(fd, F_GETFL) : -1; });
}

int SetStatusFlags(int fd, int flags) {
    return RetryOnEintr(
        [&] { return Passes(SystemCall::fcntl) ? ::fcntl(fd, F_SETFL, flags) : -1; });
}

int GetDescriptorFlags(int fd) {
    return RetryOnEintr([&] { return Passes(SystemCall::fcntl) ? ::fcntl(fd, F_GETFD) : -1; });
}

int Fadvise(int fd, off_t offset, off_t length, int advice) {
    return RetryOnEintr([&] {
        if (!Passes(SystemCall::fadvise)) {
            return -1;
        }
        const int error = ::posix_fadvise(fd, offset, length, advice);
        if (error != 0) {
            errno = error;
            return -1;
        }
        return 0;
    });
}

int SyncFileRange(int fd, off_t offset, off_t length, unsigned flags) {
    return RetryOnEintr([&] {
        fault_injection::RecordRangeSync({offset, length, flags});
        return Passes(SystemCall::syncFileRange) ? ::sync_file_range(fd, offset, length, flags)
                                                 : -1;
    });
}

int Fdatasync(int fd) {
    return RetryOnEintr([&] { return Passes(SystemCall::fdatasync) ? ::fdatasync(fd) : -1; });
}

int Unlink(const char* path) {
    return RetryOnEintr([&] { return Passes(SystemCall::unlink) ? ::unlink(path) : -1; });
}

int Ftruncate(int fd, off_t length) {
    return RetryOnEintr(
        [&] { return Passes(SystemCall::ftruncate) ? ::ftruncate(fd, length) : -1; });
}

int Statfs(const char* path, struct statfs* status) {
    return RetryOnEintr([&] { return Passes(SystemCall::statfs) ? ::statfs(path, status) : -1; });
}

}  // namespace sys
