// Where the file layers consult the test seam of fault_injection.h. Only the
// file layers call these; tests arm failures through fault_injection.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/file_system_space.h"
#include "platform/win_types.h"

namespace fault_injection {

// Defined in fault_injection.h, which tests include to arm the seam.
enum class Call;
enum class SystemCall;
struct RangeSync;

// Whether the armed failure of `call` is due now. When it is, the failure is
// spent and `error` receives its Windows error number.
bool TakeFailure(Call call, DWORD& error);

// The space answer a test has faked, if any (FakeFileSystemSpace).
std::optional<FileSystemSpace> FakedFileSystemSpace();

// Nanoseconds on this thread's clock: a test's FakeClock while one lives,
// otherwise the system's monotonic clock.
std::int64_t MonotonicNanoseconds();

// Before the write-behind waits for the medium to have the file's bytes from
// `from` up to `to`: tells a test's FakeMedium, if one lives.
void BeforeMediumWait(std::uint64_t from, std::uint64_t to);

// Keeps a sync_file_range request in a test's RangeSyncLog, if one lives.
void RecordRangeSync(const RangeSync& request);

// What the seam does to one system call of `kind`.
struct Verdict {
    int error = 0;                      // not 0: fail the call with this errno
    std::size_t writeLimit = SIZE_MAX;  // a write takes at most this many bytes
};
// Counts one system call of `kind` about to be made and says what becomes of
// it; spends the failures and cuts that are due.
Verdict AtSystemCall(SystemCall kind);

}  // namespace fault_injection
