// The stretches of a window's presses in which it handled no input: from the
// click to the first pump, between two pumps, and from the last pump to the
// press's end (which holds the closing of the files). How long a user's click
// could have waited.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <vector>

class PumpStretches {
public:
    using Clock = std::chrono::steady_clock;
    using Duration = Clock::duration;

    // Makes room for `count` stretches, so none is lengthened by the record
    // growing while a transfer runs.
    void Reserve(std::size_t count) { m_stretches.reserve(count); }

    // Just before the click of a press, at the start of each of its pumps,
    // and just after the click has returned.
    void BeginPress() { m_last = Clock::now(); }
    void Pump();
    void EndPress();

    std::size_t Count() const { return m_stretches.size(); }
    // Zero when there is none.
    Duration Longest() const;
    // The nearest-rank percentile: the smallest stretch that at least
    // `percent` per cent of all are not longer than. Zero when there is none.
    Duration Percentile(double percent) const;
    // The longest from the last pump of a press to its end.
    Duration LongestClose() const { return m_longestClose; }

private:
    std::vector<Duration> m_stretches;
    Duration m_longestClose{};
    std::optional<Clock::time_point> m_last;
};
