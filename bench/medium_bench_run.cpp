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
// dd's copy, the ten pieces, the joined file): ext4's own blocks.
constexpr std::uint64_t kMediumSlack = 16;

const std::string kDd = "dd";
const std::string kWindowSplit = "window-split";
const std::string kWindowJoin = "window-join";

// "3250.1 ms / 745.0 ms / 3250.1 ms": the longest and the 99th-percentile
// stretch without a pump, and the longest from a press's last pump to its end.
std::string StretchText(const PumpStretches& stretches) {
    return Milliseconds(stretches.Longest()) + " / " + Milliseconds(stretches.Percentile(99)) +
           " / " + Milliseconds(stretches.LongestClose());
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
          << "the source and the pieces the joins read stay on the disk; dd's copy, the split's "
             "pieces and the joined file go on the medium; every run ends with its data on the "
             "medium (the program flushes at close, dd has conv=fdatasync)\n"
          << std::flush;
    m_source = m_work.MakeSource(m_options.size);
    MakeFolders(m_diskRows);
    m_runs.engine().SplitAll(m_source, m_diskRows);
    FlushFilesToDisk(PiecesIn(m_diskRows));
    int number = 0;
    for (const std::uint64_t speed : m_options.mediumSpeeds) {
        m_figures.push_back(Figures{speed, ThroughputTable(m_options.size), {}, {}, {}});
        RunOnMedium(m_figures.back(), ++number);
    }
    PrintSummary();
}

void MediumBenchRun::RunOnMedium(Figures& figures, int number) {
    const std::size_t stretches =
        static_cast<std::size_t>(m_options.rounds) *
        static_cast<std::size_t>(m_options.size / ChunkSize + kPieceCount);
    figures.split.Reserve(stretches);
    figures.join.Reserve(stretches);
    const SimulatedMedium medium(m_work.path() / ("medium" + std::to_string(number)),
                                 m_options.size + m_options.size / kMediumSlack,
                                 figures.bytesPerSecond);
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
    figures.table.Add(kWindowSplit, split);
    figures.table.Add(kWindowJoin, join);
    m_out << "round " << round << "/" << m_options.rounds << ": dd " << Seconds(dd.seconds)
          << ", window split " << Seconds(split.seconds) << ", window join "
          << Seconds(join.seconds) << " | cancel: \"失敗\" shown after "
          << Milliseconds(cancel.failedShown) << ", the running press over after "
          << Milliseconds(cancel.pressOver)
          << " | pieces and join identical to the engine's and the source\n"
          << std::flush;
}

void MediumBenchRun::PrintSummary() const {
    m_out << "\nsimulated media over " << m_options.rounds
          << (m_options.rounds == 1 ? " round" : " rounds")
          << " each: median MB/s (10^6 bytes) of dd bs=1M conv=fdatasync and of the window's ten "
             "presses, ratio = window / dd; without a pump = the longest and the 99th-percentile "
             "stretch in which the window handled no input, from the click to the press's end "
             "(opening and closing the files included), and the longest from the last pump to "
             "the press's end (the close); cancel = from a second press of the running row's "
             "button to the end of the running press (the worst of the rounds)\n";
    char line[300];
    std::snprintf(line, sizeof line, "%-10s %7s %7s %6s %7s %6s   %-30s %-30s %9s", "medium",
                  "dd MB/s", "split", "ratio", "join", "ratio", "split: longest / p99 / close",
                  "join: longest / p99 / close", "cancel");
    m_out << line << "\n";
    for (const Figures& figures : m_figures) {
        const double dd = figures.table.MedianMBps(kDd);
        const double split = figures.table.MedianMBps(kWindowSplit);
        const double join = figures.table.MedianMBps(kWindowJoin);
        PumpStretches::Duration cancel{};
        for (const auto& times : figures.cancels) {
            cancel = std::max(cancel, times.pressOver);
        }
        std::snprintf(line, sizeof line, "%-10s %7.1f %7.1f %6.3f %7.1f %6.3f   %-30s %-30s %9s",
                      SpeedText(figures.bytesPerSecond).c_str(), dd, split, split / dd, join,
                      join / dd, StretchText(figures.split).c_str(),
                      StretchText(figures.join).c_str(), Milliseconds(cancel).c_str());
        m_out << line << "\n";
    }
}
