#include "bench/interrupt_flag.h"

#include <csignal>
#include <string>

#include "bench/bench_error.h"

namespace {

volatile std::sig_atomic_t g_raised = 0;

void OnSignal(int) {
    g_raised = 1;
}

}  // namespace

void InterruptFlag::Install() {
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaction(signal, &action, nullptr);
    }
}

bool InterruptFlag::Raised() {
    return g_raised != 0;
}

void InterruptFlag::ThrowIfRaised(const char* during) {
    if (Raised()) {
        throw BenchError(std::string("interrupted during ") + during);
    }
}
