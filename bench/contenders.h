// The timed runs of the benchmark, ours and the standard tools' alike: before
// each, the page cache is put in the same state for the run's inputs
// (PageCachePolicy); the clock stops once the run's outputs are flushed to
// disk, or, without sync, before they are flushed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "bench/engine_runner.h"
#include "bench/page_cache_policy.h"
#include "bench/phase_timer.h"
#include "bench/pump_stretches.h"
#include "bench/window_runner.h"

class Contenders {
public:
    using Paths = std::vector<std::filesystem::path>;

    // Raises BenchError at once when `cold` is asked for but the cache cannot
    // be dropped, or when the window framework cannot start.
    Contenders(bool cold, bool sync) : m_cache(cold), m_sync(sync) {}

    // One line for the report: how the cache is handled.
    std::string DescribeCache() const { return m_cache.Describe(); }

    // The engine's and the window's ten presses of a split of `source` into
    // `rows` and of a join of `rows` into `dest` (see EngineRunner and
    // WindowRunner); the window's stretches without a pump go into
    // `stretches`.
    RunSample EngineSplit(const std::filesystem::path& source, const Paths& rows);
    RunSample EngineJoin(const Paths& rows, const std::filesystem::path& dest);
    RunSample WindowSplit(const std::filesystem::path& source, const Paths& rows,
                          PumpStretches& stretches);
    RunSample WindowJoin(const Paths& rows, const std::filesystem::path& dest,
                         PumpStretches& stretches);
    // The medium's floor (WriteAtFloor) writing `size` bytes to `file`.
    RunSample Floor(const std::filesystem::path& file, std::uint64_t size, PumpStretches& waits);
    // A standard tool that reads `inputs` and writes `outputs`.
    RunSample Tool(const ChildProcess& tool, const Paths& inputs, const Paths& outputs);
    // The window's split press of row 1 cancelled by a second press at pump
    // `atPump` (WindowRunner::SplitCancelled), after the cache is prepared.
    WindowRunner::CancelTimes SplitCancelled(const std::filesystem::path& source, const Paths& rows,
                                             int atPump);

    // The same runs without the clock, e.g. to warm up.
    EngineRunner& engine() { return m_engine; }
    WindowRunner& window() { return m_window; }

private:
    RunSample Timed(const Paths& inputs, const std::function<void()>& run,
                    const Paths& outputs) const;

    PageCachePolicy m_cache;
    bool m_sync;
    EngineRunner m_engine;
    WindowRunner m_window;
};

// "row01" .. "row10" in `parent`.
std::vector<std::filesystem::path> RowFolders(const std::filesystem::path& parent);
// The piece of each row folder, as the engine names it.
std::vector<std::filesystem::path> PiecesIn(const std::vector<std::filesystem::path>& rows);
