#include "bench/bench_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "bench/bench_error.h"

namespace {

// On a simulated medium ten pieces of 64 MiB: every wait of the write-behind
// shows, and the slowest medium is still done in minutes. Two rounds, so that
// one unlucky run does not make a medium's figures.
constexpr std::uint64_t kMediumDefaultSize = std::uint64_t{640} << 20;
constexpr int kMediumDefaultRounds = 2;
// The cancel is pressed in the middle of a piece: a piece needs two chunks.
constexpr std::uint64_t kMediumSmallestSize = std::uint64_t{20} << 20;

// A byte count such as 2147483648, 512M or 2G (binary suffixes K, M, G, T)
// from `least` to `most` (said in words by `range`), put in place of `text`
// as its number of bytes. Returns what is wrong, or nothing.
std::string ReadBytes(std::string& text, std::uint64_t least, std::uint64_t most,
                      const char* range) {
    std::uint64_t value = 0;
    const char* const last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    const std::size_t at = end == last ? 0
                                       : std::string_view("KMGT").find(static_cast<char>(
                                             std::toupper(static_cast<unsigned char>(*end))));
    if (error == std::errc::result_out_of_range) {
        return "'" + text + "' is too large";
    }
    if (error != std::errc() || last - end > 1) {
        return "'" + text + "' is not a byte count such as 2147483648, 512M or 2G";
    }
    if (at == std::string_view::npos) {
        return "'" + text + "' has an unknown suffix (use K, M, G or T)";
    }
    const int shift = end == last ? 0 : 10 * static_cast<int>(at + 1);
    if (value > (most >> shift) || (value << shift) < least) {
        return "'" + text + "' is out of range: " + range;
    }
    text = std::to_string(value << shift);
    return {};
}

// Below ten bytes nine of the pieces would be empty; beyond a few TiB it is a
// typo, not a benchmark.
std::string ReadSize(std::string& text) {
    return ReadBytes(text, 10, std::uint64_t{1} << 42, "from 10 bytes to 4T");
}

// Slower than 1M a run takes hours; faster than 64G, the limit is no longer
// the medium's but the disk's under it.
std::string ReadSpeed(std::string& text) {
    return ReadBytes(text, std::uint64_t{1} << 20, std::uint64_t{64} << 30,
                     "a speed from 1M to 64G per second");
}

const char* const kAbout = "The throughput of Tesserak's split and join against split, cat and dd";

void Describe(CLI::App& app, BenchOptions& o, std::string& medium) {
    app.get_formatter()->column_width(24);
    app.allow_extras();  // named in our words
    app.add_option("--size", o.size, "size of the source file (default 2G)")
        ->option_text("BYTES")
        ->transform(CLI::Validator(ReadSize, ""));
    app.add_option("--dir", o.dir, "where the work folder is made (default: build/bench-work)")
        ->option_text("FOLDER");
    app.add_option("--rounds", o.rounds, "timed rounds, each runs ours and the tools once (3)")
        ->option_text("N")
        ->check(CLI::Range(1, 99));
    app.add_flag("--cold", o.cold, "drop the page cache before each timed run (needs root)");
    app.add_flag("--no-sync{false}", o.sync, "leave flushing to disk out of the timings");
    app.add_option("--medium", medium, "run on simulated slow media of these speeds")
        ->option_text("SPEEDS");
    app.add_flag("--own-group", o.ownGroup, "the media's limit on a cgroup of its own");
    app.add_option("--max-sectors-kb", o.maxSectorsKb, "the loop device's largest request")
        ->option_text("KIB")
        ->check(CLI::Range(4, 1 << 20));
    // From medium.sh only.
    app.add_option("--on-medium", o.onMedium)->group("");
    app.add_option("--speed", o.mediumSpeed)->group("")->transform(CLI::Validator(ReadSpeed, ""));
    app.footer(
        "BYTES and SPEEDS take a K, M, G or T suffix. By default each timed run has its input\n"
        "cached (read once) and ends by flushing what it wrote to disk.\n"
        "--medium 5M,10M,40M: instead of the fast disk, for each write speed (bytes per second)\n"
        "a simulated slow medium made by bench/medium.sh (needs root and loop devices): a loop\n"
        "device whose writes a block-I/O cgroup limits, on the root group on cgroup v1 unless\n"
        "--own-group, on a group of its own on v2; --max-sectors-kb sets its max_sectors_kb.\n"
        "The pieces, the joined file, dd's copy and the floor loop's file go on it, the source\n"
        "stays on the disk. Default size 640M, 2 rounds.");
}

}  // namespace

BenchOptions ParseBenchOptions(int argc, const char* const* argv,
                               const std::filesystem::path& defaultDir, std::string& usage) {
    BenchOptions o;
    std::string medium;
    CLI::App app(kAbout, "tesserak_bench");
    Describe(app, o, medium);
    usage = app.help();
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
    if (app.count("--dir") > 0 && o.dir.empty()) {
        throw BenchError("--dir wants a folder, not an empty text");
    }
    o.dir = o.dir.empty() ? defaultDir : o.dir;
    for (std::size_t start = 0, comma = 0; app.count("--medium") > 0 && start <= medium.size();
         start = comma + 1) {
        comma = std::min(medium.find(',', start), medium.size());
        std::string speed = medium.substr(start, comma - start);
        if (const std::string wrong = ReadSpeed(speed); !wrong.empty()) {
            throw BenchError("--medium: " + wrong);
        }
        o.mediumSpeeds.push_back(std::stoull(speed));
    }
    if (o.mediumSpeeds.empty() && o.onMedium.empty()) {
        if (o.ownGroup || o.maxSectorsKb != 0) {
            throw BenchError("--own-group and --max-sectors-kb go with --medium only");
        }
        return o;
    }
    if (!o.sync) {
        throw BenchError(
            "--no-sync does not go with --medium: a medium's run ends when its data is on it");
    }
    o.size = app.count("--size") > 0 ? o.size : kMediumDefaultSize;
    o.rounds = app.count("--rounds") > 0 ? o.rounds : kMediumDefaultRounds;
    if (o.size < kMediumSmallestSize) {
        throw BenchError("--medium needs a --size of at least 20M (two chunks per piece), not " +
                         std::to_string(o.size) + " bytes");
    }
    return o;
}
