// What the write-behind does alike on every system.
#include "platform/write_behind.h"
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

void WriteBehind::Measured(std::uint64_t bytes) {
    const std::int64_t now = fault_injection::MonotonicNanoseconds();
    m_rate.Record(bytes, now - m_lastSettled);
    m_lastSettled = now;
}
