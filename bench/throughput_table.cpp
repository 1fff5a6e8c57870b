#include "bench/throughput_table.h"

#include <algorithm>
#include <cstdio>

#include "bench/bench_error.h"

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

void ThroughputTable::Add(const std::string& contender, const RunSample& sample) {
    m_samples[contender].push_back(sample);
}

const std::vector<RunSample>& ThroughputTable::SamplesOf(const std::string& contender) const {
    const auto it = m_samples.find(contender);
    if (it == m_samples.end() || it->second.empty()) {
        throw BenchError("no timed run of " + contender + " was recorded");
    }
    return it->second;
}

std::vector<double> ThroughputTable::RatesOf(const std::string& contender) const {
    std::vector<double> rates;
    for (const auto& sample : SamplesOf(contender)) {
        // A run too short for the clock counts as taking one nanosecond.
        rates.push_back(static_cast<double>(m_bytes) / 1e6 / std::max(sample.seconds, 1e-9));
    }
    return rates;
}

double ThroughputTable::MedianMBps(const std::string& contender) const {
    return Median(RatesOf(contender));
}

double ThroughputTable::BestMBps(const std::string& contender) const {
    const std::vector<double> rates = RatesOf(contender);
    return *std::max_element(rates.begin(), rates.end());
}

double ThroughputTable::MedianCpuSeconds(const std::string& contender) const {
    std::vector<double> cpu;
    for (const auto& sample : SamplesOf(contender)) {
        cpu.push_back(sample.cpuSeconds);
    }
    return Median(cpu);
}

std::string ThroughputTable::Header() {
    char line[200];
    std::snprintf(line, sizeof line, "%-12s %9s  %-10s %9s %6s   %9s %9s %6s   %8s %8s", "phase",
                  "ours MB/s", "theirs", "MB/s", "ratio", "best ours", "theirs", "ratio",
                  "cpu ours", "theirs");
    return line;
}

std::string ThroughputTable::CompareLine(const std::string& phase, const std::string& ours,
                                         const std::string& theirs) const {
    const double oursRate = MedianMBps(ours);
    const double theirsRate = MedianMBps(theirs);
    const double oursBest = BestMBps(ours);
    const double theirsBest = BestMBps(theirs);
    char line[200];
    std::snprintf(
        line, sizeof line, "%-12s %9.1f  %-10s %9.1f %6.3f   %9.1f %9.1f %6.3f   %7.2fs %7.2fs",
        phase.c_str(), oursRate, theirs.c_str(), theirsRate, oursRate / theirsRate, oursBest,
        theirsBest, oursBest / theirsBest, MedianCpuSeconds(ours), MedianCpuSeconds(theirs));
    return line;
}

std::string Mebibytes(long long bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
    return text;
}

double InMs(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

std::string Milliseconds(std::chrono::steady_clock::duration duration) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", InMs(duration));
    return text;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

std::string SpeedText(std::uint64_t bytesPerSecond) {
    constexpr std::uint64_t kMebibyte = std::uint64_t{1} << 20;
    if (bytesPerSecond % kMebibyte == 0) {
        return std::to_string(bytesPerSecond / kMebibyte) + " MiB/s";
    }
    return std::to_string(bytesPerSecond >> 10) + " KiB/s";
}
