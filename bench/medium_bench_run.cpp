#include "bench/medium_bench_run.h"

#include <algorithm>
#include <cstdio>

#include "bench/report_text.h"
#include "bench/simulated_medium.h"
#include "bench/unique_fd.h"
#include "engine/piece_layout.h"
#include "engine/transfer.h"

namespace {

// What a medium's file system holds beyond its largest set of files (one of:
// dd's copy, the floor's file, the ten pieces, the joined file): ext4's own
// blocks.
constexpr std::uint64_t kMediumSlack = 16;
// The window keeps pace when it has this share of dd's MB/s.
constexpr double kPaceShare = 0.97;

const std::string kDd = "dd";
const std::string kFloor = "floor";
const std::string kWindowSplit = "window-split";
const std::string kWindowJoin = "window-join";

using Duration = PumpStretches::Duration;

double Ms(Duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// "1199.0 (+1065.0)": a wait and how much longer it is than the floor's.
std::string AgainstFloor(Duration wait, Duration floor) {
    char text[48];
    std::snprintf(text, sizeof text, "%.1f (%+.1f)", Ms(wait), Ms(wait) - Ms(floor));
    return text;
}

// "1199.0 (+1065.0) / 200.0 (+95.0) / 210.0": the longest and the
// 99th-percentile stretch without a pump against the floor's, and the
// longest from a press's last pump to its end.
std::string StretchText(const PumpStretches& stretches, const PumpStretches& floor) {
    char close[24];
    std::snprintf(close, sizeof close, "%.1f", Ms(stretches.LongestClose()));
    return AgainstFloor(stretches.Longest(), floor.Longest()) + " / " +
           AgainstFloor(stretches.Percentile(99), floor.Percentile(99)) + " / " + close;
}

// "split yes (120.3)": whether `value` is within `bound`.
std::string Aim(const char* what, double value, double bound, bool atMost, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    const bool met = atMost ? value <= bound : value >= bound;
    return std::string(what) + (met ? " yes (" : " NO (") + text + ")";
}

}  // namespace

MediumBenchRun::MediumBenchRun(const BenchOptions& options, std::ostream& out)
    : m_options(options),
      m_out(out),
      m_runs(options.cold, options.sync),
      // The source, its pieces for the joins, and one medium's file at a time.
      m_work(options.dir, 3 * options.size + options.size / kMediumSlack,
             "(three copies of the source)"),
      m_diskRows(RowFolders(m_work.path() / "disk")) {}

void MediumBenchRun::Run() {
    m_out << "tesserak_bench on simulated media: " << m_options.size << " bytes ("
          << Mebibytes(static_cast<long long>(m_options.size)) << ", pieces of "
          << Mebibytes(static_cast<long long>(m_options.size / kPieceCount)) << "), "
          << m_options.rounds << (m_options.rounds == 1 ? " round" : " rounds")
          << " per medium, in " << m_work.path().string() << "\n"
          << m_runs.DescribeCache() << "\n"
          << "the source and the pieces the joins read stay on the disk; dd's copy, the floor's "
             "file, the split's pieces and the joined file go on the medium; every run ends with "
             "its data on the medium (the program flushes at close, dd has conv=fdatasync, the "
             "floor fdatasync)\n"
          << std::flush;
    m_source = m_work.MakeSource(m_options.size);
    MakeFolders(m_diskRows);
    m_runs.engine().SplitAll(m_source, m_diskRows);
    FlushFilesToDisk(PiecesIn(m_diskRows));
    int number = 0;
    for (const std::uint64_t speed : m_options.mediumSpeeds) {
        m_figures.push_back(Figures{speed, ThroughputTable(m_options.size), {}, {}, {}, {}});
        RunOnMedium(m_figures.back(), ++number);
    }
    PrintSummary();
}

void MediumBenchRun::RunOnMedium(Figures& figures, int number) {
    const std::size_t stretches =
        static_cast<std::size_t>(m_options.rounds) *
        static_cast<std::size_t>(m_options.size / ChunkSize + kPieceCount);
    figures.floor.Reserve(stretches);
    figures.split.Reserve(stretches);
    figures.join.Reserve(stretches);
    const SimulatedMedium medium(m_work.path() / ("medium" + std::to_string(number)),
                                 m_options.size + m_options.size / kMediumSlack,
                                 figures.bytesPerSecond, m_options.ownGroup,
                                 m_options.maxSectorsKb);
    m_out << "\nmedium " << SpeedText(figures.bytesPerSecond) << ": " << medium.Describe() << "\n"
          << std::flush;
    for (int round = 1; round <= m_options.rounds; ++round) {
        RunRound(figures, medium.root(), round);
    }
}

void MediumBenchRun::RunRound(Figures& figures, const std::filesystem::path& medium, int round) {
    const auto rows = RowFolders(medium);
    const auto pieces = PiecesIn(rows);
    const std::filesystem::path joined = medium / "joined";
    MakeFolders(rows);
    MakeFolders({joined});

    const std::filesystem::path copy = medium / "dd-copy";
    const RunSample dd =
        m_runs.Tool(ChildProcess({"dd", "if=" + m_source.string(), "of=" + copy.string(), "bs=1M",
                                  "conv=fdatasync", "status=none"}),
                    {m_source}, {});
    RemoveAll({copy});
    const std::filesystem::path floorFile = medium / "floor";
    const RunSample floor = m_runs.Floor(floorFile, m_options.size, figures.floor);
    RemoveAll({floorFile});

    // "完了" already means on the medium; the flush only makes sure.
    const RunSample split = m_runs.WindowSplit(m_source, rows, figures.split);
    const auto diskPieces = PiecesIn(m_diskRows);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        CheckSameFile(diskPieces[i], pieces[i],
                      "the window's piece " + std::to_string(i + 1) +
                          " on the medium is not the engine's on the disk");
    }
    RemoveAll(pieces);

