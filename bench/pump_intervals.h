// The stretches of a press in which the window handled no input: from the
// click to the first pump, between two pumps, from the last pump to the
// press's end. How long a user's click could have waited.
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

class PumpIntervals {
public:
    using Duration = std::chrono::steady_clock::duration;

    // Makes room for `count` intervals, so none is lengthened by the record
    // growing while a transfer runs.
    void Reserve(std::size_t count) { m_intervals.reserve(count); }
    void Add(Duration interval) { m_intervals.push_back(interval); }

    std::size_t Count() const { return m_intervals.size(); }
    // Zero when there is none.
    Duration Longest() const;
    // The nearest-rank percentile: the smallest interval that at least
    // `percent` per cent of all are not longer than. Zero when there is none.
    Duration Percentile(double percent) const;

private:
    std::vector<Duration> m_intervals;
};
