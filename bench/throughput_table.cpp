#include "bench/throughput_table.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "bench/bench_error.h"

namespace {

double Median(std::vector<double> values) {
    std::ranges::sort(values);
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

void ThroughputTable::Add(const std::string& contender, const RunSample& sample) {
    Runs& runs = m_runs[contender];
    // A run too short for the clock counts as taking one nanosecond.
    runs.mbps.push_back(static_cast<double>(m_bytes) / 1e6 / std::max(sample.seconds, 1e-9));
    runs.cpuSeconds.push_back(sample.cpuSeconds);
}

const ThroughputTable::Runs& ThroughputTable::RunsOf(const std::string& contender) const {
    const auto it = m_runs.find(contender);
    if (it == m_runs.end()) {
        throw BenchError("no timed run of " + contender + " was recorded");
    }
    return it->second;
}

double ThroughputTable::MedianMBps(const std::string& contender) const {
    return Median(RunsOf(contender).mbps);
}

std::string ThroughputTable::Header() {
    return Printf("%-12s %9s  %-10s %9s %6s   %9s %9s %6s   %8s %8s", "phase", "ours MB/s",
                  "theirs", "MB/s", "ratio", "best ours", "theirs", "ratio", "cpu ours", "theirs");
}

std::string ThroughputTable::CompareLine(const std::string& phase, const std::string& ours,
                                         const std::string& theirs) const {
    const double oursRate = MedianMBps(ours);
    const double theirsRate = MedianMBps(theirs);
    const double oursBest = std::ranges::max(RunsOf(ours).mbps);
    const double theirsBest = std::ranges::max(RunsOf(theirs).mbps);
    return Printf("%-12s %9.1f  %-10s %9.1f %6.3f   %9.1f %9.1f %6.3f   %7.2fs %7.2fs",
                  phase.c_str(), oursRate, theirs.c_str(), theirsRate, oursRate / theirsRate,
                  oursBest, theirsBest, oursBest / theirsBest, Median(RunsOf(ours).cpuSeconds),
                  Median(RunsOf(theirs).cpuSeconds));
}

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

PumpStretches::Duration PumpStretches::Percentile(double percent) const {
    if (m_stretches.empty()) {
        return Duration::zero();
    }
    std::vector<Duration> sorted = m_stretches;
    std::ranges::sort(sorted);
    const auto rank =
        static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

std::string Printf(const char* format, ...) {
    std::va_list args;
    std::va_list again;
    va_start(args, format);
    va_copy(again, args);
    std::string text(static_cast<std::size_t>(std::vsnprintf(nullptr, 0, format, args)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);  // and the closing '\0'
    va_end(again);
    va_end(args);
    return text;
}

std::string Mebibytes(double bytes) {
    return Printf("%.1f MiB", bytes / (1 << 20));
}

double InMs(PumpStretches::Duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

std::string Milliseconds(PumpStretches::Duration duration) {
    return Printf("%.1f ms", InMs(duration));
}

std::string RoundsText(int rounds) {
    return std::to_string(rounds) + (rounds == 1 ? " round" : " rounds");
}

std::string SpeedText(std::uint64_t bytesPerSecond) {
    constexpr std::uint64_t kMebibyte = std::uint64_t{1} << 20;
    return bytesPerSecond % kMebibyte == 0 ? std::to_string(bytesPerSecond / kMebibyte) + " MiB/s"
                                           : std::to_string(bytesPerSecond >> 10) + " KiB/s";
}
