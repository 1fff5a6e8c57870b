#include "bench/bench_options.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <charconv>
#include <string_view>

#include "bench/bench_error.h"

namespace {

// The source, three sets of pieces and three joined files must fit on one
// disk; anything beyond a few TiB is a typo, not a benchmark.
constexpr std::uint64_t kLargestSize = std::uint64_t{1} << 42;
// Below ten bytes nine of the pieces would be empty.
constexpr std::uint64_t kSmallestSize = 10;
// On a simulated medium ten pieces of 64 MiB: every wait of the write-behind
// shows, and the slowest medium is still done in minutes. Two rounds, so that
// one unlucky run does not make a medium's figures.
constexpr std::uint64_t kMediumDefaultSize = std::uint64_t{640} << 20;
constexpr int kMediumDefaultRounds = 2;
// The cancel is pressed in the middle of a piece: a piece needs two chunks.
constexpr std::uint64_t kMediumSmallestSize = std::uint64_t{20} << 20;
// Slower than this a run takes hours; faster, the limit is no longer the
// medium's but the disk's under it.
constexpr std::uint64_t kSlowestMedium = std::uint64_t{1} << 20;
constexpr std::uint64_t kFastestMedium = std::uint64_t{64} << 30;

// A byte count with an optional binary suffix K, M, G or T; the messages
// name `option`.
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
        const std::string_view suffixes = "KMGT";
        const std::size_t at = suffixes.find(
            static_cast<char>(std::toupper(static_cast<unsigned char>(text[digits]))));
        if (at == std::string_view::npos) {
            throw BenchError(option + " '" + shown + "' has an unknown suffix (use K, M, G or T)");
        }
        const int shift = 10 * static_cast<int>(at + 1);
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

// A whole number from `least` to `most`.
int ParseWhole(const std::string& text, const std::string& option, int least, int most,
               const std::string& unit) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < least || value > most) {
        throw BenchError(option + " wants a whole number" + unit + " from " +
                         std::to_string(least) + " to " + std::to_string(most) + ", not '" + text +
                         "'");
    }
    return value;
}

// "5M,10M,40M": each with the suffixes of a byte count, from 1M to 64G.
std::vector<std::uint64_t> ParseMediumSpeeds(std::string_view text) {
    std::vector<std::uint64_t> speeds;
    for (std::size_t start = 0;;) {
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

// The values as given; CLI11 checks only the grammar.
struct Given {
    std::string size, dir, rounds, medium, sectorsKb, onMedium, speed;
    bool noSync = false;
};

void Describe(CLI::App& app, BenchOptions& o, Given& g) {
    app.get_formatter()->column_width(24);
    app.allow_extras();  // named in our words below
    app.add_option("--size", g.size, "size of the source file (default 2G)")->option_text("BYTES");
    app.add_option("--dir", g.dir,
                   "where the run's work folder is made (default: bench-work in the build tree)")
        ->option_text("FOLDER");
    app.add_option("--rounds", g.rounds,
                   "timed rounds, each runs ours and the tools once (default 3)")
        ->option_text("N");
    app.add_flag("--cold", o.cold, "drop the page cache before each timed run (needs root)");
    app.add_flag("--no-sync", g.noSync, "leave flushing to disk out of the timings");
    app.add_option("--medium", g.medium, "run on simulated slow media of these write speeds")
        ->option_text("SPEEDS");
    app.add_flag("--own-group", o.ownGroup, "with --medium: the limit on a cgroup of its own");
    app.add_option("--max-sectors-kb", g.sectorsKb,
                   "with --medium: the loop device's largest request")
        ->option_text("KIB");
    // From medium.sh only.
    app.add_option("--on-medium", g.onMedium)->group("");
    app.add_option("--speed", g.speed)->group("");
    app.footer(
        "BYTES and SPEEDS take an optional K, M, G or T suffix. By default the page cache is\n"
        "warmed with each run's input, and each run ends by flushing what it wrote to disk.\n"
        "--medium 5M,10M,40M: instead of the fast disk, for each write speed (bytes per second)\n"
        "a simulated slow medium (bench/medium.sh): a loop device whose writes a block-I/O\n"
        "cgroup limits (needs root and loop devices); the pieces, the joined file and the floor\n"
        "loop's file go on it, the source stays on the disk (default size 640M, 2 rounds). The\n"
        "limit is on the root group on cgroup v1 unless --own-group, always on a group of its\n"
        "own on v2; --max-sectors-kb sets the loop device's max_sectors_kb (default: the\n"
        "kernel's).");
}

const char* const kAbout = "The throughput of Tesserak's split and join against split, cat and dd";

// What a run on simulated media takes unless told otherwise, and what it
// cannot do.
void ApplyMediumRules(BenchOptions& options, bool sizeGiven, bool roundsGiven) {
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

BenchOptions ParseBenchOptions(int argc, const char* const* argv,
                               const std::filesystem::path& defaultDir) {
    BenchOptions o;
    Given g;
    CLI::App app(kAbout, "tesserak_bench");
    Describe(app, o, g);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        o.help = true;
        return o;
    } catch (const CLI::ArgumentMismatch& e) {
        const std::string what = e.what();  // "--size: 1 required TEXT missing"
        throw BenchError("option " + what.substr(0, what.find(':')) + " needs a value");
    } catch (const CLI::ParseError& e) {
        throw BenchError(e.what());
    }
    if (!app.remaining().empty()) {
        throw BenchError("unknown argument '" + app.remaining().front() + "'");
    }
    o.sync = !g.noSync;
    if (!g.size.empty()) {
        o.size = ParseByteCount(g.size, "--size", "a byte count such as 2147483648, 512M or 2G");
        if (o.size < kSmallestSize) {
            throw BenchError("--size '" + g.size + "' is too small: at least 10 bytes");
        }
    }
    if (app.count("--dir") > 0 && g.dir.empty()) {
        throw BenchError("--dir wants a folder, not an empty text");
    }
    o.dir = g.dir.empty() ? defaultDir : std::filesystem::path(g.dir);
    if (!g.rounds.empty()) {
        o.rounds = ParseWhole(g.rounds, "--rounds", 1, 99, "");
    }
    if (!g.medium.empty() || app.count("--medium") > 0) {
        o.mediumSpeeds = ParseMediumSpeeds(g.medium);
    }
    if (!g.sectorsKb.empty()) {
        // A page at the least; the kernel refuses more than the device takes.
        o.maxSectorsKb = ParseWhole(g.sectorsKb, "--max-sectors-kb", 4, 1 << 20, " of KiB");
    }
    if (!g.onMedium.empty()) {
        o.onMedium = g.onMedium;
        o.mediumSpeed = ParseMediumSpeeds(g.speed).front();
    }
    if (o.mediumSpeeds.empty() && o.onMedium.empty()) {
        if (o.ownGroup || o.maxSectorsKb != 0) {
            throw BenchError("--own-group and --max-sectors-kb go with --medium only");
        }
        return o;
    }
    ApplyMediumRules(o, !g.size.empty(), !g.rounds.empty());
    return o;
}

std::string BenchUsage() {
    BenchOptions o;
    Given g;
    CLI::App app(kAbout, "tesserak_bench");
    Describe(app, o, g);
    return app.help();
}

std::vector<std::string> ArgumentsOf(const BenchOptions& options) {
    std::vector<std::string> args = {"--size",   std::to_string(options.size),
                                     "--rounds", std::to_string(options.rounds),
                                     "--dir",    options.dir.string()};
    if (options.cold) {
        args.push_back("--cold");
    }
    return args;
}
