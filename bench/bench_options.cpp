#include "bench/bench_options.h"

#include <cctype>
#include <charconv>

#include "bench/bench_error.h"

namespace {

// The source, three sets of pieces and three joined files must fit on one disk;
// anything beyond a few TiB is a typo, not a benchmark.
constexpr std::uint64_t kLargestSize = std::uint64_t{1} << 42;
// Below ten bytes nine of the pieces would be empty.
constexpr std::uint64_t kSmallestSize = 10;
constexpr int kMostRounds = 99;
// On a simulated medium ten pieces of 64 MiB: every wait of the write-behind
// shows, and the slowest medium is still done in minutes.
constexpr std::uint64_t kMediumDefaultSize = std::uint64_t{640} << 20;
// Two rounds, so that one unlucky run does not make a medium's figures.
constexpr int kMediumDefaultRounds = 2;
// A page at the least; the kernel refuses more than the device takes.
constexpr int kFewestSectorsKb = 4;
constexpr int kMostSectorsKb = 1 << 20;
// The cancel is pressed in the middle of a piece: a piece needs two chunks.
constexpr std::uint64_t kMediumSmallestSize = std::uint64_t{20} << 20;
// Slower than this a run takes hours; faster, the limit is no longer the
// medium's but the disk's under it.
constexpr std::uint64_t kSlowestMedium = std::uint64_t{1} << 20;
constexpr std::uint64_t kFastestMedium = std::uint64_t{64} << 30;

int ShiftOfSuffix(char suffix) {
    switch (std::toupper(static_cast<unsigned char>(suffix))) {
        case 'K':
            return 10;
        case 'M':
            return 20;
        case 'G':
            return 30;
        case 'T':
            return 40;
        default:
            return -1;
    }
}

const std::string& ValueOf(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) {
        throw BenchError("option " + args[i] + " needs a value");
    }
    return args[++i];
}

int ParseSectorsKb(const std::string& text) {
    int kb = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), kb);
    if (error != std::errc() || end != text.data() + text.size() || kb < kFewestSectorsKb ||
        kb > kMostSectorsKb) {
        throw BenchError("--max-sectors-kb wants a whole number of KiB from 4 to 1048576, not '" +
                         text + "'");
    }
    return kb;
}

int ParseRounds(const std::string& text) {
    int rounds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rounds);
    if (error != std::errc() || end != text.data() + text.size() || rounds < 1 ||
        rounds > kMostRounds) {
        throw BenchError("--rounds wants a whole number from 1 to 99, not '" + text + "'");
    }
    return rounds;
}

// A byte count with an optional binary suffix; the messages name `option`.
std::uint64_t ParseByteCount(std::string_view text, const std::string& option,
                             const std::string& examples) {
    const std::string shown(text);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const auto digits = static_cast<std::size_t>(end - text.data());
    if (error == std::errc::result_out_of_range) {
        throw BenchError(option + " '" + shown + "' is too large");
    }
    if (error != std::errc() || text.size() - digits > 1) {
        throw BenchError(option + " wants " + examples + ", not '" + shown + "'");
    }
    if (digits < text.size()) {
        const int shift = ShiftOfSuffix(text[digits]);
        if (shift < 0) {
            throw BenchError(option + " '" + shown + "' has an unknown suffix (use K, M, G or T)");
        }
        if (value > (kLargestSize >> shift)) {
            throw BenchError(option + " '" + shown + "' is too large");
        }
        value <<= shift;
    }
    if (value > kLargestSize) {
        throw BenchError(option + " '" + shown + "' is too large");
    }
    return value;
}

// What a run on simulated media takes unless told otherwise, and what it
// cannot do.
void ApplyMediumRules(BenchOptions& options, bool sizeGiven, bool roundsGiven) {
    if (options.mediumSpeeds.empty()) {
        if (options.ownGroup || options.maxSectorsKb != 0) {
            throw BenchError("--own-group and --max-sectors-kb go with --medium only");
        }
        return;
    }
    if (!options.sync) {
        throw BenchError(
            "--no-sync does not go with --medium: a medium's run ends when its data is on it");
    }
    if (!sizeGiven) {
        options.size = kMediumDefaultSize;
    }
    if (!roundsGiven) {
        options.rounds = kMediumDefaultRounds;
    }
    if (options.size < kMediumSmallestSize) {
        throw BenchError("--medium needs a --size of at least 20M (two chunks per piece), not " +
                         std::to_string(options.size) + " bytes");
    }
}

}  // namespace

