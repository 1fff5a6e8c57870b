// Times the benchmark's runs, ours and the standard tools' alike, under the
// same conditions. Before each run the page cache is put in the same state:
// pending write-back is flushed first, so no run pays for the previous run's
// writes; then, when the cache can be dropped (root), cold drops it, so the
// run reads its input from disk, and warm drops it and reads the run's input
// once, so exactly the input is cached. Without root, warm only reads the
// input, and whatever earlier runs left cached stays.
//
// Dropping matters more than it seems: on a virtual machine that hands freed
// memory back to its host, fresh page-cache pages can cost several times more
// to fill, so the run that follows another one's writes would be slower for
// reasons that have nothing to do with the program under test.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/throughput_table.h"

class RunClock {
public:
    using Paths = std::vector<std::filesystem::path>;

    // With `sync` the clock stops once a run's outputs are flushed to disk,
    // without it before they are flushed. Raises BenchError at once when
    // `cold` is asked for but the cache cannot be dropped.
    RunClock(bool cold, bool sync);

    // Times `run`, which reads `inputs` and writes `outputs`.
    RunSample Time(const Paths& inputs, const std::function<void()>& run,
                   const Paths& outputs) const;
    // Puts the cache in that state for a run that reads `inputs`, for runs
    // that are timed otherwise.
    void PrepareCache(const Paths& inputs) const;
    // One line for the report: how the cache is handled.
    std::string Describe() const;

private:
    bool m_cold;
    bool m_sync;
    bool m_canDrop;
};

// `run` timed by `clock` (RunClock::Time), or run untimed, giving an empty
// sample, when there is no clock.
RunSample TimeOrRun(const RunClock* clock, const RunClock::Paths& inputs,
                    const std::function<void()>& run, const RunClock::Paths& outputs);

// The peak resident set of this process (which runs the engine) and the
// largest of the children waited for so far (the standard tools), in bytes.
double PeakResidentBytesOfSelf();
double PeakResidentBytesOfChildren();
