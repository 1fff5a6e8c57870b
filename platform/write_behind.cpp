// What the write-behind does alike on every system.
#include "platform/write_behind.h"
#include "platform/file_api.h"
#include "platform/injection_point.h"

void WriteBehind::Start(HANDLE handle, bool written) {
    *this = WriteBehind();
    m_handle = handle;
    m_following = written;
    m_lastSettled = fault_injection::MonotonicNanoseconds();
}

std::uint64_t WriteBehind::Unsettled() const {
    return m_following ? m_runEnd - m_settled : 0;
}

DWORD WriteBehind::SettleTo(std::uint64_t end) {
    if (end <= m_settled) {
        return ERROR_SUCCESS;
    }
    fault_injection::BeforeMediumWait(m_settled, end);
    const DWORD error = WaitForMedium(end);
    const std::int64_t now = fault_injection::MonotonicNanoseconds();
    m_rate.Record(end - m_settled, now - m_lastSettled);
    m_lastSettled = now;
    m_settled = end;
    return error;
}

DWORD WriteBehind::Flush() {
    if (!m_following) {
        return ERROR_SUCCESS;
    }
    m_following = false;
    fault_injection::BeforeMediumWait(m_settled, m_runEnd);
    m_settled = m_runEnd;
    return FlushToMedium();
}
