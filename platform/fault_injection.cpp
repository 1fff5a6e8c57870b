// The test seam's bookkeeping, the same on both systems; the file layers
// consult it through injection_point.h.
#include <array>
#include <cstddef>

#include "platform/injection_point.h"

namespace fault_injection {

namespace {

constexpr std::size_t kCalls = static_cast<std::size_t>(Call::QueryFileSizeByPath) + 1;

// A failure armed by FailCall that has not happened yet.
struct ArmedFailure {
    bool armed = false;
    int skip = 0;
    DWORD error = 0;
};
thread_local std::array<ArmedFailure, kCalls> t_armed{};

}  // namespace

void FailCall(Call call, DWORD error, int skip) {
    t_armed[static_cast<std::size_t>(call)] = ArmedFailure{true, skip, error};
}

void ClearFailures() {
    t_armed = {};
}

bool Supports(Call call) {
#ifdef _WIN32
    // The engine calls kernel32 itself; only the program's own size query
    // passes through this layer.
    return call == Call::QueryFileSizeByPath;
#else
    (void)call;
    return true;
#endif
}

bool TakeFailure(Call call, DWORD& error) {
    ArmedFailure& slot = t_armed[static_cast<std::size_t>(call)];
    if (!slot.armed) {
        return false;
    }
    if (slot.skip > 0) {
        --slot.skip;
        return false;
    }
    slot.armed = false;
    error = slot.error;
    return true;
}

}  // namespace fault_injection
