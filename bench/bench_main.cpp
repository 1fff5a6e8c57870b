// tesserak_bench: the throughput of the engine's split and join against the
// standard tools, measured in one run on the same file (see bench_run.h), or
// with --medium on simulated slow media: bench/medium.sh makes each medium and
// runs the benchmark on it (see medium_bench_run.h).
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/bench_error.h"
#include "bench/bench_options.h"
#include "bench/bench_run.h"
#include "bench/medium_bench_run.h"

namespace {

void OnSignal(int) {
    g_interrupted = 1;
}

// Hands the process over to medium.sh, which runs this program once per
// medium with the options that concern a run; returns only when it cannot.
int RunOnMedia(const BenchOptions& options) {
    std::string speeds;
    for (const std::uint64_t speed : options.mediumSpeeds) {
        speeds += (speeds.empty() ? "" : ",") + std::to_string(speed);
    }
    std::vector<std::string> args = {
        "bash", TESSERAK_BENCH_MEDIUM_SCRIPT, std::filesystem::read_symlink("/proc/self/exe"),
        options.dir, std::to_string(options.size), options.ownGroup ? "own" : "root",
        std::to_string(options.maxSectorsKb), speeds, "--",
        // What the run on each medium gets.
        "--size", std::to_string(options.size), "--rounds", std::to_string(options.rounds), "--dir",
        options.dir};
    if (options.cold) {
        args.push_back("--cold");
    }
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    std::cerr << "tesserak_bench: "
              << DescribeErrno(std::string("cannot run ") + TESSERAK_BENCH_MEDIUM_SCRIPT, errno)
              << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    BenchOptions options;
    std::string usage;
    try {
        options = ParseBenchOptions(argc, argv, TESSERAK_BENCH_DEFAULT_DIR, usage);
    } catch (const BenchError& e) {
        std::cerr << "tesserak_bench: " << e.what() << "\n" << usage;
        return 2;
    }
    if (options.help) {
        std::cout << usage;
        return 0;
    }
    struct sigaction action = {};
    action.sa_handler = OnSignal;  // no SA_RESTART: see bench_error.h
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaction(signal, &action, nullptr);
    }
    try {
        if (!options.mediumSpeeds.empty() && options.onMedium.empty()) {
            return RunOnMedia(options);
        }
        if (options.onMedium.empty()) {
            BenchRun(options, std::cout).Run();
        } else {
            MediumBenchRun(options, std::cout).Run();
        }
    } catch (const std::exception& e) {
        std::cerr << "tesserak_bench: FAILED: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
