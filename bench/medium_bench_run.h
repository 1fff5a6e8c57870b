// The benchmark on simulated slow media (--medium): for each write speed a
// fresh medium (SimulatedMedium), on which `dd bs=1M conv=fdatasync` copies
// the source, the medium's floor (WriteAtFloor) writes as much, the real
// window's ten split presses write their pieces, and its ten join presses
// write the joined file from pieces kept on the disk; then one split press is
// cancelled by a second press from inside its pump. The source stays on the
// normal disk. Prints per speed the MB/s of dd, of the floor and of the
// window's presses, the longest and the 99th-percentile stretch without a
// pump from the click to the press's end beside the floor's longest and
// 99th-percentile wait, how long the cancel took, and whether the window
// met its aims against the floor.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "bench/bench_options.h"
#include "bench/contenders.h"
#include "bench/pump_stretches.h"
#include "bench/throughput_table.h"
#include "bench/work_folder.h"

class MediumBenchRun {
public:
    // Checks that the cache can be handled as asked, makes the work folder
    // and checks the free space. The caller has made sure that simulated
    // media can be made (SimulatedMedium::WhyUnavailable).
    MediumBenchRun(const BenchOptions& options, std::ostream& out);

    // Raises BenchError on any failure, a wrong piece or round trip
    // included; every medium and the work folder are removed either way.
    void Run();

private:
    // What was measured on one medium.
    struct Figures {
        std::uint64_t bytesPerSecond;
        ThroughputTable table;
        PumpStretches floor;
        PumpStretches split;
        PumpStretches join;
        std::vector<WindowRunner::CancelTimes> cancels;
    };

    void RunOnMedium(Figures& figures, int number);
    void RunRound(Figures& figures, const std::filesystem::path& medium, int round);
    void PrintSummary() const;
    void PrintVerdict(const Figures& figures) const;

    BenchOptions m_options;
    std::ostream& m_out;
    Contenders m_runs;
    WorkFolder m_work;

    std::filesystem::path m_source;
    std::vector<std::filesystem::path> m_diskRows;  // the pieces the joins read
    std::vector<Figures> m_figures;
};
