// The benchmark's report: the timed runs of each contender collected and
// compared (per phase the median MB/s of ours and of the standard tool, and
// their ratio), and sizes, durations and speeds as the report shows them.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "bench/run_clock.h"

class ThroughputTable {
public:
    explicit ThroughputTable(std::uint64_t bytesPerRun) : m_bytes(bytesPerRun) {}

    void Add(const std::string& contender, const RunSample& sample);
    // Median throughput in MB/s (10^6 bytes) of one contender's runs.
    double MedianMBps(const std::string& contender) const;
    // The fastest run: what is left when the machine's noise (other work,
    // write-back, memory handed back by a virtual machine) happened to miss.
    double BestMBps(const std::string& contender) const;
    double MedianCpuSeconds(const std::string& contender) const;

    // The header of the comparison lines.
    static std::string Header();
    // The phase, median MB/s of ours and of theirs and their ratio, then the
    // same for the best runs, then the median processor seconds of each.
    std::string CompareLine(const std::string& phase, const std::string& ours,
                            const std::string& theirs) const;

private:
    std::vector<double> RatesOf(const std::string& contender) const;
    const std::vector<RunSample>& SamplesOf(const std::string& contender) const;

    std::uint64_t m_bytes;
    std::map<std::string, std::vector<RunSample>> m_samples;
};

// "2048.0 MiB".
std::string Mebibytes(long long bytes);
// 12.3 for 12.3 ms.
double InMs(std::chrono::steady_clock::duration duration);
// "12.3 ms".
std::string Milliseconds(std::chrono::steady_clock::duration duration);
// "205.10 s".
std::string Seconds(double seconds);
// "5 MiB/s", "1536 KiB/s": a medium's write speed as it was asked for.
std::string SpeedText(std::uint64_t bytesPerSecond);
