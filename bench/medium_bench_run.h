// The benchmark on one simulated slow medium, mounted by bench/medium.sh at
// the folder it names, at the write speed it names. In each round
// `dd bs=1M conv=fdatasync` copies the source onto the medium, the medium's
// floor (WriteAtFloor) writes as much, the real window's ten split presses
// write their pieces onto it, and its ten join presses write the joined file
// onto it from pieces kept on the disk; then one split press is cancelled by
// a second press from inside its pump. The source stays on the disk.
//
// Prints the MB/s of dd, of the floor and of the window's presses; the
// floor's longest and 99th-percentile wait beside the window's longest and
// 99th-percentile stretch without a pump from the click to the press's end;
// how long the cancel took; and whether the window met its aims against the
// floor. The summary's lines begin with their table's name ("MB/s",
// "waits ms", "aims"), so that medium.sh can gather the media's lines.
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

class MediumBenchRun {
public:
    // Checks that the cache can be handled as asked and the medium is a
    // folder, makes the work folder on the disk and checks its free space.
    MediumBenchRun(const BenchOptions& options, std::ostream& out);

    // Raises BenchError on any failure, a wrong piece or round trip
    // included; what it wrote is removed either way.
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

    std::filesystem::path m_source;
    std::vector<std::filesystem::path> m_diskRows;  // the pieces the joins read
    ThroughputTable m_table;
    PumpStretches m_floor;
    PumpStretches m_split;
    PumpStretches m_join;
    PumpStretches::Duration m_longestCancel{};  // the worst of the rounds'
};
