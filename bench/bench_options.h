// The command line of the benchmark, read by CLI11.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct BenchOptions {
    std::uint64_t size = std::uint64_t{2} << 30;  // bytes of the source file
    std::filesystem::path dir;                    // parent of the run's work folder
    int rounds = 3;
    bool cold = false;  // drop the page cache before each timed run (root only)
    bool sync = true;   // count flushing the written data to disk in every run
    bool help = false;
    // --medium: the write speeds, in bytes per second, of the simulated slow
    // media (bench/medium.sh) to run on instead of the fast disk.
    std::vector<std::uint64_t> mediumSpeeds;
    bool ownGroup = false;  // the media's limit on a cgroup of the benchmark's own
    int maxSectorsKb = 0;   // the loop device's largest request; 0: the kernel's
    // From medium.sh: the mounted medium to measure on, and its speed.
    std::filesystem::path onMedium;
    std::uint64_t mediumSpeed = 0;
};

// Reads argv; raises BenchError naming the offending argument. `defaultDir`
// is used when --dir is not given. `usage` gets the text printed by --help
// and after a bad option.
BenchOptions ParseBenchOptions(int argc, const char* const* argv,
                               const std::filesystem::path& defaultDir, std::string& usage);
