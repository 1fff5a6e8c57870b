#include "bench/bench_options.h"

#include <cctype>
#include <limits>

#include "bench/bench_error.h"

namespace {

// The source, three sets of pieces and three joined files must fit on one disk;
// anything beyond a few TiB is a typo, not a benchmark.
constexpr std::uint64_t kLargestSize = std::uint64_t{1} << 42;
// Below ten bytes nine of the pieces would be empty.
constexpr std::uint64_t kSmallestSize = 10;
constexpr int kMostRounds = 99;

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

int ParseRounds(const std::string& text) {
    int rounds = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) || rounds > kMostRounds) {
            throw BenchError("--rounds wants a whole number from 1 to 99, not '" + text + "'");
        }
        rounds = rounds * 10 + (c - '0');
    }
    if (text.empty() || rounds < 1 || rounds > kMostRounds) {
        throw BenchError("--rounds wants a whole number from 1 to 99, not '" + text + "'");
    }
    return rounds;
}

}  // namespace

std::uint64_t ParseByteSize(std::string_view text) {
    const std::string shown(text);
    std::size_t digits = 0;
    std::uint64_t value = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) {
        const unsigned digit = static_cast<unsigned>(text[digits] - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) {
            throw BenchError("--size '" + shown + "' is too large");
        }
        value = value * 10 + digit;
        ++digits;
    }
    if (digits == 0 || text.size() - digits > 1) {
        throw BenchError("--size wants a byte count such as 2147483648, 512M or 2G, not '" + shown +
                         "'");
    }
    if (digits < text.size()) {
        const int shift = ShiftOfSuffix(text[digits]);
        if (shift < 0) {
            throw BenchError("--size '" + shown + "' has an unknown suffix (use K, M, G or T)");
        }
        if (value > (kLargestSize >> shift)) {
            throw BenchError("--size '" + shown + "' is too large");
        }
        value <<= shift;
    }
    if (value > kLargestSize) {
        throw BenchError("--size '" + shown + "' is too large");
    }
    if (value < kSmallestSize) {
        throw BenchError("--size '" + shown + "' is too small: at least 10 bytes");
    }
    return value;
}

BenchOptions ParseBenchOptions(const std::vector<std::string>& args,
                               const std::filesystem::path& defaultDir) {
    BenchOptions options;
    options.dir = defaultDir;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--size") {
            options.size = ParseByteSize(ValueOf(args, i));
        } else if (arg == "--dir") {
            const std::string& dir = ValueOf(args, i);
            if (dir.empty()) {
                throw BenchError("--dir wants a folder, not an empty text");
            }
            options.dir = dir;
        } else if (arg == "--rounds") {
            options.rounds = ParseRounds(ValueOf(args, i));
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
    return options;
}

std::string BenchUsage() {
    return "usage: tesserak_bench [--size BYTES] [--dir FOLDER] [--rounds N] [--cold] "
           "[--no-sync]\n"
           "  --size BYTES   size of the source file, with an optional K, M, G or T suffix "
           "(default 2G)\n"
           "  --dir FOLDER   where the run's work folder is made (default: bench-work in the "
           "build tree)\n"
           "  --rounds N     timed rounds; each runs ours and the standard tools once "
           "(default 3)\n"
           "  --cold         drop the page cache before each timed run (needs root); the "
           "default warms it\n"
           "  --no-sync      leave flushing to disk out of the timings (default: flush "
           "inside each run)\n";
}
