// Write-behind on Windows: the system has no call that starts or waits for
// the write-back of a byte range, so the file is flushed whenever more than
// the allowance has been written since the last flush. Each flush then waits
// for about the allowance and one chunk, as the range waits do on Linux.
#include "platform/write_behind.h"

namespace {

// A handle on something other than a file on a medium (a pipe, a console)
// has no cache to flush and says so; that is not a failure of the data.
DWORD FlushError(HANDLE handle) {
    if (FlushFileBuffers(handle)) {
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    return error == ERROR_INVALID_HANDLE || error == ERROR_INVALID_FUNCTION ? ERROR_SUCCESS : error;
}

}  // namespace

DWORD WriteBehind::AfterWrite(DWORD count) {
    if (!m_following) {
        return ERROR_SUCCESS;
    }
    m_runEnd += count;
    return Unsettled() > Allowance() ? SettleTo(m_runEnd) : ERROR_SUCCESS;
}

DWORD WriteBehind::WaitForMedium(std::uint64_t /*end*/) {
    return FlushError(m_handle);  // everything written so far
}

DWORD WriteBehind::FlushToMedium() {
    return FlushError(m_handle);
}
