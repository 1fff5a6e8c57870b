// One benchmark run: makes the source file in a fresh work folder, warms up
// untimed, then for each round splits and joins it with the engine, with the
// real window's part buttons and with the standard tools (split, cat, and dd
// as a plain copy), alternating which goes first, checks the round trips,
// and finally prints the comparison and how long the window went without a
// pump, from each click to the end of its press.
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

#include "bench/bench_options.h"
#include "bench/engine_runner.h"
#include "bench/run_clock.h"
#include "bench/throughput_table.h"
#include "bench/window_runner.h"
#include "bench/work_folder.h"

class BenchRun {
public:
    // Checks that the cache can be handled as asked, makes the work folder
    // and checks free space and path length: nothing but the empty folder
    // exists before all checks pass.
    BenchRun(const BenchOptions& options, std::ostream& out);

    // Raises BenchError on any failure, a wrong round trip included; the work
    // folder is removed either way when the object goes.
    void Run();

private:
    void RunRound(int round);
    void PrintSummary() const;

    BenchOptions m_options;
    std::ostream& m_out;
    RunClock m_clock;
    EngineRunner m_engine;
    WindowRunner m_window;
    WorkFolder m_work;
    ThroughputTable m_table;
    PumpStretches m_stretches;  // of the timed window runs only
    double m_residentBeforeEngine = 0;

    std::filesystem::path m_source;
    std::vector<std::filesystem::path> m_ourRows;  // one folder per row
    std::vector<std::filesystem::path> m_windowRows;
    std::vector<std::filesystem::path> m_toolPieces;  // split writes all ten into one folder
};
