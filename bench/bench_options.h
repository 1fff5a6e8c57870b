// The command line of the benchmark.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct BenchOptions {
    std::uint64_t size = std::uint64_t{2} << 30;  // bytes of the source file
    std::filesystem::path dir;                    // parent of the run's work folder
    int rounds = 3;
    bool cold = false;  // drop the page cache before each timed run (root only)
    bool sync = true;   // count flushing the written data to disk in every run
    bool help = false;
    // Write speeds, in bytes per second, of the simulated slow media to run
    // on instead of the fast disk; empty for the fast disk.
    std::vector<std::uint64_t> mediumSpeeds;
    // The media's write limit on a block-I/O group of the benchmark's own;
    // otherwise, on cgroup v1, on the root group.
    bool ownGroup = false;
    // The loop device's largest request, in KiB; 0 leaves the kernel's.
    int maxSectorsKb = 0;
};

// Parses argv; raises BenchError with the offending argument on bad input.
// `defaultDir` is used when --dir is not given.
BenchOptions ParseBenchOptions(const std::vector<std::string>& args,
                               const std::filesystem::path& defaultDir);

// "2147483648", "512M", "2G", "24m": a byte count with an optional binary
// suffix K, M, G or T. Raises BenchError when it is not one.
std::uint64_t ParseByteSize(std::string_view text);

// "5M,10M,40M": the write speeds of --medium, in bytes per second, each with
// the suffixes of ParseByteSize, from 1M to 64G. Raises BenchError naming the
// first that is not one.
std::vector<std::uint64_t> ParseMediumSpeeds(std::string_view text);

// The usage text printed by --help and after a bad option.
std::string BenchUsage();