    const RunSample join = m_runs.WindowJoin(m_diskRows, joined, figures.join);
    CheckSameFile(m_source, joined / "temp", "the window's join onto the medium is wrong");
    RemoveAll({joined / "temp"});

    // In the middle of the first piece, when the write-behind is in full swing.
    const auto chunks = static_cast<int>(m_options.size / kPieceCount / ChunkSize);
    const WindowRunner::CancelTimes cancel =
        m_runs.SplitCancelled(m_source, rows, std::max(1, chunks / 2));
    RemoveAll({pieces.front()});
    figures.cancels.push_back(cancel);

    figures.table.Add(kDd, dd);
    figures.table.Add(kFloor, floor);
    figures.table.Add(kWindowSplit, split);
    figures.table.Add(kWindowJoin, join);
    m_out << "round " << round << "/" << m_options.rounds << ": dd " << Seconds(dd.seconds)
          << ", floor " << Seconds(floor.seconds) << ", window split " << Seconds(split.seconds)
          << ", window join " << Seconds(join.seconds) << " | cancel: \"失敗\" shown after "
          << Milliseconds(cancel.failedShown) << ", the running press over after "
          << Milliseconds(cancel.pressOver)
          << " | pieces and join identical to the engine's and the source\n"
          << std::flush;
}

