// Fault injection for tests: makes chosen calls of the file layer fail, for
// failures that no real condition produces on demand.
//
// Two levels:
// - A whole service (Call) fails with a Windows error number before it
//   touches the system (FailCall).
// - On Linux, a system call beneath the file layer (SystemCall) fails with an
//   errno value, or a write is cut short, right where the layer calls the
//   system (FailSystemCall, ShortenWrite). Everything above runs as on a real
//   failure: the retry on EINTR, the errno table, the services' own loops and
//   their clean-up. For close, the descriptor is released first and the
//   failure reported after, like a real EIO from close.
//   The layer's system calls are also counted (CallCounter), so a test can
//   measure a stretch of code and then fail each of its calls in turn.
//
// All state belongs to the calling thread. Each function that arms something
// fills one slot (one per service, one for any system call, one per kind of
// system call, one for a cut write); arming a slot again replaces what it
// held, and an armed failure happens once and is then spent. `skip` counts
// the calls to let through first: skip 0 fails the next one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/file_system_space.h"
#include "platform/win_types.h"

namespace fault_injection {

// --- Whole services, in Windows error numbers --------------------------------

enum class Call {
    CloseHandle,
    GetFileSize,
    SetFilePointer,
    QueryFileSizeByPath,
    QueryFileSystemSpace,  // fails as a system that cannot say: the query returns false
    MakeSparse,            // fails as a volume without sparse files: nothing changes
};
inline constexpr std::size_t kCalls = static_cast<std::size_t>(Call::MakeSparse) + 1;

// The `skip`+1-th call from now of `call` on this thread fails with `error`
// (which may be 0: the call then fails with error number 0).
void FailCall(Call call, DWORD error, int skip = 0);
// Whether the seam can make `call` fail here. On Windows the engine calls
// kernel32 itself, so only the program's own queries can be made to fail.
bool Supports(Call call);

// --- System calls beneath the Linux file layer, in errno values ----------------

enum class SystemCall {
    open,           // also the open that creates a file
    close,          // releases the descriptor even when it fails
    read,           // one system read of ReadFile's loop
    write,          // one system write of WriteFile's loop
    lseek,          // SetFilePointer, and the write-behind's position query
    fstat,          // status of an open file: its kind and size
    stat,           // status by path: the size query, the missing-folder check
    lstat,          // the path probe's lookup of an entry
    lock,           // fcntl(F_OFD_SETLK): the share lock
    fcntl,          // the other fcntl calls: status and descriptor flags
    fadvise,        // posix_fadvise: the sequential-access hint
    syncFileRange,  // write-behind while a file is written
    fdatasync,      // the flush when a written file is closed
    unlink,         // removal of a file that a failing open had created
    ftruncate,      // SetEndOfFile: a file cut back to its current position
    statfs,         // the space query: free space and the kind of file system
};
inline constexpr std::size_t kSystemCallKinds = static_cast<std::size_t>(SystemCall::statfs) + 1;

// The kind's name as above ("open", "syncFileRange", ...), for test messages.
const char* NameOf(SystemCall kind);

// Whether the layer's system calls pass the seam here: true on Linux, false
// on Windows (kernel32 is called directly).
bool SupportsSystemCalls();

// The `skip`+1-th system call from now, of whatever kind, fails with errno
// `error` (EIO, ENOSPC, EINTR, ...; not 0). The call itself is not made,
// except a close, which still releases its descriptor.
void FailSystemCall(int error, int skip = 0);
// The same for the `skip`+1-th call of `kind` only. When this and the failure
// above are due on the same call, the call fails once, with this `error`.
void FailSystemCall(SystemCall kind, int error, int skip = 0);

// The `skip`+1-th write from now takes at most `bytes` bytes (0: it writes
// nothing and returns 0). When `thenError` is not 0, the write after that
// one fails with it, as a medium that takes a few bytes and then is full
// (ENOSPC). A failure due on the same write wins over the cut.
void ShortenWrite(std::size_t bytes, int thenError = 0, int skip = 0);

// The kind of the last system call that the seam failed or cut short since
// the last ClearFailures; none when nothing armed has happened.
std::optional<SystemCall> LastFailure();

// Counts the system calls that this thread's file layer makes from the
// counter's construction on, each kind and in all. A call that the seam
// fails counts like one that was made; a retried call counts each time.
class CallCounter {
public:
    CallCounter();
    std::int64_t Calls(SystemCall kind) const;
    std::int64_t Total() const;
    // The calls of a whole service that passed the seam (where it Supports
    // the service), failed ones included.
    std::int64_t Calls(Call call) const;

private:
    std::array<std::int64_t, kSystemCallKinds> m_start;
    std::array<std::int64_t, kCalls> m_serviceStart;
};

// --- The program's own queries, answered by the test ------------------------

// From now until ClearFailures, every space query on this thread answers
// `space` without asking the system: a FAT card or a nearly full medium that
// this machine does not have. A failure armed with FailCall still wins.
void FakeFileSystemSpace(const FileSystemSpace& space);

// While it lives, the write-behind on this thread measures the medium on
// this clock instead of the system's monotonic one, so a test decides how
// long the medium takes. It starts at 0 and moves only by Advance.
class FakeClock {
public:
    FakeClock();
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;
    void Advance(std::int64_t nanoseconds);
};

// The medium's side of the write-behind, for a test that plays the medium.
// While one lives on this thread, every wait of the write-behind for the
// medium is told to it first: the file's bytes from `from` (the oldest not
// yet known to be on the medium) up to `to` must be written. The test moves
// its FakeClock as far as its medium would take. A flush is a wait up to
// everything written.
class FakeMedium {
public:
    FakeMedium();
    virtual ~FakeMedium();
    FakeMedium(const FakeMedium&) = delete;
    FakeMedium& operator=(const FakeMedium&) = delete;
    virtual void Wait(std::uint64_t from, std::uint64_t to) = 0;
};

// One sync_file_range request of the Linux layer: what it asked for.
struct RangeSync {
    std::int64_t offset = 0;
    std::int64_t length = 0;
    unsigned flags = 0;
};
// While it lives, keeps every sync_file_range request that this thread's
// file layer makes, as made (a retried request once per try).
class RangeSyncLog {
public:
    RangeSyncLog();
    ~RangeSyncLog();
    RangeSyncLog(const RangeSyncLog&) = delete;
    RangeSyncLog& operator=(const RangeSyncLog&) = delete;
    const std::vector<RangeSync>& Requests() const { return m_requests; }
    void Add(const RangeSync& request) { m_requests.push_back(request); }

private:
    std::vector<RangeSync> m_requests;
    RangeSyncLog* m_outer;
};

// --- Both levels ------------------------------------------------------------------

// Forgets every failure and cut that has not happened yet, the last failure
// and a faked space answer. Counters and a fake clock keep going.
void ClearFailures();

}  // namespace fault_injection
