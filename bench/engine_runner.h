// Drives the engine as ten button presses would: ten SplitPiece calls for a
// whole split, ten JoinPiece calls (rows 1 to 10 in order) for a whole join,
// with the tests' fake host for the window, whose pump turns an interrupt of
// the benchmark into the cancel request a closing window makes. Anything but
// a clean completion of every call raises BenchError.
#pragma once

#include <filesystem>
#include <vector>

#include "bench/run_clock.h"
#include "engine/transfer.h"
#include "tests/support/fake_host.h"

class EngineRunner : private FakeHost {
public:
    using Paths = std::vector<std::filesystem::path>;

    // Writes piece n of `source` into rowFolders[n - 1], n = 1..10; timed
    // by `clock` when it is given.
    RunSample SplitAll(const std::filesystem::path& source, const Paths& rowFolders,
                       const RunClock* clock = nullptr);
    // Puts the piece of each row folder into `temp` in `destFolder`.
    RunSample JoinAll(const Paths& rowFolders, const std::filesystem::path& destFolder,
                      const RunClock* clock = nullptr);

private:
    void PumpMessages() override;
    void NameRowFolders(const Paths& rowFolders);
    void PressAll(const char* mode, TransferResult (*press)(TransferHost&, int));
};
