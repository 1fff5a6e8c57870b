#include "bench/medium_bench_run.h"

#include <algorithm>
#include <cstdio>

#include "bench/bench_error.h"
#include "bench/child_process.h"
#include "bench/interrupt_flag.h"
#include "bench/phase_timer.h"
#include "bench/report_text.h"
#include "bench/same_file.h"
#include "bench/simulated_medium.h"
#include "bench/source_file_writer.h"
#include "bench/unique_fd.h"
#include "engine/transfer.h"

namespace {

constexpr int kPieces = 10;
// Room left over on the disk beyond the files themselves.
constexpr std::uint64_t kSpareBytes = std::uint64_t{256} << 20;
// What a medium's file system holds beyond its largest set of files (one of:
// dd's copy, the ten pieces, the joined file): ext4's own blocks.
constexpr std::uint64_t kMediumSlack = 16;

const std::string kDd = "dd";
const std::string kWindowSplit = "window-split";
const std::string kWindowJoin = "window-join";

std::vector<std::filesystem::path> RowFolders(const std::filesystem::path& parent) {
    std::vector<std::filesystem::path> rows;
    for (int row = 1; row <= kPieces; ++row) {
        char name[16];
        std::snprintf(name, sizeof name, "row%02d", row);
        rows.push_back(parent / name);
    }
    return rows;
}

void MakeFolders(const std::vector<std::filesystem::path>& folders) {
    for (const auto& folder : folders) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            throw BenchError("cannot create the folder " + folder.string() + ": " +
                             error.message());
        }
    }
}

void RemoveFiles(const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files) {
        std::error_code error;
        std::filesystem::remove(file, error);
        if (error) {
            throw BenchError("cannot remove " + file.string() + ": " + error.message());
        }
    }
}

// "205.10 s".
std::string Seconds(const RunSample& sample) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", sample.seconds);
    return text;
}

}  // namespace

MediumBenchRun::MediumBenchRun(const BenchOptions& options, std::ostream& out)
    : m_options(options), m_out(out), m_cache(options.cold), m_work(options.dir) {
    m_source = m_work.path() / "source";
    m_diskRows = RowFolders(m_work.path() / "disk");
    CheckFreeSpace();
}

void MediumBenchRun::CheckFreeSpace() const {
    std::error_code error;
    const auto space = std::filesystem::space(m_work.path(), error);
    if (error) {
        throw BenchError("cannot tell the free space in " + m_work.path().string() + ": " +
                         error.message());
    }
    // The source, its pieces for the joins, and one medium's file at a time.
    const std::uint64_t size = m_options.size;
    const std::uint64_t needed = 3 * size + size / kMediumSlack + kSpareBytes;
    if (space.available < needed) {
        throw BenchError(
            "not enough free space in " + m_work.path().string() + ": " +
            Mebibytes(static_cast<long long>(needed)) + " needed (three copies of the source), " +
            Mebibytes(static_cast<long long>(space.available)) + " available; use --size or --dir");
    }
}

std::vector<std::filesystem::path> MediumBenchRun::PiecesIn(
    const std::vector<std::filesystem::path>& rows) const {
    std::vector<std::filesystem::path> pieces;
    for (int row = 1; row <= kPieces; ++row) {
        pieces.push_back(rows[static_cast<std::size_t>(row - 1)] / PieceName(row));
    }
    return pieces;
}

void MediumBenchRun::Run() {
    m_out << "tesserak_bench on simulated media: " << m_options.size << " bytes ("
          << Mebibytes(static_cast<long long>(m_options.size)) << ", pieces of "
          << Mebibytes(static_cast<long long>(m_options.size / kPieces)) << "), "
          << m_options.rounds << (m_options.rounds == 1 ? " round" : " rounds")
          << " per medium, in " << m_work.path().string() << "\n"
          << m_cache.Describe() << "\n"
          << "the source and the pieces the joins read stay on the disk; dd's copy, the split's "
             "pieces and the joined file go on the medium; every run ends with its data on the "
             "medium (the program flushes at close, dd has conv=fdatasync)\n"
          << std::flush;
    MakeSourceAndPieces();
    int number = 0;
    for (const std::uint64_t speed : m_options.mediumSpeeds) {
        m_figures.push_back(Figures{speed, ThroughputTable(m_options.size), {}, {}, {}});
        RunOnMedium(m_figures.back(), ++number);
    }
    PrintSummary();
}

