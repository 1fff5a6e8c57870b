#include "bench/engine_runner.h"

#include <string>

#include "bench/bench_error.h"
#include "bench/work_folder.h"
#include "engine/join.h"
#include "engine/piece_layout.h"
#include "engine/split.h"
#include "framework/core/exceptions.h"
#include "tests/support/temp_dir.h"

void EngineRunner::PumpMessages() {
    if (Interrupted() && TransferState == kTransferRunning) {
        TransferState = kTransferCancelRequested;
    }
    FakeHost::PumpMessages();
}

void EngineRunner::NameRowFolders(const Paths& rowFolders) {
    for (int row = 1; row <= kPieceCount; ++row) {
        SetField(FolderFieldOfRow(row),
                 ToCString(rowFolders.at(static_cast<std::size_t>(row - 1))));
    }
}

void EngineRunner::PressAll(const char* mode, TransferResult (*press)(TransferHost&, int)) {
    // Rows 1 to 9 may come in any order for a join; the tenth must come last.
    for (int row = 1; row <= kPieceCount; ++row) {
        const std::string what = std::string(mode) + " of row " + std::to_string(row);
        // Only this call's lines: all of them would grow with the file.
        statusLines.clear();
        errors.clear();
        fieldReads.clear();
        TransferResult result;
        try {
            result = press(*this, row);
        } catch (const CException& e) {
            throw BenchError(what + " raised a file error: " + e.GetErrorMessage().ToUtf8());
        }
        if (!errors.empty()) {
            throw BenchError(what + " showed an error box: " + errors.front().ToUtf8());
        }
        ThrowIfInterrupted(what);
        if (result != kTransferCompleted) {
            throw BenchError(what + " returned " + std::to_string(result) + " without a message");
        }
        const CString last = statusLines.empty() ? CString() : statusLines.back();
        if (last.str() != u"100%") {
            throw BenchError(what + " completed but its last status line is '" + last.ToUtf8() +
                             "', not '100%'");
        }
    }
}

RunSample EngineRunner::SplitAll(const std::filesystem::path& source, const Paths& rowFolders,
                                 const RunClock* clock) {
    SetField(IDC_SOURCE_PATH, ToCString(source));
    NameRowFolders(rowFolders);
    const auto presses = [&] { PressAll("split", SplitPiece); };
    return TimeOrRun(clock, {source}, presses, PiecesIn(rowFolders));
}

RunSample EngineRunner::JoinAll(const Paths& rowFolders, const std::filesystem::path& destFolder,
                                const RunClock* clock) {
    NameRowFolders(rowFolders);
    SetField(IDC_DEST_FOLDER, ToCString(destFolder));
    const auto presses = [&] { PressAll("join", JoinPiece); };
    return TimeOrRun(clock, PiecesIn(rowFolders), presses, {destFolder / "temp"});
}
