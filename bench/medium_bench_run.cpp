#include "bench/medium_bench_run.h"

#include <algorithm>

#include "bench/bench_error.h"
#include "engine/piece_layout.h"
#include "engine/transfer.h"

namespace {

// The window keeps pace when it has this share of dd's MB/s.
constexpr double kPaceShare = 0.97;

const std::string kDd = "dd", kFloor = "floor", kWindowSplit = "window-split",
                  kWindowJoin = "window-join";

using Duration = PumpStretches::Duration;

// "1199.0 (+1065.0)": a wait and how much longer it is than the floor's.
std::string AgainstFloor(Duration wait, Duration floor) {
    return Printf("%.1f (%+.1f)", InMs(wait), InMs(wait) - InMs(floor));
}

// "1199.0 (+1065.0) / 200.0 (+95.0) / 210.0": the longest and the
// 99th-percentile stretch without a pump against the floor's, and the
// longest from a press's last pump to its end.
std::string StretchText(const PumpStretches& stretches, const PumpStretches& floor) {
    return AgainstFloor(stretches.Longest(), floor.Longest()) + " / " +
           AgainstFloor(stretches.Percentile(99), floor.Percentile(99)) + " / " +
           Printf("%.1f", InMs(stretches.LongestClose()));
}

// "split yes (120.3)": whether `value`, shown with `decimals`, is within
// `bound`.
std::string Aim(const char* what, double value, double bound, bool atMost, int decimals) {
    const bool met = atMost ? value <= bound : value >= bound;
    return what + Printf(met ? " yes (%.*f)" : " NO (%.*f)", decimals, value);
}

}  // namespace

MediumBenchRun::MediumBenchRun(const BenchOptions& options, std::ostream& out)
    : m_options(options),
      m_out(out),
      m_clock(options.cold, options.sync),
      // The source and its pieces for the joins.
      m_work(options.dir, 2 * options.size, "(two copies of the source)"),
      m_diskRows(RowFolders(m_work.path() / "disk")),
      m_table(options.size) {
    if (!std::filesystem::is_directory(m_options.onMedium)) {
        throw BenchError("the medium " + m_options.onMedium.string() + " is not a folder");
    }
}

void MediumBenchRun::Run() {
    m_out << "tesserak_bench on a simulated medium of " << SpeedText(m_options.mediumSpeed)
          << " at " << m_options.onMedium.string() << ": " << m_options.size << " bytes ("
          << Mebibytes(m_options.size) << ", pieces of " << Mebibytes(m_options.size / kPieceCount)
          << "), " << RoundsText(m_options.rounds) << ", in " << m_work.path().string() << "\n"
          << m_clock.Describe() << "\n"
          << "the source and the pieces the joins read stay on the disk; dd's copy, the floor's "
             "file, the split's pieces and the joined file go on the medium; every run ends with "
             "its data on the medium (the program flushes at close, dd has conv=fdatasync, the "
             "floor fdatasync)\n"
          << std::flush;
    m_source = m_work.MakeSource(m_options.size);
    MakeFolders(m_diskRows);
    m_engine.SplitAll(m_source, m_diskRows);
    FlushFilesToDisk(PiecesIn(m_diskRows));
    // At most one stretch per full chunk of every run, and one more per press.
    const auto stretches = static_cast<std::size_t>(m_options.rounds) *
                           static_cast<std::size_t>(m_options.size / ChunkSize + kPieceCount);
    for (PumpStretches* each : {&m_floor, &m_split, &m_join}) {
        each->Reserve(stretches);
    }
    for (int round = 1; round <= m_options.rounds; ++round) {
        RunRound(round);
    }
    PrintSummary();
}

void MediumBenchRun::RunRound(int round) {
    const std::filesystem::path& medium = m_options.onMedium;
    const auto rows = RowFolders(medium / "rows");
    const auto pieces = PiecesIn(rows);
    const std::filesystem::path joined = medium / "joined";
    const std::filesystem::path copy = medium / "dd-copy";
    const std::filesystem::path floorFile = medium / "floor";
    MakeFolders(rows);
    MakeFolders({joined});

    const RunSample dd =
        m_clock.Time({m_source},
                     [&] {
                         RunTool({"dd", "if=" + m_source.string(), "of=" + copy.string(), "bs=1M",
                                  "conv=fdatasync", "status=none"});
                     },
                     {});
    RemoveAll({copy});
    const RunSample floor =
        m_clock.Time({}, [&] { WriteAtFloor(floorFile, m_options.size, m_floor); }, {});
    RemoveAll({floorFile});

    // "完了" already means on the medium; the flush only makes sure.
    const RunSample split = m_window.SplitAll(m_source, rows, m_split, &m_clock);
    const auto diskPieces = PiecesIn(m_diskRows);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        CheckSameFile(diskPieces[i], pieces[i],
                      "the window's piece " + std::to_string(i + 1) +
                          " on the medium is not the engine's on the disk");
    }
    RemoveAll(pieces);

    const RunSample join = m_window.JoinAll(m_diskRows, joined, m_join, &m_clock);
    CheckSameFile(m_source, joined / "temp", "the window's join onto the medium is wrong");
    RemoveAll({joined / "temp"});

    // In the middle of the first piece, when the write-behind is in full swing.
    const auto chunks = static_cast<int>(m_options.size / kPieceCount / ChunkSize);
    m_clock.PrepareCache({m_source});
    const WindowRunner::CancelTimes cancel =
        m_window.SplitCancelled(m_source, rows, 1, std::max(1, chunks / 2));
    RemoveAll({medium / "rows", joined});
    m_longestCancel = std::max(m_longestCancel, cancel.pressOver);

    m_table.Add(kDd, dd);
    m_table.Add(kFloor, floor);
    m_table.Add(kWindowSplit, split);
    m_table.Add(kWindowJoin, join);
    m_out << "round " << round << "/" << m_options.rounds << ": dd " << Printf("%.2f s", dd.seconds)
          << ", floor " << Printf("%.2f s", floor.seconds) << ", window split "
          << Printf("%.2f s", split.seconds) << ", window join " << Printf("%.2f s", join.seconds)
          << " | cancel: \"失敗\" shown after " << Milliseconds(cancel.failedShown)
          << ", the running press over after " << Milliseconds(cancel.pressOver)
          << " | pieces and join identical to the engine's and the source\n"
          << std::flush;
}

