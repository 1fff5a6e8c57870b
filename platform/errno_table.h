// The Windows error number of an errno value: the Linux file layer reports
// its failures in Windows numbers, so CFile64 maps them to causes once.
#pragma once

#include "platform/win_types.h"

// Converts an errno value to the Windows error number of the same meaning, as
// Windows reports it for the same failure. `path` (may be null) lets ENOENT
// tell a missing file (2) from a missing folder on the way to it (3).
DWORD WindowsErrorFromErrno(int error, const char16_t* path = nullptr);
