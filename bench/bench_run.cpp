#include "bench/bench_run.h"

#include <fcntl.h>

#include <cstdio>

#include "bench/bench_error.h"
#include "bench/child_process.h"
#include "bench/phase_timer.h"
#include "bench/report_text.h"
#include "bench/same_file.h"
#include "bench/source_file_writer.h"
#include "bench/unique_fd.h"
#include "engine/file64.h"
#include "engine/transfer.h"

namespace {

constexpr int kPieces = 10;
// Room left over on the disk beyond the files themselves.
constexpr std::uint64_t kSpareBytes = std::uint64_t{256} << 20;
// Alive at once: the source, three sets of pieces and three joined files.
constexpr std::uint64_t kCopiesOnDisk = 7;

const std::string kOurSplit = "ours-split";
const std::string kOurJoin = "ours-join";
const std::string kWindowSplit = "window-split";
const std::string kWindowJoin = "window-join";
const std::string kToolSplit = "split";
const std::string kToolJoin = "cat";
const std::string kDd = "dd";

// "2.31 s (flush 1.20, cpu 0.45)": where a slow run lost its time.
std::string Seconds(const RunSample& sample) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f s (flush %.2f, cpu %.2f)", sample.seconds,
                  sample.flushSeconds, sample.cpuSeconds);
    return text;
}

// An untimed run: the presses with no clock around them.
void Untimed(const WindowRunner::Presses& presses) {
    presses();
}

}  // namespace

BenchRun::BenchRun(const BenchOptions& options, std::ostream& out)
    : m_options(options),
      m_out(out),
      m_cache(options.cold),
      m_work(options.dir),
      m_table(options.size) {
    const auto& root = m_work.path();
    m_source = root / "source";
    for (int row = 1; row <= kPieces; ++row) {
        char name[16];
        std::snprintf(name, sizeof name, "row%02d", row);
        m_rowFolders.push_back(root / "ours" / name);
    }
    m_ourJoinFolder = root / "ours" / "joined";
    for (int row = 1; row <= kPieces; ++row) {
        char name[16];
        std::snprintf(name, sizeof name, "row%02d", row);
        m_windowRowFolders.push_back(root / "window" / name);
    }
    m_windowJoinFolder = root / "window" / "joined";
    m_toolPieceFolder = root / "theirs" / "pieces";
    m_toolJoinFolder = root / "theirs" / "joined";
    m_ddCopy = root / "dd-copy";
    CheckPathLength();
    CheckFreeSpace();
}

void BenchRun::CheckPathLength() const {
    // The window's folders have the longer name.
    const std::filesystem::path longest = m_windowRowFolders.back() / PieceName(kPieces);
    if (longest.u16string().size() > static_cast<std::size_t>(kMaxPathLength)) {
        throw BenchError("the path " + longest.string() + " is longer than the " +
                         std::to_string(kMaxPathLength) +
                         " units a piece path may have: use a shorter --dir");
    }
}

void BenchRun::CheckFreeSpace() const {
    std::error_code error;
    const auto space = std::filesystem::space(m_work.path(), error);
    if (error) {
        throw BenchError("cannot tell the free space in " + m_work.path().string() + ": " +
                         error.message());
    }
    const std::uint64_t needed = kCopiesOnDisk * m_options.size + kSpareBytes;
    if (space.available < needed) {
        throw BenchError("not enough free space in " + m_work.path().string() + ": " +
                         Mebibytes(static_cast<long long>(needed)) + " needed (seven copies of " +
                         "the source), " + Mebibytes(static_cast<long long>(space.available)) +
                         " available; use --size or --dir");
    }
}

std::vector<std::filesystem::path> BenchRun::OurPieces() const {
    std::vector<std::filesystem::path> pieces;
    for (int row = 1; row <= kPieces; ++row) {
        pieces.push_back(m_rowFolders[static_cast<std::size_t>(row - 1)] / PieceName(row));
    }
    return pieces;
}

std::vector<std::filesystem::path> BenchRun::WindowPieces() const {
    std::vector<std::filesystem::path> pieces;
    for (int row = 1; row <= kPieces; ++row) {
        pieces.push_back(m_windowRowFolders[static_cast<std::size_t>(row - 1)] / PieceName(row));
    }
    return pieces;
}

std::vector<std::filesystem::path> BenchRun::ToolPieces() const {
    std::vector<std::filesystem::path> pieces;
    for (int number = 1; number <= kPieces; ++number) {
        pieces.push_back(m_toolPieceFolder / PieceName(number));
    }
    return pieces;
}

void BenchRun::Run() {
    m_out << "tesserak_bench: " << m_options.size << " bytes ("
          << Mebibytes(static_cast<long long>(m_options.size)) << "), " << m_options.rounds
          << (m_options.rounds == 1 ? " round" : " rounds") << ", in " << m_work.path().string()
          << "\n"
          << m_cache.Describe() << "\n"
          << (m_options.sync ? "disk writes counted: inside its time, every run ends by "
                               "flushing all it wrote to disk (write-back started for every "
                               "file, then fsync each)"
                             : "disk writes not counted: the written data is flushed after the "
                               "clock stops (--no-sync)")
          << "\n"
          << std::flush;
    MakeSource();
    m_residentBeforeEngine = PeakResidentBytesOfSelf();
    // At most one stretch per full chunk of every timed window run, and one
    // more per press.
    m_pumpIntervals.Reserve(static_cast<std::size_t>(m_options.rounds) * 2 *
                            static_cast<std::size_t>(m_options.size / ChunkSize + kPieces));
    WarmUp();
    for (int round = 1; round <= m_options.rounds; ++round) {
        RunRound(round);
    }
    PrintSummary();
}

