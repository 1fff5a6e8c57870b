// The benchmark's report: the timed runs of each contender collected and
// compared (per phase the median MB/s of ours and of the standard tool, and
// their ratio), the stretches in which a window handled no input, and sizes,
// durations and speeds as the report shows them.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// One timed run (RunClock): wall-clock seconds on a monotonic clock, and the
// processor seconds (user + system) of this process and of the children it
// waited for meanwhile, so that ours and theirs are counted alike.
struct RunSample {
    double seconds = 0;       // what the throughput is computed from
    double flushSeconds = 0;  // of which flushing the output to disk
    double cpuSeconds = 0;
};

class ThroughputTable {
public:
    explicit ThroughputTable(std::uint64_t bytesPerRun) : m_bytes(bytesPerRun) {}

    void Add(const std::string& contender, const RunSample& sample);
    // Median throughput in MB/s (10^6 bytes) of one contender's runs.
    double MedianMBps(const std::string& contender) const;

    // The header of the comparison lines.
    static std::string Header();
    // The phase, median MB/s of ours and of theirs and their ratio, then the
    // same for the best runs (what is left when the machine's noise: other
    // work, write-back, memory handed back by a virtual machine, happened to
    // miss), then the median processor seconds of each.
    std::string CompareLine(const std::string& phase, const std::string& ours,
                            const std::string& theirs) const;

private:
    struct Runs {
        std::vector<double> mbps;
        std::vector<double> cpuSeconds;
    };
    const Runs& RunsOf(const std::string& contender) const;

    std::uint64_t m_bytes;
    std::map<std::string, Runs> m_runs;
};

// The stretches of a window's presses in which it handled no input: from the
// click to the first pump, between two pumps, and from the last pump to the
// press's end (which holds the closing of the files). How long a user's click
// could have waited.
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
    // The nearest-rank percentile: the smallest stretch that at least
    // `percent` per cent of all are not longer than. Zero when there is none.
    Duration Percentile(double percent) const;
    Duration Longest() const { return Percentile(100); }
    // The longest from the last pump of a press to its end.
    Duration LongestClose() const { return m_longestClose; }

private:
    std::vector<Duration> m_stretches;
    Duration m_longestClose{};
    std::optional<Clock::time_point> m_last;
};

// printf's formatting, into a string.
std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "2048.0 MiB".
std::string Mebibytes(double bytes);
// 12.3 for 12.3 ms.
double InMs(PumpStretches::Duration duration);
// "12.3 ms".
std::string Milliseconds(PumpStretches::Duration duration);
// "1 round", "3 rounds".
std::string RoundsText(int rounds);
// "5 MiB/s", "1536 KiB/s": a medium's write speed as it was asked for.
std::string SpeedText(std::uint64_t bytesPerSecond);
