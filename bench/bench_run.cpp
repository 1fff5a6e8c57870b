#include "bench/bench_run.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "bench/bench_error.h"
#include "engine/file64.h"
#include "engine/piece_layout.h"
#include "engine/transfer.h"

namespace {

// Alive at once: the source, three sets of pieces and three joined files.
constexpr std::uint64_t kCopiesOnDisk = 7;

// The contenders, as the summary names them.
const std::string kOurSplit = "ours-split", kOurJoin = "ours-join", kWindowSplit = "window-split",
                  kWindowJoin = "window-join", kToolSplit = "split", kToolJoin = "cat", kDd = "dd";

// "2.31 s (flush 1.20, cpu 0.45)": where a slow run lost its time.
std::string Seconds(const RunSample& s) {
    return Printf("%.2f s (flush %.2f, cpu %.2f)", s.seconds, s.flushSeconds, s.cpuSeconds);
}

}  // namespace

BenchRun::BenchRun(const BenchOptions& options, std::ostream& out)
    : m_options(options),
      m_out(out),
      m_clock(options.cold, options.sync),
      m_work(options.dir, kCopiesOnDisk * options.size, "(seven copies of the source)"),
      m_table(options.size),
      m_ourRows(RowFolders(m_work.path() / "ours")),
      m_windowRows(RowFolders(m_work.path() / "window")),
      m_toolPieces(PiecesIn(std::vector(kPieceCount, m_work.path() / "theirs" / "pieces"))) {
    // The window's folders have the longer name.
    const std::filesystem::path longest = PiecesIn(m_windowRows).back();
    if (longest.u16string().size() > static_cast<std::size_t>(kMaxPathLength)) {
        throw BenchError("the path " + longest.string() + " is longer than the " +
                         std::to_string(kMaxPathLength) +
                         " units a piece path may have: use a shorter --dir");
    }
}

void BenchRun::Run() {
    m_out << "tesserak_bench: " << m_options.size << " bytes (" << Mebibytes(m_options.size)
          << "), " << RoundsText(m_options.rounds) << ", in " << m_work.path().string() << "\n"
          << m_clock.Describe() << "\n"
          << (m_options.sync ? "disk writes counted: inside its time, every run ends by "
                               "flushing all it wrote to disk (write-back started for every "
                               "file, then fsync each)"
                             : "disk writes not counted: the written data is flushed after the "
                               "clock stops (--no-sync)")
          << "\n"
          << std::flush;
    m_source = m_work.MakeSource(m_options.size);
    m_residentBeforeEngine = PeakResidentBytesOfSelf();
    // At most one stretch per full chunk of every timed window run, and one
    // more per press.
    m_stretches.Reserve(static_cast<std::size_t>(m_options.rounds) * 2 *
                        static_cast<std::size_t>(m_options.size / ChunkSize + kPieceCount));
    // On this machine whichever run goes first after a quiet spell is
    // sometimes several times slower, most of its time processor time in the
    // kernel (seen at 2 GiB and 5 GiB: a first split of 10.8 s against 1.8 to
    // 2.1 s afterwards), which a median of three rounds does not always hide.
    // So the engine and the window each split and join once before the clock
    // runs.
    const auto& work = m_work.path();
    MakeFolders(m_ourRows);
    MakeFolders(m_windowRows);
    MakeFolders({work / "ours" / "joined", work / "window" / "joined"});
    m_engine.SplitAll(m_source, m_ourRows);
    m_engine.JoinAll(m_ourRows, work / "ours" / "joined");
    PumpStretches untimed;
    m_window.SplitAll(m_source, m_windowRows, untimed);
    m_window.JoinAll(m_windowRows, work / "window" / "joined", untimed);
    RemoveAll({work / "ours", work / "window"});
    m_out << "warm-up: one untimed split and join by the engine and by the window\n" << std::flush;
    for (int round = 1; round <= m_options.rounds; ++round) {
        RunRound(round);
    }
    PrintSummary();
}

