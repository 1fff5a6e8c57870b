#include "bench/pump_intervals.h"

#include <algorithm>
#include <cmath>

PumpIntervals::Duration PumpIntervals::Longest() const {
    if (m_intervals.empty()) {
        return Duration::zero();
    }
    return *std::max_element(m_intervals.begin(), m_intervals.end());
}

PumpIntervals::Duration PumpIntervals::Percentile(double percent) const {
    if (m_intervals.empty()) {
        return Duration::zero();
    }
    std::vector<Duration> sorted = m_intervals;
    std::sort(sorted.begin(), sorted.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}