void MediumBenchRun::PrintSummary() const {
    const std::string speed = SpeedText(m_options.mediumSpeed);
    const double chunk = 1e3 * ChunkSize / static_cast<double>(m_options.mediumSpeed);
    const double dd = m_table.MedianMBps(kDd);
    const double floor = m_table.MedianMBps(kFloor);
    const double split = m_table.MedianMBps(kWindowSplit);
    const double join = m_table.MedianMBps(kWindowJoin);
    const char* const waits = "%-9s %-10s %-16s %-42s %-42s %s\n";
    m_out
        << "\nMB/s: the median over " << RoundsText(m_options.rounds)
        << " (10^6 bytes) of dd bs=1M conv=fdatasync, of the medium's floor (1 MiB writes, "
           "each one's write-back started, at most 256 KiB left unsettled, fdatasync at the "
           "end) and of the window's ten presses, with the window's ratios to dd and to the "
           "floor; chunk = one chunk's writing time at the medium's speed\n"
        << "waits ms: over all rounds, with the difference to the floor's in brackets: the "
           "floor's longest and 99th-percentile time per write; the window's longest and "
           "99th-percentile stretch in which it handled no input, from the click to the "
           "press's end (opening and closing the files included), and the longest from the "
           "last pump to the press's end (the close); cancel = from a second press of the "
           "running row's button to the end of the running press (the worst of the rounds), "
           "against the floor's longest\n"
        << Printf("%-9s %-10s %8s %8s %10s %8s %6s %6s %8s %6s %6s\n", "MB/s", "medium", "chunk ms",
                  "dd MB/s", "floor MB/s", "split", "/dd", "/floor", "join", "/dd", "/floor")
        << Printf("%-9s %-10s %8.1f %8.1f %10.1f %8.1f %6.3f %6.3f %8.1f %6.3f %6.3f\n", "MB/s",
                  speed.c_str(), chunk, dd, floor, split, split / dd, split / floor, join,
                  join / dd, join / floor)
        << Printf(waits, "waits ms", "medium", "floor: longest/p99", "split: longest / p99 / close",
                  "join: longest / p99 / close", "cancel")
        << Printf(
               waits, "waits ms", speed.c_str(),
               Printf("%.1f / %.1f", InMs(m_floor.Longest()), InMs(m_floor.Percentile(99))).c_str(),
               StretchText(m_split, m_floor).c_str(), StretchText(m_join, m_floor).c_str(),
               AgainstFloor(m_longestCancel, m_floor.Longest()).c_str());
    // The aims: the window's waits at most the floor's plus one chunk's
    // writing time, and its pace at least kPaceShare of dd's.
    const double longest = InMs(m_floor.Longest()) + chunk;
    const double p99 = InMs(m_floor.Percentile(99)) + chunk;
    m_out << Printf(
        "%-9s %-10s longest <= floor's + one chunk = %.1f ms: %s, %s; p99 <= floor's + one "
        "chunk = %.1f ms: %s, %s; cancel <= %.1f ms: %s; MB/s >= %.2f dd: %s, %s\n",
        "aims", speed.c_str(), longest,
        Aim("split", InMs(m_split.Longest()), longest, true, 1).c_str(),
        Aim("join", InMs(m_join.Longest()), longest, true, 1).c_str(), p99,
        Aim("split", InMs(m_split.Percentile(99)), p99, true, 1).c_str(),
        Aim("join", InMs(m_join.Percentile(99)), p99, true, 1).c_str(), longest,
        Aim("cancel", InMs(m_longestCancel), longest, true, 1).c_str(), kPaceShare,
        Aim("split", split / dd, kPaceShare, false, 3).c_str(),
        Aim("join", join / dd, kPaceShare, false, 3).c_str());
}
