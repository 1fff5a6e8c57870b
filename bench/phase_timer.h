// Times one run: wall-clock seconds on a monotonic clock, and the processor
// seconds (user + system) spent by this process and by the children it
// waited for in the meantime, so that ours and theirs are counted alike.
#pragma once

#include <chrono>

struct RunSample {
    double seconds = 0;       // what the throughput is computed from
    double flushSeconds = 0;  // of which flushing the output to disk
    double cpuSeconds = 0;
};

class PhaseTimer {
public:
    PhaseTimer();
    RunSample Stop() const;
    // Wall-clock seconds since the start, without stopping.
    double Elapsed() const;

private:
    static double CpuSecondsSoFar();

    std::chrono::steady_clock::time_point m_start;
    double m_cpuStart;
};

// Peak resident set of this process (which runs the engine) and the largest
// of the children waited for so far (the standard tools), in bytes.
long long PeakResidentBytesOfSelf();
long long PeakResidentBytesOfChildren();
