// kernel32's file services on Linux, with Windows results and error numbers.
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/errno_table.h"
#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "platform/injection_point.h"
#include "platform/share_lock.h"
#include "platform/system_calls_posix.h"
#include "platform/utf.h"

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

// Whether the test seam fails `call` now; the failure's number becomes the
// thread's last error.
bool TakeInjectedFailure(fault_injection::Call call) {
    DWORD error = ERROR_SUCCESS;
    if (!fault_injection::TakeFailure(call, error)) {
        return false;
    }
    t_lastError = error;
    return true;
}

int FdOf(HANDLE h) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(h));
}
HANDLE HandleOf(int fd) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd));
}

// A path that is not well-formed UTF-16 (a lone surrogate) has no Linux name.
bool ToUtf8Path(const char16_t* path, std::string& out) {
    return Utf16ToUtf8(std::u16string_view(path), out);
}

// A read or write failure as Windows reports it. EBADF on a descriptor that is
// open means it was not opened for that direction, which Windows refuses with
// "access denied"; only a handle that is not open at all is "invalid handle".
DWORD TransferError(HANDLE h, int error) {
    if (error == EBADF && sys::GetDescriptorFlags(FdOf(h)) != -1) {
        return ERROR_ACCESS_DENIED;
    }
    return WindowsErrorFromErrno(error);
}

// `offset` bytes into the caller's buffer. A null buffer stays null, with no
// arithmetic on it, so that the system call reports it (EFAULT).
template <typename Byte>
Byte* At(Byte* buffer, DWORD offset) {
    return buffer == nullptr ? nullptr : buffer + offset;
}

enum class Direction { read, write };

// The loop of ReadFile and WriteFile: `move(offset, count)` is one system
// read or write of `count` bytes at `offset` in the caller's buffer. Like
// Windows on a disk file, the whole `total` moves unless the data ends first
// (a call that moves nothing). `done` receives what moved, also on failure.
template <typename Move>
BOOL MoveAll(HANDLE h, DWORD total, DWORD& done, Direction direction, Move move) {
    done = 0;
    while (done < total) {
        const std::size_t want = std::min<std::size_t>(total - done, 0x40000000);  // 1 GiB per call
        const ssize_t moved = move(done, want);
        if (moved < 0) {
            const bool mediumFull = errno == ENOSPC || errno == EDQUOT || errno == EFBIG;
            if (direction == Direction::write && done > 0 && mediumFull) {
                // The medium took part of the block: a short count, as Windows
                // reports a disk that filled up during the write.
                return TRUE;
            }
            t_lastError = TransferError(h, errno);
            return FALSE;
        }
        if (moved == 0) {
            break;
        }
        done += static_cast<DWORD>(moved);
    }
    return TRUE;
}

// Opens `path` with `flags` as `disposition` asks. `created` tells whether
// this call made the file, so that an open that fails after it can take the
// file away again.
int OpenOrCreate(const std::string& path, int flags, DWORD disposition, bool& created) {
    created = false;
    if (disposition == CREATE_NEW) {
        // O_EXCL never follows a link at the final name.
        const int fd = sys::Open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
        created = fd >= 0;
        return fd;
    }
    const int fd = sys::Open(path.c_str(), flags, 0666);
    if (disposition == OPEN_EXISTING || fd >= 0 || errno != ENOENT) {
        return fd;
    }
    // OPEN_ALWAYS (never truncates) where nothing was found: an exclusive
    // create, so that a file made here is known to be this call's own.
    const int createdFd = sys::Open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (createdFd >= 0 || errno != EEXIST) {
        created = createdFd >= 0;
        return createdFd;
    }
    // Made by another meanwhile, or a link whose target is missing, which
    // the open creates: either way not this call's own to take away.
    return sys::Open(path.c_str(), flags | O_CREAT, 0666);
}

