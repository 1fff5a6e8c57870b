#include "platform/write_back_rate.h"

#include <algorithm>

void WriteBackRate::Record(std::uint64_t bytes, std::int64_t nanoseconds) {
    const double sample = static_cast<double>(bytes) * 1e9 /
                          static_cast<double>(std::max<std::int64_t>(nanoseconds, 1));
    if (m_bytesPerSecond == 0) {
        m_bytesPerSecond = sample;
        return;
    }
    // A medium that slows down is believed almost at once: the data in
    // flight must shrink before it holds a close. One that speeds up is
    // believed over a few chunks, so one lucky measurement does not let too
    // much gather.
    const double weight = sample < m_bytesPerSecond ? 0.75 : 0.125;
    m_bytesPerSecond += weight * (sample - m_bytesPerSecond);
}

std::uint64_t WriteBackRate::InFlightAllowance() const {
    const double inTime = m_bytesPerSecond * static_cast<double>(kInFlightTime) / 1e9;
    if (inTime >= static_cast<double>(kMaxInFlight)) {
        return kMaxInFlight;
    }
    return std::max(kMinInFlight, static_cast<std::uint64_t>(inTime));
}
