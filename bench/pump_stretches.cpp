#include "bench/pump_stretches.h"

#include <algorithm>
#include <cmath>

void PumpStretches::Pump() {
    const auto now = Clock::now();
    if (m_last) {
        m_stretches.push_back(now - *m_last);
    }
    m_last = now;
}

void PumpStretches::EndPress() {
    if (m_last) {
        m_stretches.push_back(Clock::now() - *m_last);
        m_longestClose = std::max(m_longestClose, m_stretches.back());
    }
    m_last.reset();
}

PumpStretches::Duration PumpStretches::Longest() const {
    return m_stretches.empty() ? Duration::zero()
                               : *std::max_element(m_stretches.begin(), m_stretches.end());
}

PumpStretches::Duration PumpStretches::Percentile(double percent) const {
    if (m_stretches.empty()) {
        return Duration::zero();
    }
    std::vector<Duration> sorted = m_stretches;
    std::sort(sorted.begin(), sorted.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}
