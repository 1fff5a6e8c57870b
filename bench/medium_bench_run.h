// The benchmark on simulated slow media (--medium): for each write speed a
// fresh medium (SimulatedMedium), on which `dd bs=1M conv=fdatasync` copies
// the source, the real window's ten split presses write their pieces, and
// its ten join presses write the joined file from pieces kept on the disk;
// then one split press is cancelled by a second press from inside its pump.
// The source stays on the normal disk. Prints per speed the MB/s of dd and of
// the window's presses, the longest and the 99th-percentile stretch without
// a pump from the click to the press's end, and how long the cancel took.
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

class MediumBenchRun {
public:
    // Makes the work folder after checking the cache can be handled as
    // asked, then checks the free space. The caller has made sure that
    // simulated media can be made (SimulatedMedium::WhyUnavailable).
    MediumBenchRun(const BenchOptions& options, std::ostream& out);

    // Raises BenchError on any failure, a wrong piece or round trip
    // included; every medium and the work folder are removed either way.
    void Run();

private:
    // The stretches without a pump of one kind of press; the last of each
    // press, which holds the closing of the files, also on their own.
    struct Stretches {
        PumpIntervals all;
        PumpIntervals lastOfPress;
    };
    // What was measured on one medium.
    struct Figures {
        std::uint64_t bytesPerSecond;
        ThroughputTable table;
        Stretches split;
        Stretches join;
        std::vector<WindowRunner::CancelTimes> cancels;
    };

    void CheckFreeSpace() const;
    void MakeSourceAndPieces();
    void RunOnMedium(Figures& figures, int number);
    void RunRound(Figures& figures, const std::filesystem::path& medium, int round);

    RunSample TimeDd(const std::filesystem::path& copy) const;
    RunSample TimeWindowSplit(const std::vector<std::filesystem::path>& rows, Stretches& stretches);
    RunSample TimeWindowJoin(const std::filesystem::path& dest, Stretches& stretches);
    WindowRunner::CancelTimes CancelSplit(const std::vector<std::filesystem::path>& rows);

    void PrintSummary() const;
    // "3250.1 ms / 745.0 ms / 3250.1 ms": longest, 99th percentile, longest
    // last of a press.
    static std::string StretchText(const Stretches& stretches);

    std::vector<std::filesystem::path> PiecesIn(
        const std::vector<std::filesystem::path>& rows) const;

    BenchOptions m_options;
    std::ostream& m_out;
    PageCachePolicy m_cache;
    ScopedWorkDir m_work;
    EngineRunner m_engine;
    WindowRunner m_window;

    std::filesystem::path m_source;
    std::vector<std::filesystem::path> m_diskRows;  // the pieces the joins read
    std::vector<Figures> m_figures;
};