void MediumBenchRun::PrintSummary() const {
    m_out << "\nsimulated media over " << m_options.rounds
          << (m_options.rounds == 1 ? " round" : " rounds")
          << " each: median MB/s (10^6 bytes) of dd bs=1M conv=fdatasync, of the medium's floor "
             "(1 MiB writes, each one's write-back started, at most 256 KiB left unsettled, "
             "fdatasync at the end) and of the window's ten presses, with the window's ratios "
             "to dd and to the floor; chunk = one chunk's writing time at the medium's speed\n";
    char line[400];
    std::snprintf(line, sizeof line, "%-10s %8s %8s %10s %8s %6s %6s %8s %6s %6s", "medium",
                  "chunk ms", "dd MB/s", "floor MB/s", "split", "/dd", "/floor", "join", "/dd",
                  "/floor");
    m_out << line << "\n";
    for (const Figures& figures : m_figures) {
        const double dd = figures.table.MedianMBps(kDd);
        const double floor = figures.table.MedianMBps(kFloor);
        const double split = figures.table.MedianMBps(kWindowSplit);
        const double join = figures.table.MedianMBps(kWindowJoin);
        std::snprintf(line, sizeof line,
                      "%-10s %8.1f %8.1f %10.1f %8.1f %6.3f %6.3f %8.1f %6.3f %6.3f",
                      SpeedText(figures.bytesPerSecond).c_str(),
                      1e3 * ChunkSize / static_cast<double>(figures.bytesPerSecond), dd, floor,
                      split, split / dd, split / floor, join, join / dd, join / floor);
        m_out << line << "\n";
    }
    m_out << "\nwaits in ms, over all rounds, with the difference to the floor's in brackets: "
             "the floor's longest and 99th-percentile time per write; the window's longest and "
             "99th-percentile stretch in which it handled no input, from the click to the "
             "press's end (opening and closing the files included), and the longest from the "
             "last pump to the press's end (the close); cancel = from a second press of the "
             "running row's button to the end of the running press (the worst of the rounds), "
             "against the floor's longest\n";
    std::snprintf(line, sizeof line, "%-10s %-16s %-42s %-42s %s", "medium", "floor: longest/p99",
                  "split: longest / p99 / close", "join: longest / p99 / close", "cancel");
    m_out << line << "\n";
    for (const Figures& figures : m_figures) {
        Duration cancel{};
        for (const auto& times : figures.cancels) {
            cancel = std::max(cancel, times.pressOver);
        }
        char floor[32];
        std::snprintf(floor, sizeof floor, "%.1f / %.1f", Ms(figures.floor.Longest()),
                      Ms(figures.floor.Percentile(99)));
        std::snprintf(line, sizeof line, "%-10s %-16s %-42s %-42s %s",
                      SpeedText(figures.bytesPerSecond).c_str(), floor,
                      StretchText(figures.split, figures.floor).c_str(),
                      StretchText(figures.join, figures.floor).c_str(),
                      AgainstFloor(cancel, figures.floor.Longest()).c_str());
        m_out << line << "\n";
    }
    m_out << "\n";
    for (const Figures& figures : m_figures) {
        PrintVerdict(figures);
    }
}

void MediumBenchRun::PrintVerdict(const Figures& figures) const {
    const double chunk = 1e3 * ChunkSize / static_cast<double>(figures.bytesPerSecond);
    const double longest = Ms(figures.floor.Longest()) + chunk;
    const double p99 = Ms(figures.floor.Percentile(99)) + chunk;
    Duration cancel{};
    for (const auto& times : figures.cancels) {
        cancel = std::max(cancel, times.pressOver);
    }
    const double dd = figures.table.MedianMBps(kDd);
    char bounds[160];
    std::snprintf(bounds, sizeof bounds, "longest <= floor's + one chunk = %.1f ms: ", longest);
    std::string text = "aims at " + SpeedText(figures.bytesPerSecond) + ": " + bounds;
    text += Aim("split", Ms(figures.split.Longest()), longest, true, "%.1f") + ", " +
            Aim("join", Ms(figures.join.Longest()), longest, true, "%.1f");
    std::snprintf(bounds, sizeof bounds, "; p99 <= floor's + one chunk = %.1f ms: ", p99);
    text += bounds + Aim("split", Ms(figures.split.Percentile(99)), p99, true, "%.1f") + ", " +
            Aim("join", Ms(figures.join.Percentile(99)), p99, true, "%.1f");
    std::snprintf(bounds, sizeof bounds, "; cancel <= %.1f ms: ", longest);
    text += bounds + Aim("cancel", Ms(cancel), longest, true, "%.1f");
    text += "; MB/s >= 0.97 dd: " +
            Aim("split", figures.table.MedianMBps(kWindowSplit) / dd, kPaceShare, false, "%.3f") +
            ", " +
            Aim("join", figures.table.MedianMBps(kWindowJoin) / dd, kPaceShare, false, "%.3f");
    m_out << text << "\n";
}