void BenchRun::MakeSource() {
    SourceFileWriter(0x7E55E4A4ULL).Write(m_source, m_options.size);
}

void BenchRun::WarmUp() {
    // On this machine whichever run goes first after a quiet spell is
    // sometimes several times slower, most of its time processor time in the
    // kernel (seen at 2 GiB and 5 GiB: a first split of 10.8 s against 1.8 to
    // 2.1 s afterwards), which a median of three rounds does not always hide.
    // So the engine and the window each split and join once before the clock
    // runs.
    MakeRoundFolders();
    m_engine.SplitAll(m_source, m_rowFolders);
    m_engine.JoinAll(m_rowFolders, m_ourJoinFolder);
    PumpIntervals untimed;
    m_window.SplitAll(m_source, m_windowRowFolders, Untimed, untimed);
    m_window.JoinAll(m_windowRowFolders, m_windowJoinFolder, Untimed, untimed);
    RemoveRoundOutputs();
    m_out << "warm-up: one untimed split and join by the engine and by the window\n" << std::flush;
}

void BenchRun::MakeRoundFolders() const {
    std::vector<std::filesystem::path> folders = m_rowFolders;
    folders.insert(folders.end(), m_windowRowFolders.begin(), m_windowRowFolders.end());
    folders.insert(folders.end(),
                   {m_ourJoinFolder, m_windowJoinFolder, m_toolPieceFolder, m_toolJoinFolder});
    for (const auto& folder : folders) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            throw BenchError("cannot create the folder " + folder.string() + ": " +
                             error.message());
        }
    }
}

void BenchRun::RemoveRoundOutputs() const {
    // Everything below these folders was made by this round.
    for (const auto& folder :
         {m_work.path() / "ours", m_work.path() / "window", m_work.path() / "theirs"}) {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
        if (error) {
            throw BenchError("cannot remove " + folder.string() + ": " + error.message());
        }
    }
}

RunSample BenchRun::Finish(const PhaseTimer& timer,
                           const std::vector<std::filesystem::path>& outputs) const {
    if (!m_options.sync) {
        const RunSample sample = timer.Stop();
        FlushFilesToDisk(outputs);
        return sample;
    }
    const double copied = timer.Elapsed();
    FlushFilesToDisk(outputs);
    RunSample sample = timer.Stop();
    sample.flushSeconds = sample.seconds - copied;
    return sample;
}

RunSample BenchRun::TimeOurSplit() {
    m_cache.BeforeTimedRun({m_source});
    const PhaseTimer timer;
    m_engine.SplitAll(m_source, m_rowFolders);
    return Finish(timer, OurPieces());
}

RunSample BenchRun::TimeWindowSplit() {
    RunSample sample;
    m_window.SplitAll(
        m_source, m_windowRowFolders,
        [&](const WindowRunner::Presses& presses) {
            m_cache.BeforeTimedRun({m_source});
            const PhaseTimer timer;
            presses();
            sample = Finish(timer, WindowPieces());
        },
        m_pumpIntervals);
    return sample;
}

RunSample BenchRun::TimeToolSplit() const {
    m_cache.BeforeTimedRun({m_source});
    const PhaseTimer timer;
    ChildProcess({"split", "-n", "10", "-a", "3", "--numeric-suffixes=1", m_source.string(),
                  (m_toolPieceFolder / "temp").string()})
        .RunChecked();
    return Finish(timer, ToolPieces());
}

RunSample BenchRun::TimeDdCopy() const {
    m_cache.BeforeTimedRun({m_source});
    const PhaseTimer timer;
    ChildProcess(
        {"dd", "if=" + m_source.string(), "of=" + m_ddCopy.string(), "bs=1M", "status=none"})
        .RunChecked();
    return Finish(timer, {m_ddCopy});
}

RunSample BenchRun::TimeOurJoin() {
    m_cache.BeforeTimedRun(OurPieces());
    const PhaseTimer timer;
    m_engine.JoinAll(m_rowFolders, m_ourJoinFolder);
    return Finish(timer, {m_ourJoinFolder / "temp"});
}

RunSample BenchRun::TimeWindowJoin() {
    RunSample sample;
    m_window.JoinAll(
        m_windowRowFolders, m_windowJoinFolder,
        [&](const WindowRunner::Presses& presses) {
            m_cache.BeforeTimedRun(WindowPieces());
            const PhaseTimer timer;
            presses();
            sample = Finish(timer, {m_windowJoinFolder / "temp"});
        },
        m_pumpIntervals);
    return sample;
}

