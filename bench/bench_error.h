// The benchmark's one error type, a failed step said in words that name what
// was being done, to which file, and why; and its interrupt flag: Ctrl-C,
// SIGTERM, a hang-up and a closed output pipe only raise it, so that every
// step can stop where it is and the work folder is still removed on the way
// out. main installs the handlers without SA_RESTART, so that a wait for a
// child returns early and can pass the interrupt on.
#pragma once

#include <csignal>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

class BenchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "<what>: <strerror(errnum)>", for failures of the C library.
inline std::string DescribeErrno(const std::string& what, int errnum) {
    return what + ": " + std::strerror(errnum);
}

inline volatile std::sig_atomic_t g_interrupted = 0;

inline bool Interrupted() {
    return g_interrupted != 0;
}

// Raises BenchError when the flag is up; `during` names the step.
inline void ThrowIfInterrupted(std::string_view during) {
    if (Interrupted()) {
        throw BenchError("interrupted during " + std::string(during));
    }
}
