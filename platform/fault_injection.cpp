// The test seam's bookkeeping, the same on both systems; the file layers
// consult it through injection_point.h.
#include <array>
#include <chrono>
#include <cstddef>
#include <numeric>

#include "platform/fault_injection.h"
#include "platform/injection_point.h"

namespace fault_injection {

namespace {

// A failure armed by FailCall that has not happened yet.
struct ArmedFailure {
    bool armed = false;
    int skip = 0;
    DWORD error = 0;
};
thread_local std::array<ArmedFailure, kCalls> t_armed{};

// One armed event at the system-call level: it is due when `skip` reaches 0.
struct Countdown {
    bool armed = false;
    int skip = 0;

    // Counts one watched call; true when this call is the one.
    bool Due() {
        if (!armed) {
            return false;
        }
        if (skip > 0) {
            --skip;
            return false;
        }
        armed = false;
        return true;
    }
};

struct SystemCallFailure {
    Countdown countdown;
    int error = 0;
};

struct ShortWrite {
    Countdown countdown;
    std::size_t bytes = 0;
    int thenError = 0;
};

struct SystemCallSeam {
    SystemCallFailure anyKind;
    std::array<SystemCallFailure, kSystemCallKinds> byKind;
    ShortWrite shortWrite;
    std::optional<SystemCall> lastFailure;
};
thread_local SystemCallSeam t_seam{};

thread_local std::optional<FileSystemSpace> t_fakedSpace;

// The fake clock's time while one lives on this thread.
thread_local std::optional<std::int64_t> t_fakeNow;

thread_local FakeMedium* t_medium = nullptr;
thread_local RangeSyncLog* t_rangeSyncLog = nullptr;

// Calls made by this thread since it started, per kind; never reset, so
// that counters can run side by side.
thread_local std::array<std::int64_t, kSystemCallKinds> t_calls{};
thread_local std::array<std::int64_t, kCalls> t_serviceCalls{};

std::size_t IndexOf(SystemCall kind) {
    return static_cast<std::size_t>(kind);
}

std::int64_t Sum(const std::array<std::int64_t, kSystemCallKinds>& counts) {
    return std::accumulate(counts.begin(), counts.end(), std::int64_t{0});
}

}  // namespace

void FailCall(Call call, DWORD error, int skip) {
    t_armed[static_cast<std::size_t>(call)] = ArmedFailure{true, skip, error};
}

bool Supports(Call call) {
#ifdef _WIN32
    // The engine calls kernel32 itself; only the program's own queries pass
    // through this layer.
    return call == Call::QueryFileSizeByPath || call == Call::QueryFileSystemSpace ||
           call == Call::MakeSparse;
#else
    (void)call;
    return true;
#endif
}

const char* NameOf(SystemCall kind) {
    static constexpr std::array<const char*, kSystemCallKinds> kNames = {
        "open", "close", "read",    "write",         "lseek",     "fstat",  "stat",      "lstat",
        "lock", "fcntl", "fadvise", "syncFileRange", "fdatasync", "unlink", "ftruncate", "statfs",
    };
    return kNames[IndexOf(kind)];
}

bool SupportsSystemCalls() {
#ifdef _WIN32
    return false;
#else
    return true;
#endif
}

void FailSystemCall(int error, int skip) {
    t_seam.anyKind = SystemCallFailure{Countdown{true, skip}, error};
}

void FailSystemCall(SystemCall kind, int error, int skip) {
    t_seam.byKind[IndexOf(kind)] = SystemCallFailure{Countdown{true, skip}, error};
}

void ShortenWrite(std::size_t bytes, int thenError, int skip) {
    t_seam.shortWrite = ShortWrite{Countdown{true, skip}, bytes, thenError};
}

std::optional<SystemCall> LastFailure() {
    return t_seam.lastFailure;
}

CallCounter::CallCounter() : m_start(t_calls), m_serviceStart(t_serviceCalls) {}

std::int64_t CallCounter::Calls(Call call) const {
    const auto index = static_cast<std::size_t>(call);
    return t_serviceCalls[index] - m_serviceStart[index];
}

std::int64_t CallCounter::Calls(SystemCall kind) const {
    return t_calls[IndexOf(kind)] - m_start[IndexOf(kind)];
}

std::int64_t CallCounter::Total() const {
    return Sum(t_calls) - Sum(m_start);
}

void ClearFailures() {
    t_armed = {};
    t_seam = {};
    t_fakedSpace.reset();
}

void FakeFileSystemSpace(const FileSystemSpace& space) {
    t_fakedSpace = space;
}

std::optional<FileSystemSpace> FakedFileSystemSpace() {
    return t_fakedSpace;
}

FakeClock::FakeClock() {
    t_fakeNow = 0;
}

FakeClock::~FakeClock() {
    t_fakeNow.reset();
}

void FakeClock::Advance(std::int64_t nanoseconds) {
    *t_fakeNow += nanoseconds;
}

FakeMedium::FakeMedium() {
    t_medium = this;
}

FakeMedium::~FakeMedium() {
    t_medium = nullptr;
}

void BeforeMediumWait(std::uint64_t from, std::uint64_t to) {
    if (t_medium != nullptr) {
        t_medium->Wait(from, to);
    }
}

RangeSyncLog::RangeSyncLog() : m_outer(t_rangeSyncLog) {
    t_rangeSyncLog = this;
}

RangeSyncLog::~RangeSyncLog() {
    t_rangeSyncLog = m_outer;
}

void RecordRangeSync(const RangeSync& request) {
    if (t_rangeSyncLog != nullptr) {
        t_rangeSyncLog->Add(request);
    }
}

std::int64_t MonotonicNanoseconds() {
    if (t_fakeNow) {
        return *t_fakeNow;
    }
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool TakeFailure(Call call, DWORD& error) {
    ++t_serviceCalls[static_cast<std::size_t>(call)];
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

Verdict AtSystemCall(SystemCall kind) {
    ++t_calls[IndexOf(kind)];
    // Every armed event that watches this call counts it, also when another
    // one decides its fate.
    const bool anyKindDue = t_seam.anyKind.countdown.Due();
    const bool kindDue = t_seam.byKind[IndexOf(kind)].countdown.Due();
    const bool cutDue = kind == SystemCall::write && t_seam.shortWrite.countdown.Due();
    Verdict verdict;
    if (kindDue || anyKindDue) {
        verdict.error = kindDue ? t_seam.byKind[IndexOf(kind)].error : t_seam.anyKind.error;
        t_seam.lastFailure = kind;
    } else if (cutDue) {
        verdict.writeLimit = t_seam.shortWrite.bytes;
        t_seam.lastFailure = kind;
        if (t_seam.shortWrite.thenError != 0) {
            FailSystemCall(SystemCall::write, t_seam.shortWrite.thenError);
        }
    }
    return verdict;
}

}  // namespace fault_injection
