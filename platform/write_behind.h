// Write-behind for the files the Linux file layer writes: their data is
// pushed to the medium while the copy runs, at most a fixed amount behind the
// writes, and what is left is flushed when the file is closed, so a closed
// file is on its medium and a failing medium is reported by a write or by the
// close, not later. Descriptors are followed from their open to their close.
#pragma once

#include "platform/win_types.h"

namespace write_behind {

// Follows descriptor `fd` from now on when `written` (a regular file just
// opened for writing); otherwise makes sure it is not followed.
void Track(int fd, bool written);

// Counts `count` bytes just written to `fd` at its current position; once
// enough has gathered, starts their write-back and waits for older data.
// ERROR_SUCCESS, or the Windows error number when the medium reports that
// earlier data could not be written. Nothing happens for descriptors that
// are not followed.
DWORD AfterWrite(int fd, DWORD count);

// Before `fd` is closed: what was written reaches the medium, and `fd` is no
// longer followed. ERROR_SUCCESS, or the Windows error number of the flush.
DWORD BeforeClose(int fd);

}  // namespace write_behind