void MediumBenchRun::MakeSourceAndPieces() {
    SourceFileWriter(0x7E55E4A4ULL).Write(m_source, m_options.size);
    MakeFolders(m_diskRows);
    m_engine.SplitAll(m_source, m_diskRows);
    FlushFilesToDisk(PiecesIn(m_diskRows));
}

void MediumBenchRun::RunOnMedium(Figures& figures, int number) {
    const std::size_t stretches = static_cast<std::size_t>(m_options.rounds) *
                                  static_cast<std::size_t>(m_options.size / ChunkSize + kPieces);
    figures.split.all.Reserve(stretches);
    figures.join.all.Reserve(stretches);
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
    const RunSample dd = TimeDd(copy);
    RemoveFiles({copy});

    const RunSample split = TimeWindowSplit(rows, figures.split);
    const auto diskPieces = PiecesIn(m_diskRows);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        CheckSameFile(diskPieces[i], pieces[i],
                      "the window's piece " + std::to_string(i + 1) +
                          " on the medium is not the engine's on the disk");
    }
    RemoveFiles(pieces);

    const RunSample join = TimeWindowJoin(joined, figures.join);
    CheckSameFile(m_source, joined / "temp", "the window's join onto the medium is wrong");
    RemoveFiles({joined / "temp"});

    const WindowRunner::CancelTimes cancel = CancelSplit(rows);
    RemoveFiles({pieces.front()});
    figures.cancels.push_back(cancel);

    figures.table.Add(kDd, dd);
    figures.table.Add(kWindowSplit, split);
    figures.table.Add(kWindowJoin, join);
    m_out << "round " << round << "/" << m_options.rounds << ": dd " << Seconds(dd)
          << ", window split " << Seconds(split) << ", window join " << Seconds(join)
          << " | cancel: \"失敗\" shown after " << Milliseconds(cancel.failedShown)
          << ", the running press over after " << Milliseconds(cancel.pressOver)
          << " | pieces and join identical to the engine's and the source\n"
          << std::flush;
}

RunSample MediumBenchRun::TimeDd(const std::filesystem::path& copy) const {
    m_cache.BeforeTimedRun({m_source});
    const PhaseTimer timer;
    ChildProcess({"dd", "if=" + m_source.string(), "of=" + copy.string(), "bs=1M", "conv=fdatasync",
                  "status=none"})
        .RunChecked();
    return timer.Stop();
}

RunSample MediumBenchRun::TimeWindowSplit(const std::vector<std::filesystem::path>& rows,
                                          Stretches& stretches) {
    RunSample sample;
    m_window.SplitAll(
        m_source, rows,
        [&](const WindowRunner::Presses& presses) {
            m_cache.BeforeTimedRun({m_source});
            const PhaseTimer timer;
            presses();
            // "完了" already means on the medium; this only makes sure.
            FlushFilesToDisk(PiecesIn(rows));
            sample = timer.Stop();
        },
        stretches.all, &stretches.lastOfPress);
    return sample;
}

RunSample MediumBenchRun::TimeWindowJoin(const std::filesystem::path& dest, Stretches& stretches) {
    RunSample sample;
    m_window.JoinAll(
        m_diskRows, dest,
        [&](const WindowRunner::Presses& presses) {
            m_cache.BeforeTimedRun(PiecesIn(m_diskRows));
            const PhaseTimer timer;
            presses();
            FlushFilesToDisk({dest / "temp"});
            sample = timer.Stop();
        },
        stretches.all, &stretches.lastOfPress);
    return sample;
}

WindowRunner::CancelTimes MediumBenchRun::CancelSplit(
    const std::vector<std::filesystem::path>& rows) {
    m_cache.BeforeTimedRun({m_source});
    // In the middle of the first piece, when the write-behind is in full
    // swing.
    const auto chunks = static_cast<int>(m_options.size / kPieces / ChunkSize);
    return m_window.SplitCancelled(m_source, rows, 1, std::max(1, chunks / 2));
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
        PumpIntervals::Duration cancel{};
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

std::string MediumBenchRun::StretchText(const Stretches& stretches) {
    return Milliseconds(stretches.all.Longest()) + " / " +
           Milliseconds(stretches.all.Percentile(99)) + " / " +
           Milliseconds(stretches.lastOfPress.Longest());
}
