// Windows share modes on Linux, as whole-file open-file-description locks
// (never blocking): a read-sharing open holds a read lock, an exclusive open a
// write lock. They bind every open of the file made through this layer, in
// this process or another copy of the program; programs that take no locks
// are not held back.
#pragma once

#include "platform/win_types.h"

// Takes the lock that `shareMode` asks of descriptor `fd`, opened with
// `access` (GENERIC_READ, GENERIC_WRITE). ERROR_SUCCESS when the lock is held,
// when none is needed, or when the file system keeps no locks; otherwise the
// Windows error number (ERROR_SHARING_VIOLATION when another open conflicts).
DWORD TakeShareLock(int fd, DWORD access, DWORD shareMode);
