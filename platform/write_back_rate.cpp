#include "platform/write_back_rate.h"

#include <algorithm>
#include <cmath>

void WriteBackRate::Record(std::uint64_t bytes, std::int64_t nanoseconds) {
    const auto duration = static_cast<double>(std::max<std::int64_t>(nanoseconds, 1));
    const double sample = static_cast<double>(bytes) * 1e9 / duration;
    const double weight = -std::expm1(-duration / static_cast<double>(kBeliefTime));
    m_bytesPerSecond += weight * (sample - m_bytesPerSecond);
}

std::uint64_t WriteBackRate::InFlightAllowance() const {
    const double inTime = m_bytesPerSecond * static_cast<double>(kInFlightTime) / 1e9;
    if (inTime >= static_cast<double>(kMaxInFlight)) {
        return kMaxInFlight;
    }
    return std::max(kMinInFlight, static_cast<std::uint64_t>(inTime));
}
