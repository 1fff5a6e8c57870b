// Fault injection for tests: makes a chosen call of one platform service fail
// with a given Windows error number, for failures that no real condition
// produces on demand (a failing close, a failing size query).
#pragma once

#include "platform/file_api.h"

namespace fault_injection {
enum class Call { CloseHandle, GetFileSize, SetFilePointer, QueryFileSizeByPath };
// The `skip`+1-th call from now of `call` on this thread fails with `error`.
void FailCall(Call call, DWORD error, int skip = 0);
// Forgets every failure that has not happened yet.
void ClearFailures();
// Whether the seam can make `call` fail here. On Windows the engine calls
// kernel32 itself, so only the program's own size query can be made to fail.
bool Supports(Call call);
}  // namespace fault_injection
