#include "bench/engine_runner.h"

#include <string>

#include "bench/bench_error.h"
#include "bench/interrupt_flag.h"
#include "engine/join.h"
#include "engine/split.h"
#include "framework/core/exceptions.h"
#include "resources/resource.h"

namespace {

CString ToCString(const std::filesystem::path& path) {
    return CString::FromUtf8(path.string());
}

}  // namespace

void EngineRunner::SetRowFolders(const std::vector<std::filesystem::path>& rowFolders) {
    if (rowFolders.size() != static_cast<std::size_t>(kPieceCount)) {
        throw BenchError("the engine needs exactly ten row folders");
    }
    for (int row = 0; row < kPieceCount; ++row) {
        m_host.SetField(IDC_FOLDER_1 + row, ToCString(rowFolders[static_cast<std::size_t>(row)]));
    }
}

template <typename Call>
void EngineRunner::Press(const char* mode, int pieceIndex, Call call) {
    const std::string what = std::string(mode) + " of row " + std::to_string(pieceIndex + 1);
    m_host.BeginCall();
    TransferResult result;
    try {
        result = call(m_host, pieceIndex);
    } catch (const CException& e) {
        throw BenchError(what + " raised a file error: " + e.GetErrorMessage().ToUtf8());
    }
    if (!m_host.errors().empty()) {
        throw BenchError(what + " showed an error box: " + m_host.errors().front().ToUtf8());
    }
    InterruptFlag::ThrowIfRaised(what.c_str());
    if (result != kTransferCompleted) {
        throw BenchError(what + " returned " + std::to_string(result) + " without a message");
    }
    if (m_host.lastStatusLine().str() != u"100%") {
        throw BenchError(what + " completed but its last status line is '" +
                         m_host.lastStatusLine().ToUtf8() + "', not '100%'");
    }
}

void EngineRunner::SplitAll(const std::filesystem::path& source,
                            const std::vector<std::filesystem::path>& rowFolders) {
    m_host.SetField(IDC_SOURCE_PATH, ToCString(source));
    SetRowFolders(rowFolders);
    for (int pieceIndex = 0; pieceIndex < kPieceCount; ++pieceIndex) {
        Press("split", pieceIndex, SplitPiece);
    }
}

void EngineRunner::JoinAll(const std::vector<std::filesystem::path>& rowFolders,
                           const std::filesystem::path& destFolder) {
    SetRowFolders(rowFolders);
    m_host.SetField(IDC_DEST_FOLDER, ToCString(destFolder));
    // Rows 1 to 9 may come in any order; the tenth must come last.
    for (int pieceIndex = 0; pieceIndex < kPieceCount; ++pieceIndex) {
        Press("join", pieceIndex, JoinPiece);
    }
}