// Gives up an open that failed after its descriptor was made: removes the
// file at `createdPath` (null: none) and releases the descriptor.
void AbandonOpen(int fd, const char* createdPath) {
    if (createdPath != nullptr) {
        (void)sys::Unlink(createdPath);
    }
    (void)sys::Close(fd);
}

}  // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE /*hTemplateFile*/) {
    std::string path;
    if (lpFileName == nullptr || !ToUtf8Path(lpFileName, path)) {
        t_lastError = ERROR_INVALID_NAME;
        return INVALID_HANDLE_VALUE;
    }
    if (path.empty()) {
        t_lastError = ERROR_PATH_NOT_FOUND;
        return INVALID_HANDLE_VALUE;
    }

    // O_NONBLOCK only for the open itself: a FIFO at the path must not hold
    // the window's thread until some other program opens its other end.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if ((dwFlagsAndAttributes & FILE_FLAG_OPEN_REPARSE_POINT) != 0) {
        flags |= O_NOFOLLOW;  // a link at the name fails the open (ELOOP)
    }
    const bool wantRead = (dwDesiredAccess & GENERIC_READ) != 0;
    const bool wantWrite = (dwDesiredAccess & GENERIC_WRITE) != 0;
    if (wantRead && wantWrite) {
        flags |= O_RDWR;
    } else if (wantWrite) {
        flags |= O_WRONLY;
    } else {
        flags |= O_RDONLY;
    }
    if (dwCreationDisposition != CREATE_NEW && dwCreationDisposition != OPEN_ALWAYS &&
        dwCreationDisposition != OPEN_EXISTING) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return INVALID_HANDLE_VALUE;
    }

    bool created = false;
    const int fd = OpenOrCreate(path, flags, dwCreationDisposition, created);
    if (fd < 0) {
        t_lastError = WindowsErrorFromErrno(errno, lpFileName);
        return INVALID_HANDLE_VALUE;
    }

    struct stat st {};
    DWORD failure = ERROR_SUCCESS;
    if (sys::Fstat(fd, &st) != 0) {
        failure = WindowsErrorFromErrno(errno);
    } else if (S_ISDIR(st.st_mode)) {
        failure = ERROR_ACCESS_DENIED;  // Windows refuses to open a folder as a file
    } else {
        const int statusFlags = sys::GetStatusFlags(fd);
        if (statusFlags != -1) {
            (void)sys::SetStatusFlags(fd, statusFlags & ~O_NONBLOCK);
        }
        failure = TakeShareLock(fd, dwDesiredAccess, dwShareMode);
    }
    if (failure != ERROR_SUCCESS) {
        // A file that another open holds by now (a conflicting lock) is no
        // longer this call's alone to remove.
        const bool remove = created && failure != ERROR_SHARING_VIOLATION;
        AbandonOpen(fd, remove ? path.c_str() : nullptr);
        t_lastError = failure;
        return INVALID_HANDLE_VALUE;
    }
    if ((dwFlagsAndAttributes & FILE_FLAG_SEQUENTIAL_SCAN) != 0) {
        // Only a hint: a file system that ignores it reads just as correctly.
        (void)sys::Fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    // As Windows tells an OPEN_ALWAYS caller whether the file was there.
    const bool existed = dwCreationDisposition == OPEN_ALWAYS && !created;
    t_lastError = existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    return HandleOf(fd);
}

BOOL ReadFile(HANDLE hFile, void* lpBuffer, DWORD nNumberOfBytesToRead, DWORD* lpNumberOfBytesRead,
              LPOVERLAPPED /*lpOverlapped*/) {
    auto* out = static_cast<unsigned char*>(lpBuffer);
    const int fd = FdOf(hFile);
    DWORD done = 0;
    const BOOL result = MoveAll(
        hFile, nNumberOfBytesToRead, done, Direction::read,
        [&](DWORD offset, std::size_t count) { return sys::Read(fd, At(out, offset), count); });
    if (lpNumberOfBytesRead != nullptr) {
        *lpNumberOfBytesRead = done;
    }
    return result;
}

BOOL WriteFile(HANDLE hFile, const void* lpBuffer, DWORD nNumberOfBytesToWrite,
               DWORD* lpNumberOfBytesWritten, LPOVERLAPPED /*lpOverlapped*/) {
    const auto* in = static_cast<const unsigned char*>(lpBuffer);
    const int fd = FdOf(hFile);
    DWORD done = 0;
    const BOOL result = MoveAll(
        hFile, nNumberOfBytesToWrite, done, Direction::write,
        [&](DWORD offset, std::size_t count) { return sys::Write(fd, At(in, offset), count); });
    if (lpNumberOfBytesWritten != nullptr) {
        *lpNumberOfBytesWritten = done;
    }
    return result;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh,
                     DWORD dwMoveMethod) {
    if (TakeInjectedFailure(fault_injection::Call::SetFilePointer)) {
        return INVALID_SET_FILE_POINTER;
    }
    std::int64_t distance = lDistanceToMove;  // without a high half: signed 32-bit
    if (lpDistanceToMoveHigh != nullptr) {
        distance = static_cast<std::int64_t>(
            (static_cast<std::uint64_t>(static_cast<std::uint32_t>(*lpDistanceToMoveHigh)) << 32) |
            static_cast<std::uint32_t>(lDistanceToMove));
    }
    int whence;
    switch (dwMoveMethod) {
        case FILE_BEGIN:
            whence = SEEK_SET;
            if (distance < 0) {
                // Windows refuses a negative position before touching the file.
                t_lastError = ERROR_NEGATIVE_SEEK;
                return INVALID_SET_FILE_POINTER;
            }
            break;
        case FILE_CURRENT:
            whence = SEEK_CUR;
            break;
        case FILE_END:
            whence = SEEK_END;
            break;
        default:
            t_lastError = ERROR_INVALID_PARAMETER;
            return INVALID_SET_FILE_POINTER;
    }
    const off_t position = sys::Lseek(FdOf(hFile), static_cast<off_t>(distance), whence);
    if (position < 0) {
        t_lastError = errno == EINVAL ? ERROR_NEGATIVE_SEEK : WindowsErrorFromErrno(errno);
        return INVALID_SET_FILE_POINTER;
    }
    const auto value = static_cast<std::uint64_t>(position);
    if (lpDistanceToMoveHigh != nullptr) {
        *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<std::uint32_t>(value >> 32));
    }
    t_lastError = ERROR_SUCCESS;  // so that a low half of 0xFFFFFFFF reads as valid
    return static_cast<DWORD>(value & 0xFFFFFFFFu);
}

