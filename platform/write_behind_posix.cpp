// Write-behind on Linux: the write-back of every write is started at once,
// and waited for by byte range once it is older than the allowance.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "platform/errno_table.h"
#include "platform/file_api.h"
#include "platform/system_calls_posix.h"
#include "platform/write_behind.h"

namespace {

int FdOf(HANDLE h) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(h));
}

// Errors that say the file does not do what was asked (a pipe, a device, a
// file system without write-back control): nothing to wait for there.
bool NotApplicable(int error) {
    return error == EINVAL || error == ESPIPE || error == EROFS || error == EOPNOTSUPP ||
           error == ENOSYS;
}

// How much write-back one start asks for: a quarter of a chunk, what a
// memory card's controller takes in one request (its limit is 120 to 512
// KiB). On a card at 5 MiB/s one granule is 50 ms of writing.
constexpr std::uint64_t kStartGranule = 256 * 1024;

// A page the writes have reached only partly is filled by the next write.
// Started or waited for now, it would go to the medium twice, the second time
// inside a wait, since the system writes a page again only once its first
// write is done: so starts and waits stop at the last whole page.
constexpr std::uint64_t kPage = 4096;

std::uint64_t PageStart(std::uint64_t offset) {
    return offset / kPage * kPage;
}

DWORD ErrorOf(int result) {
    return result != 0 && !NotApplicable(errno) ? WindowsErrorFromErrno(errno) : ERROR_SUCCESS;
}

}  // namespace

DWORD WriteBehind::AfterWrite(DWORD count) {
    if (!m_following || count == 0) {
        return ERROR_SUCCESS;
    }
    const off_t position = sys::Lseek(FdOf(m_handle), 0, SEEK_CUR);
    if (position < static_cast<off_t>(count)) {
        return ERROR_SUCCESS;  // no position (a pipe): nothing to follow
    }
    const auto end = static_cast<std::uint64_t>(position);
    const std::uint64_t begin = end - count;
    if (begin != m_runEnd) {
        // The writes moved elsewhere in the file: the old run goes to the
        // medium whole, so what is unsettled stays one run, behind the writes.
        if (const DWORD error = SettleTo(m_runEnd); error != ERROR_SUCCESS) {
            return error;
        }
        m_settled = begin;
    }
    m_runEnd = end;
    // Started in granules: the medium reports a request done only when all
    // of it is written, so a wait for the older part of one large request
    // would last until its newest byte is on the medium too.
    const std::uint64_t whole = PageStart(end);
    for (std::uint64_t start = PageStart(begin); start < whole; start += kStartGranule) {
        const std::uint64_t length = std::min<std::uint64_t>(kStartGranule, whole - start);
        if (const DWORD error =
                ErrorOf(sys::SyncFileRange(FdOf(m_handle), static_cast<off_t>(start),
                                           static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE));
            error != ERROR_SUCCESS) {
            return error;
        }
    }
    const std::uint64_t allowance = Allowance();
    if (end - m_settled <= allowance) {
        return ERROR_SUCCESS;
    }
    // However far the allowance has fallen, one wait takes the medium about
    // one chunk further: what is in flight shrinks by a granule a chunk, and
    // no single wait drains a backlog.
    return SettleTo(PageStart(std::min(end - allowance, m_settled + count + kStartGranule)));
}

DWORD WriteBehind::WaitForMedium(std::uint64_t end) {
    constexpr unsigned kWait =
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    return ErrorOf(sys::SyncFileRange(FdOf(m_handle), static_cast<off_t>(m_settled),
                                      static_cast<off_t>(end - m_settled), kWait));
}

DWORD WriteBehind::FlushToMedium() {
    return ErrorOf(sys::Fdatasync(FdOf(m_handle)));
}
