#include "bench/phase_timer.h"

#include <sys/resource.h>

namespace {

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

double CpuSecondsOf(int who) {
    rusage usage = {};
    getrusage(who, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

long long PeakResidentBytesOf(int who) {
    rusage usage = {};
    getrusage(who, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;  // Linux counts in KiB
}

}  // namespace

PhaseTimer::PhaseTimer()
    : m_start(std::chrono::steady_clock::now()), m_cpuStart(CpuSecondsSoFar()) {}

double PhaseTimer::Elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

RunSample PhaseTimer::Stop() const {
    RunSample sample;
    sample.seconds = Elapsed();
    sample.cpuSeconds = CpuSecondsSoFar() - m_cpuStart;
    return sample;
}

double PhaseTimer::CpuSecondsSoFar() {
    return CpuSecondsOf(RUSAGE_SELF) + CpuSecondsOf(RUSAGE_CHILDREN);
}

long long PeakResidentBytesOfSelf() {
    return PeakResidentBytesOf(RUSAGE_SELF);
}

long long PeakResidentBytesOfChildren() {
    return PeakResidentBytesOf(RUSAGE_CHILDREN);
}
