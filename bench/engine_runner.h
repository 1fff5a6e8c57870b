// Drives the engine as ten button presses would: ten SplitPiece calls for a
// whole split, ten JoinPiece calls (rows 1 to 10 in order) for a whole join.
// Anything but a clean completion of every call raises BenchError.
#pragma once

#include <filesystem>
#include <vector>

#include "bench/headless_host.h"

class EngineRunner {
public:
    // Writes piece n of `source` into rowFolders[n - 1], n = 1..10.
    void SplitAll(const std::filesystem::path& source,
                  const std::vector<std::filesystem::path>& rowFolders);
    // Puts the piece of each row folder into `temp` in `destFolder`.
    void JoinAll(const std::vector<std::filesystem::path>& rowFolders,
                 const std::filesystem::path& destFolder);

private:
    void SetRowFolders(const std::vector<std::filesystem::path>& rowFolders);
    template <typename Call>
    void Press(const char* mode, int pieceIndex, Call call);

    HeadlessHost m_host;
};
