#include "platform/write_back_rate.h"

#include <algorithm>
#include <cmath>

void WriteBackRate::Record(std::uint64_t bytes, std::int64_t nanoseconds) {
    const auto duration = static_cast<double>(std::max<std::int64_t>(nanoseconds, 1));
    const double sample = static_cast<double>(bytes) * 1e9 / duration;
    // A slowdown is believed almost at once: the data in flight must shrink
    // before it holds a close. A speed-up counts as long as it was watched.
    const double weight = sample < m_bytesPerSecond
                              ? std::max(0.75, -std::expm1(-duration / kBeliefTime))
                              : -std::expm1(-duration / kBeliefTime);
    m_bytesPerSecond += weight * (sample - m_bytesPerSecond);
}

std::uint64_t WriteBackRate::InFlightAllowance() const {
    const double inTime = m_bytesPerSecond * static_cast<double>(kInFlightTime) / 1e9;
    if (inTime >= static_cast<double>(kMaxInFlight)) {
        return kMaxInFlight;
    }
    return std::max(kMinInFlight, static_cast<std::uint64_t>(inTime));
}
