// Write-behind for one file the program writes: its data goes to the medium
// close behind the writes, and all of it is there before the file is closed.
//
// A piece goes to slow removable media. Left in the system's cache,
// gigabytes would wait there after "done" is shown, the close would hold the
// window for minutes, and a failing medium would surface after the user had
// taken the card out. So every write starts the write-back of its data, and
// waits for what was written longer ago than the medium needs for
// WriteBackRate's allowance: the copy runs at the medium's pace, no wait
// holds the window much longer than one chunk's writing time, and the flush
// at close finds little left to do.
//
// One object follows one open handle; CFile64 owns it. Linux starts and
// waits for the write-back of byte ranges; Windows, which has no such call,
// flushes the file whenever the allowance is used up. Both measure the
// medium's rate on the clock of the test seam (fault_injection.h).
#pragma once

#include <cstdint>

#include "platform/win_types.h"
#include "platform/write_back_rate.h"

class WriteBehind {
public:
    // Follows `handle` from now on when `written` (it was opened for
    // writing); otherwise follows nothing. Forgets any earlier handle.
    void Start(HANDLE handle, bool written);

    // `count` bytes were just written through the handle, ending at its
    // current position. Starts their write-back and, when more than the
    // allowance is left for the medium, waits for the oldest of it.
    // ERROR_SUCCESS, or the Windows error number when the medium reports that
    // data could not be written. Nothing happens when nothing is followed.
    DWORD AfterWrite(DWORD count);

    // Before the handle is closed: everything written through it is on the
    // medium. Then nothing is followed any more. ERROR_SUCCESS, or the
    // Windows error number of the flush. A medium or file kind that has
    // nothing to flush (a pipe, a device) counts as flushed.
    DWORD Flush();

    // What was written and is not yet known to be on the medium, in bytes;
    // the most a flush at close waits for.
    std::uint64_t Unsettled() const;
    // What may be left for the medium to write, from the rate measured so far.
    std::uint64_t Allowance() const { return m_rate.InFlightAllowance(); }

private:
    // Waits until the medium has everything before `end` (Linux: an offset;
    // Windows: everything written so far) and measures the rate on the way.
    DWORD SettleTo(std::uint64_t end);
    // What each system does for SettleTo and Flush.
    DWORD WaitForMedium(std::uint64_t end);
    DWORD FlushToMedium();

    HANDLE m_handle = nullptr;
    bool m_following = false;
    WriteBackRate m_rate;
    // Linux: where the run of writes being followed starts to be unknown on
    // the medium, and where it ends. Windows: bytes written since the last
    // flush, in m_runEnd - m_settled.
    std::uint64_t m_settled = 0;
    std::uint64_t m_runEnd = 0;
    // When the previous measurement ended, on the seam's clock.
    std::int64_t m_lastSettled = 0;
};