RunSample BenchRun::TimeCatJoin() const {
    m_cache.BeforeTimedRun(ToolPieces());
    std::vector<std::string> argv = {"cat"};
    for (const auto& piece : ToolPieces()) {
        argv.push_back(piece.string());
    }
    const PhaseTimer timer;
    ChildProcess(argv).StdoutTo(m_toolJoinFolder / "temp").RunChecked();
    return Finish(timer, {m_toolJoinFolder / "temp"});
}

void BenchRun::RunRound(int round) {
    MakeRoundFolders();
    // The order of a phase is reversed in the next round, so any drift of
    // the machine during a round favours no one: the engine and the tool
    // trade first and last place, and the engine and the window trade who
    // goes first of the two.
    const bool oursFirst = round % 2 == 1;

    RunSample ourSplit;
    RunSample windowSplit;
    RunSample toolSplit;
    if (oursFirst) {
        ourSplit = TimeOurSplit();
        windowSplit = TimeWindowSplit();
        toolSplit = TimeToolSplit();
    } else {
        toolSplit = TimeToolSplit();
        windowSplit = TimeWindowSplit();
        ourSplit = TimeOurSplit();
    }
    if (round == 1) {
        const auto ours = OurPieces();
        const auto window = WindowPieces();
        const auto theirs = ToolPieces();
        for (std::size_t i = 0; i < ours.size(); ++i) {
            CheckSameFile(
                theirs[i], ours[i],
                "the engine's piece " + std::to_string(i + 1) + " is not the one split writes");
            CheckSameFile(
                theirs[i], window[i],
                "the window's piece " + std::to_string(i + 1) + " is not the one split writes");
        }
    }

    const RunSample ddCopy = TimeDdCopy();
    std::filesystem::remove(m_ddCopy);

    RunSample ourJoin;
    RunSample windowJoin;
    RunSample catJoin;
    if (oursFirst) {
        ourJoin = TimeOurJoin();
        windowJoin = TimeWindowJoin();
        catJoin = TimeCatJoin();
    } else {
        catJoin = TimeCatJoin();
        windowJoin = TimeWindowJoin();
        ourJoin = TimeOurJoin();
    }
    CheckSameFile(m_source, m_ourJoinFolder / "temp", "the engine's round trip is wrong");
    CheckSameFile(m_source, m_windowJoinFolder / "temp", "the window's round trip is wrong");
    if (round == 1) {
        CheckSameFile(m_source, m_toolJoinFolder / "temp", "split and cat gave a wrong file");
    }

    m_table.Add(kOurSplit, ourSplit);
    m_table.Add(kToolSplit, toolSplit);
    m_table.Add(kDd, ddCopy);
    m_table.Add(kOurJoin, ourJoin);
    m_table.Add(kToolJoin, catJoin);
    m_table.Add(kWindowSplit, windowSplit);
    m_table.Add(kWindowJoin, windowJoin);
    m_out << "round " << round << "/" << m_options.rounds << ": split ours " << Seconds(ourSplit)
          << ", window " << Seconds(windowSplit) << ", split " << Seconds(toolSplit) << " | dd "
          << Seconds(ddCopy) << " | join ours " << Seconds(ourJoin) << ", window "
          << Seconds(windowJoin) << ", cat " << Seconds(catJoin)
          << " | round trips identical to the source\n"
          << std::flush;
    RemoveRoundOutputs();
}

void BenchRun::PrintSummary() const {
    m_out << "\nthroughput over " << m_options.rounds
          << (m_options.rounds == 1 ? " round" : " rounds")
          << ": median, then best run; MB = 10^6 bytes; ratio = ours / theirs (above 1: ours "
             "is faster); cpu = median processor seconds; in the window lines ours is the "
             "window and theirs the engine without it\n"
          << ThroughputTable::Header() << "\n"
          << m_table.CompareLine("split", kOurSplit, kToolSplit) << "\n"
          << m_table.CompareLine("join", kOurJoin, kToolJoin) << "\n"
          << m_table.CompareLine("split vs dd", kOurSplit, kDd) << "\n"
          << m_table.CompareLine("join vs dd", kOurJoin, kDd) << "\n"
          << m_table.CompareLine("window split", kWindowSplit, kOurSplit) << "\n"
          << m_table.CompareLine("window join", kWindowJoin, kOurJoin) << "\n";
    PrintPumpIntervals();
    m_out << "peak resident memory of the engine and window runs: "
          << Mebibytes(PeakResidentBytesOfSelf()) << " (this process, getrusage; "
          << Mebibytes(m_residentBeforeEngine)
          << " with the window framework up, before the first press)\n"
          << "largest standard tool: " << Mebibytes(PeakResidentBytesOfChildren()) << "\n";
}

void BenchRun::PrintPumpIntervals() const {
    const int runs = 2 * m_options.rounds;
    m_out << "window without a pump, from the click to the press's end: longest "
          << Milliseconds(m_pumpIntervals.Longest()) << ", 99th percentile "
          << Milliseconds(m_pumpIntervals.Percentile(99)) << ", over " << m_pumpIntervals.Count()
          << " stretches of " << runs << " timed window runs\n";
}
