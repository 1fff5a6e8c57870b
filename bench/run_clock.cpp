#include "bench/run_clock.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "bench/bench_error.h"
#include "bench/work_folder.h"

namespace {

constexpr const char* kDropCaches = "/proc/sys/vm/drop_caches";

rusage UsageOf(int who) {
    rusage usage = {};
    getrusage(who, &usage);
    return usage;
}

double CpuSecondsSoFar() {
    double seconds = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        const rusage usage = UsageOf(who);
        for (const timeval& time : {usage.ru_utime, usage.ru_stime}) {
            seconds += static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
        }
    }
    return seconds;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

// Opening for writing is the real test: root inside a container may pass
// access(2) and still meet a read-only /proc/sys.
RunClock::RunClock(bool cold, bool sync)
    : m_cold(cold), m_sync(sync), m_canDrop(std::ofstream(kDropCaches, std::ios::app).is_open()) {
    if (m_cold && !m_canDrop) {
        throw BenchError(std::string("--cold needs to write ") + kDropCaches +
                         ", which this user cannot (run as root)");
    }
}

RunSample RunClock::Time(const Paths& inputs, const std::function<void()>& run,
                         const Paths& outputs) const {
    PrepareCache(inputs);
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = CpuSecondsSoFar();
    run();
    const double copied = SecondsSince(start);
    if (m_sync) {
        FlushFilesToDisk(outputs);
    }
    const double seconds = m_sync ? SecondsSince(start) : copied;
    const RunSample sample = {seconds, seconds - copied, CpuSecondsSoFar() - cpuStart};
    if (!m_sync) {
        FlushFilesToDisk(outputs);
    }
    return sample;
}

void RunClock::PrepareCache(const Paths& inputs) const {
    ::sync();
    if (m_canDrop && !(std::ofstream(kDropCaches, std::ios::app) << "3\n" << std::flush)) {
        throw BenchError(std::string("cannot write 3 to ") + kDropCaches +
                         " to drop the page cache");
    }
    // read(2) through a small buffer, not mmap, so the warming does not show
    // up in the resident-memory figure of the engine.
    std::vector<char> buffer(std::size_t{1} << 20);
    for (const auto& input : m_cold ? Paths{} : inputs) {
        std::ifstream file(input, std::ios::binary);
        while (file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()))) {
            ThrowIfInterrupted("the warming of the page cache");
        }
        if (!file.eof()) {
            throw BenchError("cannot read " + input.string() + " to warm the page cache");
        }
    }
}

std::string RunClock::Describe() const {
    if (m_cold) {
        return "cold cache: before each timed run, sync and drop the whole page cache";
    }
    if (m_canDrop) {
        return "warm cache: before each timed run, sync, drop the page cache and read the run's "
               "input once, so only the input is cached";
    }
    return "warm cache: before each timed run, sync and read the run's input once (the cache "
           "cannot be dropped without root, so earlier runs' files may stay cached too)";
}

RunSample TimeOrRun(const RunClock* clock, const RunClock::Paths& inputs,
                    const std::function<void()>& run, const RunClock::Paths& outputs) {
    if (clock != nullptr) {
        return clock->Time(inputs, run, outputs);
    }
    run();
    return {};
}

double PeakResidentBytesOfSelf() {
    return static_cast<double>(UsageOf(RUSAGE_SELF).ru_maxrss) * 1024;  // Linux: KiB
}

double PeakResidentBytesOfChildren() {
    return static_cast<double>(UsageOf(RUSAGE_CHILDREN).ru_maxrss) * 1024;
}
