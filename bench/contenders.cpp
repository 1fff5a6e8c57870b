#include "bench/contenders.h"

#include <cstdio>

#include "bench/floor_loop.h"
#include "bench/unique_fd.h"
#include "engine/piece_layout.h"
#include "tests/support/temp_dir.h"

RunSample Contenders::Timed(const Paths& inputs, const std::function<void()>& run,
                            const Paths& outputs) const {
    m_cache.BeforeTimedRun(inputs);
    const PhaseTimer timer;
    run();
    if (!m_sync) {
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

RunSample Contenders::EngineSplit(const std::filesystem::path& source, const Paths& rows) {
    return Timed(
        {source}, [&] { m_engine.SplitAll(source, rows); }, PiecesIn(rows));
}

RunSample Contenders::EngineJoin(const Paths& rows, const std::filesystem::path& dest) {
    return Timed(PiecesIn(rows), [&] { m_engine.JoinAll(rows, dest); }, {dest / "temp"});
}

RunSample Contenders::WindowSplit(const std::filesystem::path& source, const Paths& rows,
                                  PumpStretches& stretches) {
    // The clock runs inside the dialog's loop, around the presses only.
    RunSample sample;
    m_window.SplitAll(
        source, rows,
        [&](const WindowRunner::Presses& presses) {
            sample = Timed({source}, presses, PiecesIn(rows));
        },
        stretches);
    return sample;
}

RunSample Contenders::WindowJoin(const Paths& rows, const std::filesystem::path& dest,
                                 PumpStretches& stretches) {
    RunSample sample;
    m_window.JoinAll(
        rows, dest,
        [&](const WindowRunner::Presses& presses) {
            sample = Timed(PiecesIn(rows), presses, {dest / "temp"});
        },
        stretches);
    return sample;
}

RunSample Contenders::Floor(const std::filesystem::path& file, std::uint64_t size,
                            PumpStretches& waits) {
    return Timed({}, [&] { WriteAtFloor(file, size, waits); }, {});
}

RunSample Contenders::Tool(const ChildProcess& tool, const Paths& inputs, const Paths& outputs) {
    return Timed(
        inputs, [&] { tool.RunChecked(); }, outputs);
}

WindowRunner::CancelTimes Contenders::SplitCancelled(const std::filesystem::path& source,
                                                     const Paths& rows, int atPump) {
    m_cache.BeforeTimedRun({source});
    return m_window.SplitCancelled(source, rows, 1, atPump);
}

std::vector<std::filesystem::path> RowFolders(const std::filesystem::path& parent) {
    std::vector<std::filesystem::path> rows;
    for (int row = 1; row <= kPieceCount; ++row) {
        char name[16];
        std::snprintf(name, sizeof name, "row%02d", row);
        rows.push_back(parent / name);
    }
    return rows;
}

std::vector<std::filesystem::path> PiecesIn(const std::vector<std::filesystem::path>& rows) {
    std::vector<std::filesystem::path> pieces;
    for (int row = 1; row <= kPieceCount; ++row) {
        pieces.push_back(PieceFile(rows[static_cast<std::size_t>(row - 1)], row));
    }
    return pieces;
}
