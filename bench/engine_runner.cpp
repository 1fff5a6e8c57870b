#include "bench/engine_runner.h"

#include <string>

#include "bench/bench_error.h"
#include "bench/interrupt_flag.h"
#include "bench/work_folder.h"
#include "engine/join.h"
#include "engine/piece_layout.h"
#include "engine/split.h"
#include "framework/core/exceptions.h"
#include "tests/support/temp_dir.h"

void EngineRunner::Host::PumpMessages() {
    if (InterruptFlag::Raised() && TransferState == kTransferRunning) {
        TransferState = kTransferCancelRequested;
    }
    FakeHost::PumpMessages();
}

void EngineRunner::NameRowFolders(const std::vector<std::filesystem::path>& rowFolders) {
    if (rowFolders.size() != static_cast<std::size_t>(kPieceCount)) {
        throw BenchError("the engine needs exactly ten row folders");
    }
    for (int row = 0; row < kPieceCount; ++row) {
        m_host.SetField(FolderFieldOfRow(row + 1),
                        ToCString(rowFolders[static_cast<std::size_t>(row)]));
    }
}

void EngineRunner::PressAll(const char* mode, TransferResult (*press)(TransferHost&, int)) {
    // Rows 1 to 9 may come in any order for a join; the tenth must come last.
    for (int pieceIndex = 0; pieceIndex < kPieceCount; ++pieceIndex) {
        const std::string what = std::string(mode) + " of row " + std::to_string(pieceIndex + 1);
        // Only this call's lines: all of them would grow with the file.
        m_host.statusLines.clear();
        m_host.errors.clear();
        m_host.fieldReads.clear();
        TransferResult result;
        try {
            result = press(m_host, pieceIndex + 1);
        } catch (const CException& e) {
            throw BenchError(what + " raised a file error: " + e.GetErrorMessage().ToUtf8());
        }
        if (!m_host.errors.empty()) {
            throw BenchError(what + " showed an error box: " + m_host.errors.front().ToUtf8());
        }
        InterruptFlag::ThrowIfRaised(what.c_str());
        if (result != kTransferCompleted) {
            throw BenchError(what + " returned " + std::to_string(result) + " without a message");
        }
        const CString last = m_host.statusLines.empty() ? CString() : m_host.statusLines.back();
        if (last.str() != u"100%") {
            throw BenchError(what + " completed but its last status line is '" + last.ToUtf8() +
                             "', not '100%'");
        }
    }
}

RunSample EngineRunner::SplitAll(const std::filesystem::path& source,
                                 const std::vector<std::filesystem::path>& rowFolders,
                                 const RunClock* clock) {
    m_host.SetField(IDC_SOURCE_PATH, ToCString(source));
    NameRowFolders(rowFolders);
    const auto presses = [&] { PressAll("split", SplitPiece); };
    return TimeOrRun(clock, {source}, presses, PiecesIn(rowFolders));
}

RunSample EngineRunner::JoinAll(const std::vector<std::filesystem::path>& rowFolders,
                                const std::filesystem::path& destFolder, const RunClock* clock) {
    NameRowFolders(rowFolders);
    m_host.SetField(IDC_DEST_FOLDER, ToCString(destFolder));
    const auto presses = [&] { PressAll("join", JoinPiece); };
    return TimeOrRun(clock, PiecesIn(rowFolders), presses, {destFolder / "temp"});
}