DWORD GetFileSize(HANDLE hFile, DWORD* lpFileSizeHigh) {
    if (TakeInjectedFailure(fault_injection::Call::GetFileSize)) {
        return INVALID_FILE_SIZE;
    }
    struct stat st {};
    if (sys::Fstat(FdOf(hFile), &st) != 0) {
        t_lastError = WindowsErrorFromErrno(errno);
        return INVALID_FILE_SIZE;
    }
    const auto value = static_cast<std::uint64_t>(st.st_size);
    if (lpFileSizeHigh != nullptr) {
        *lpFileSizeHigh = static_cast<DWORD>(value >> 32);
    }
    t_lastError = ERROR_SUCCESS;
    return static_cast<DWORD>(value & 0xFFFFFFFFu);
}

BOOL SetEndOfFile(HANDLE hFile) {
    const int fd = FdOf(hFile);
    const off_t position = sys::Lseek(fd, 0, SEEK_CUR);
    if (position < 0 || sys::Ftruncate(fd, position) != 0) {
        t_lastError = TransferError(hFile, errno);
        return FALSE;
    }
    t_lastError = ERROR_SUCCESS;
    return TRUE;
}

DWORD GetFileType(HANDLE hFile) {
    struct stat st {};
    if (sys::Fstat(FdOf(hFile), &st) != 0) {
        t_lastError = WindowsErrorFromErrno(errno);
        return FILE_TYPE_UNKNOWN;
    }
    t_lastError = ERROR_SUCCESS;
    if (S_ISREG(st.st_mode)) {
        return FILE_TYPE_DISK;
    }
    if (S_ISCHR(st.st_mode)) {
        return FILE_TYPE_CHAR;
    }
    if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) {
        return FILE_TYPE_PIPE;
    }
    // A block device reads like a disk but is the whole medium, not a file
    // on it; folders never get this far.
    return FILE_TYPE_UNKNOWN;
}

BOOL CloseHandle(HANDLE hObject) {
    const int fd = FdOf(hObject);
    if (TakeInjectedFailure(fault_injection::Call::CloseHandle)) {
        (void)sys::Close(fd);  // the descriptor is gone either way, as on Windows
        return FALSE;
    }
    // Linux releases the descriptor even when close reports EINTR; retrying
    // could close a descriptor opened meanwhile, so EINTR counts as done.
    if (sys::Close(fd) != 0 && errno != EINTR) {
        t_lastError = WindowsErrorFromErrno(errno);
        return FALSE;
    }
    return TRUE;
}

DWORD GetLastError() {
    return t_lastError;
}

void SetLastError(DWORD dwErrCode) {
    t_lastError = dwErrCode;
}

bool IsLinkHandle(HANDLE /*hFile*/) {
    return false;
}

BOOL DeleteFileW(LPCWSTR lpFileName) {
    std::string path;
    if (lpFileName == nullptr || !ToUtf8Path(lpFileName, path)) {
        t_lastError = ERROR_INVALID_NAME;
        return FALSE;
    }
    if (sys::Unlink(path.c_str()) != 0) {
        t_lastError = WindowsErrorFromErrno(errno, lpFileName);
        return FALSE;
    }
    t_lastError = ERROR_SUCCESS;
    return TRUE;
}

BOOL MakeSparse(HANDLE /*hFile*/) {
    // Linux file systems keep what is never written as holes by themselves.
    if (TakeInjectedFailure(fault_injection::Call::MakeSparse)) {
        return FALSE;
    }
    t_lastError = ERROR_SUCCESS;
    return TRUE;
}
