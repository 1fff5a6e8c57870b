// Write-behind on Linux: write-back started in strides, a flush at close.
#include <fcntl.h>

#include <cerrno>
#include <cstdint>
#include <vector>

#include "platform/errno_table.h"
#include "platform/file_api.h"
#include "platform/system_calls_posix.h"
#include "platform/write_behind.h"

namespace {

// Files this layer writes are pushed to their medium as they are written,
// and flushed when they are closed. The program's pieces go to slow
// removable media: left in the page cache, gigabytes would wait there after
// "done" is shown, the final close would hold the window for minutes, and a
// failure of the medium would surface after the user had taken the card out.
// A write waits for the data written kWriteBehind bytes before it, so the
// copy runs at the medium's pace and at most that much is ever unwritten.
constexpr off_t kWriteBehind = 32 * 1024 * 1024;

// Write-back is started in strides of this size: fewer, larger requests.
constexpr DWORD kPushStride = 8 * 1024 * 1024;

// A regular file open for writing, and how much of it was written since its
// write-back was last started.
struct WrittenFile {
    bool written = false;
    std::uint64_t unpushed = 0;
};

// Indexed by descriptor.
std::vector<WrittenFile>& WrittenFiles() {
    static std::vector<WrittenFile> files;
    return files;
}

WrittenFile* FindWrittenFile(int fd) {
    std::vector<WrittenFile>& files = WrittenFiles();
    if (fd < 0 || static_cast<std::size_t>(fd) >= files.size() || !files[fd].written) {
        return nullptr;
    }
    return &files[fd];
}

// Errors that say the medium does not do what was asked (a pipe, a device, a
// file system without write-back control): nothing to wait for there.
bool NotApplicable(int error) {
    return error == EINVAL || error == ESPIPE || error == EROFS || error == EOPNOTSUPP ||
           error == ENOSYS;
}

// Counts `count` bytes just written to `file` (descriptor `fd`); once a stride
// has gathered, starts its write-back and waits for the stride written
// kWriteBehind before it. The writes since the last stride are taken to end
// at the current position, as the program writes each file front to back.
DWORD PushToMedium(int fd, WrittenFile& file, DWORD count) {
    file.unpushed += count;
    if (file.unpushed < kPushStride) {
        return ERROR_SUCCESS;
    }
    const off_t end = sys::Lseek(fd, 0, SEEK_CUR);
    const auto length = static_cast<off_t>(file.unpushed);
    file.unpushed = 0;
    if (end < length) {
        return ERROR_SUCCESS;
    }
    const off_t start = end - length;
    if (sys::SyncFileRange(fd, start, length, SYNC_FILE_RANGE_WRITE) != 0 &&
        !NotApplicable(errno)) {
        return WindowsErrorFromErrno(errno);
    }
    if (start >= kWriteBehind) {
        const unsigned flags =
            SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
        if (sys::SyncFileRange(fd, start - kWriteBehind, length, flags) != 0 &&
            !NotApplicable(errno)) {
            return WindowsErrorFromErrno(errno);
        }
    }
    return ERROR_SUCCESS;
}

}  // namespace

namespace write_behind {

void Track(int fd, bool written) {
    std::vector<WrittenFile>& files = WrittenFiles();
    if (fd < 0) {
        return;
    }
    if (static_cast<std::size_t>(fd) >= files.size()) {
        if (!written) {
            return;
        }
        files.resize(static_cast<std::size_t>(fd) + 1);
    }
    files[fd] = WrittenFile{written, 0};
}

DWORD AfterWrite(int fd, DWORD count) {
    WrittenFile* file = FindWrittenFile(fd);
    return file == nullptr ? ERROR_SUCCESS : PushToMedium(fd, *file, count);
}

DWORD BeforeClose(int fd) {
    // What was written must be on the medium before the file counts as
    // closed; a failure here is a failure of the writes.
    if (FindWrittenFile(fd) == nullptr) {
        return ERROR_SUCCESS;
    }
    Track(fd, false);
    if (sys::Fdatasync(fd) != 0 && !NotApplicable(errno)) {
        return WindowsErrorFromErrno(errno);
    }
    return ERROR_SUCCESS;
}

}  // namespace write_behind