void BenchRun::RunRound(int round) {
    const auto& work = m_work.path();
    const auto ourJoined = work / "ours" / "joined";
    const auto windowJoined = work / "window" / "joined";
    const auto toolJoined = work / "theirs" / "joined";
    const auto ddCopy = work / "dd-copy";
    MakeFolders(m_ourRows);
    MakeFolders(m_windowRows);
    MakeFolders({ourJoined, windowJoined, m_toolPieces.front().parent_path(), toolJoined});
    // The order of a phase is reversed in the next round, so any drift of
    // the machine during a round favours no one: the engine and the tool
    // trade first and last place, and the engine and the window trade who
    // goes first of the two.
    std::map<std::string, RunSample> s;
    const auto phase = [&](std::vector<std::pair<std::string, std::function<RunSample()>>> runs) {
        if (round % 2 == 0) {
            std::ranges::reverse(runs);
        }
        for (const auto& [name, run] : runs) {
            s[name] = run();
        }
    };
    const auto tool = [&](const std::vector<std::string>& argv, const RunClock::Paths& inputs,
                          const RunClock::Paths& outputs, const std::filesystem::path& stdoutTo) {
        return m_clock.Time(
            inputs, [&] { RunTool(argv, stdoutTo); }, outputs);
    };
    phase({{kOurSplit, [&] { return m_engine.SplitAll(m_source, m_ourRows, &m_clock); }},
           {kWindowSplit,
            [&] { return m_window.SplitAll(m_source, m_windowRows, m_stretches, &m_clock); }},
           {kToolSplit, [&] {
                return tool(
                    {"split", "-n", "10", "-a", "3", "--numeric-suffixes=1", m_source.string(),
                     (m_toolPieces.front().parent_path() / "temp").string()},
                    {m_source}, m_toolPieces, {});
            }}});
    const auto ours = PiecesIn(m_ourRows);
    const auto window = PiecesIn(m_windowRows);
    for (std::size_t i = 0; round == 1 && i < ours.size(); ++i) {
        const std::string piece = std::to_string(i + 1) + " is not the one split writes";
        CheckSameFile(m_toolPieces[i], ours[i], "the engine's piece " + piece);
        CheckSameFile(m_toolPieces[i], window[i], "the window's piece " + piece);
    }

    s[kDd] =
        tool({"dd", "if=" + m_source.string(), "of=" + ddCopy.string(), "bs=1M", "status=none"},
             {m_source}, {ddCopy}, {});
    RemoveAll({ddCopy});

    std::vector<std::string> cat = {"cat"};
    cat.insert(cat.end(), m_toolPieces.begin(), m_toolPieces.end());
    phase({{kOurJoin, [&] { return m_engine.JoinAll(m_ourRows, ourJoined, &m_clock); }},
           {kWindowJoin,
            [&] { return m_window.JoinAll(m_windowRows, windowJoined, m_stretches, &m_clock); }},
           {kToolJoin,
            [&] { return tool(cat, m_toolPieces, {toolJoined / "temp"}, toolJoined / "temp"); }}});
    CheckSameFile(m_source, ourJoined / "temp", "the engine's round trip is wrong");
    CheckSameFile(m_source, windowJoined / "temp", "the window's round trip is wrong");
    if (round == 1) {
        CheckSameFile(m_source, toolJoined / "temp", "split and cat gave a wrong file");
    }

    for (const auto& [name, sample] : s) {
        m_table.Add(name, sample);
    }
    m_out << "round " << round << "/" << m_options.rounds << ": split ours "
          << Seconds(s[kOurSplit]) << ", window " << Seconds(s[kWindowSplit]) << ", split "
          << Seconds(s[kToolSplit]) << " | dd " << Seconds(s[kDd]) << " | join ours "
          << Seconds(s[kOurJoin]) << ", window " << Seconds(s[kWindowJoin]) << ", cat "
          << Seconds(s[kToolJoin]) << " | round trips identical to the source\n"
          << std::flush;
    // Everything below these folders was made by this round.
    RemoveAll({work / "ours", work / "window", work / "theirs"});
}

void BenchRun::PrintSummary() const {
    m_out << "\nthroughput over " << RoundsText(m_options.rounds)
          << ": median, then best run; MB = 10^6 bytes; ratio = ours / theirs (above 1: ours "
             "is faster); cpu = median processor seconds; in the window lines ours is the "
             "window and theirs the engine without it\n"
          << ThroughputTable::Header() << "\n";
    for (const auto& [phase, ours, theirs] : {std::tuple{"split", kOurSplit, kToolSplit},
                                              {"join", kOurJoin, kToolJoin},
                                              {"split vs dd", kOurSplit, kDd},
                                              {"join vs dd", kOurJoin, kDd},
                                              {"window split", kWindowSplit, kOurSplit},
                                              {"window join", kWindowJoin, kOurJoin}}) {
        m_out << m_table.CompareLine(phase, ours, theirs) << "\n";
    }
    m_out << "window without a pump, from the click to the press's end: longest "
          << Milliseconds(m_stretches.Longest()) << ", 99th percentile "
          << Milliseconds(m_stretches.Percentile(99)) << ", over " << m_stretches.Count()
          << " stretches of " << 2 * m_options.rounds << " timed window runs\n"
          << "peak resident memory of the engine and window runs: "
          << Mebibytes(PeakResidentBytesOfSelf()) << " (this process, getrusage; "
          << Mebibytes(m_residentBeforeEngine)
          << " with the window framework up, before the first press)\n"
          << "largest standard tool: " << Mebibytes(PeakResidentBytesOfChildren()) << "\n";
}
