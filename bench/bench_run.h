// One benchmark run: makes the source file in a fresh work folder, warms up
// untimed, then for each round splits and joins it with the engine, with the
// real window's part buttons and with the standard tools (split, cat, and dd
// as a plain copy), alternating which goes first, checks the round trips,
// and finally prints the comparison and how long the window went without a
// pump, from each click to the end of its press.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "bench/bench_options.h"
#include "bench/engine_runner.h"
#include "bench/page_cache_policy.h"
#include "bench/pump_intervals.h"
#include "bench/scoped_work_dir.h"
#include "bench/throughput_table.h"
#include "bench/window_runner.h"

class BenchRun {
public:
    // Makes the work folder after checking that the cache can be handled as
    // asked, and then checks path length and free space: nothing but the
    // empty folder exists before all checks pass.
    BenchRun(const BenchOptions& options, std::ostream& out);

    // Raises BenchError on any failure, a wrong round trip included; the work
    // folder is removed either way when the object goes.
    void Run();

private:
    void CheckPathLength() const;
    void CheckFreeSpace() const;
    void MakeSource();
    void WarmUp();
    void RunRound(int round);
    void MakeRoundFolders() const;
    void RemoveRoundOutputs() const;

    RunSample TimeOurSplit();
    RunSample TimeWindowSplit();
    RunSample TimeToolSplit() const;
    RunSample TimeDdCopy() const;
    RunSample TimeOurJoin();
    RunSample TimeWindowJoin();
    RunSample TimeCatJoin() const;
    // Stops the clock, after flushing `outputs` to disk when that is counted.
    RunSample Finish(const PhaseTimer& timer,
                     const std::vector<std::filesystem::path>& outputs) const;

    void PrintSummary() const;
    void PrintPumpIntervals() const;

    std::vector<std::filesystem::path> OurPieces() const;
    std::vector<std::filesystem::path> WindowPieces() const;
    std::vector<std::filesystem::path> ToolPieces() const;

    BenchOptions m_options;
    std::ostream& m_out;
    PageCachePolicy m_cache;
    ScopedWorkDir m_work;
    EngineRunner m_engine;
    WindowRunner m_window;

    std::filesystem::path m_source;
    std::vector<std::filesystem::path> m_rowFolders;  // ours: one folder per row
    std::filesystem::path m_ourJoinFolder;
    std::vector<std::filesystem::path> m_windowRowFolders;
    std::filesystem::path m_windowJoinFolder;
    std::filesystem::path m_toolPieceFolder;  // split writes all ten into one folder
    std::filesystem::path m_toolJoinFolder;
    std::filesystem::path m_ddCopy;

    ThroughputTable m_table;
    // Of the timed window runs only.
    PumpIntervals m_pumpIntervals;
    long long m_residentBeforeEngine = 0;
};