std::uint64_t ParseByteSize(std::string_view text) {
    const std::uint64_t value =
        ParseByteCount(text, "--size", "a byte count such as 2147483648, 512M or 2G");
    if (value < kSmallestSize) {
        throw BenchError("--size '" + std::string(text) + "' is too small: at least 10 bytes");
    }
    return value;
}

std::vector<std::uint64_t> ParseMediumSpeeds(std::string_view text) {
    std::vector<std::uint64_t> speeds;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string_view one = text.substr(start, comma - start);
        const std::uint64_t speed =
            ParseByteCount(one, "--medium", "write speeds in bytes per second such as 5M,10M,40M");
        if (speed < kSlowestMedium || speed > kFastestMedium) {
            throw BenchError("--medium '" + std::string(one) +
                             "' is out of range: a speed from 1M to 64G per second");
        }
        speeds.push_back(speed);
        if (comma == std::string_view::npos) {
            return speeds;
        }
        start = comma + 1;
    }
}

BenchOptions ParseBenchOptions(const std::vector<std::string>& args,
                               const std::filesystem::path& defaultDir) {
    BenchOptions options;
    options.dir = defaultDir;
    bool sizeGiven = false;
    bool roundsGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--size") {
            options.size = ParseByteSize(ValueOf(args, i));
            sizeGiven = true;
        } else if (arg == "--dir") {
            const std::string& dir = ValueOf(args, i);
            if (dir.empty()) {
                throw BenchError("--dir wants a folder, not an empty text");
            }
            options.dir = dir;
        } else if (arg == "--rounds") {
            options.rounds = ParseRounds(ValueOf(args, i));
            roundsGiven = true;
        } else if (arg == "--medium") {
            options.mediumSpeeds = ParseMediumSpeeds(ValueOf(args, i));
        } else if (arg == "--own-group") {
            options.ownGroup = true;
        } else if (arg == "--max-sectors-kb") {
            options.maxSectorsKb = ParseSectorsKb(ValueOf(args, i));
        } else if (arg == "--cold") {
            options.cold = true;
        } else if (arg == "--no-sync") {
            options.sync = false;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            throw BenchError("unknown argument '" + arg + "'");
        }
    }
    ApplyMediumRules(options, sizeGiven, roundsGiven);
    return options;
}

std::string BenchUsage() {
    return "usage: tesserak_bench [--size BYTES] [--dir FOLDER] [--rounds N] [--cold] "
           "[--no-sync] [--medium SPEEDS [--own-group] [--max-sectors-kb KIB]]\n"
           "  --size BYTES   size of the source file, with an optional K, M, G or T suffix "
           "(default 2G)\n"
           "  --dir FOLDER   where the run's work folder is made (default: bench-work in the "
           "build tree)\n"
           "  --rounds N     timed rounds; each runs ours and the standard tools once "
           "(default 3)\n"
           "  --cold         drop the page cache before each timed run (needs root); the "
           "default warms it\n"
           "  --no-sync      leave flushing to disk out of the timings (default: flush "
           "inside each run)\n"
           "  --medium SPEEDS  instead of the fast disk, for each write speed (bytes per "
           "second,\n"
           "                 e.g. 5M,10M,40M) a simulated slow medium: a loop device whose "
           "writes\n"
           "                 a block-I/O cgroup limits (needs root and loop devices); the "
           "pieces and\n"
           "                 the joined file go on it, the source stays on the disk "
           "(default size 640M,\n"
           "                 2 rounds)\n"
           "  --own-group    the media's write limit on a block-I/O cgroup of the benchmark's "
           "own\n"
           "                 (cgroup v1; the default is the root group, v2 always has its own)\n"
           "  --max-sectors-kb KIB  the loop device's largest request (its queue's "
           "max_sectors_kb;\n"
           "                 default: the kernel's)\n";
}
