// Retrying a system call that a signal interrupted before it did anything.
#pragma once

#include <cerrno>

// Calls `call` again for as long as it fails with EINTR, and returns its
// first other result, with errno as that call left it. For calls that report
// failure as -1 with errno (open, read, write, fstat, lseek, fcntl, ...).
// Never for close: Linux releases the descriptor even when close reports
// EINTR, so a second close could close a descriptor that an open elsewhere
// has been given meanwhile.
template <typename SystemCall>
auto RetryOnEintr(SystemCall&& call) -> decltype(call()) {
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR) {
            return result;
        }
    }
}
