// tesserak_bench: the throughput of the engine's split and join against the
// standard tools, measured in one run on the same file (see bench_run.h), or
// on simulated slow media with --medium (see medium_bench_run.h).
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "bench/bench_error.h"
#include "bench/bench_options.h"
#include "bench/bench_run.h"
#include "bench/interrupt_flag.h"
#include "bench/medium_bench_run.h"
#include "bench/simulated_medium.h"

int main(int argc, char** argv) {
    BenchOptions options;
    try {
        options = ParseBenchOptions(std::vector<std::string>(argv + 1, argv + argc),
                                    TESSERAK_BENCH_DEFAULT_DIR);
    } catch (const BenchError& e) {
        std::cerr << "tesserak_bench: " << e.what() << "\n" << BenchUsage();
        return 2;
    }
    if (options.help) {
        std::cout << BenchUsage();
        return 0;
    }
    if (!options.mediumSpeeds.empty()) {
        // Not a failure: this machine or user cannot make the media.
        const std::string why = SimulatedMedium::WhyUnavailable();
        if (!why.empty()) {
            std::cout << "tesserak_bench: the simulated media are skipped: " << why << "\n";
            return 0;
        }
    }

    InterruptFlag::Install();
    try {
        if (options.mediumSpeeds.empty()) {
            BenchRun run(options, std::cout);
            run.Run();
        } else {
            MediumBenchRun run(options, std::cout);
            run.Run();
        }
    } catch (const std::exception& e) {
        std::cerr << "tesserak_bench: FAILED: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
