// Helpers for the tests of the Linux file layer: the program's open options
// as plain file-API calls, a look at the descriptor behind a handle, and the
// system calls a counter saw, by name. Linux only.
#pragma once

#include <fcntl.h>

#include <cstdint>
#include <map>
#include <string>

#include "framework/core/string.h"
#include "platform/fault_injection.h"
#include "platform/file_api.h"

namespace file_calls {

// A source opened as the split opens it.
inline HANDLE OpenForReading(const CString& path) {
    return CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// A piece created as the split creates it.
inline HANDLE CreatePiece(const CString& path) {
    return CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_SEQUENTIAL_SCAN,
                       nullptr);
}

// A result opened as the join opens it.
inline HANDLE OpenResult(const CString& path) {
    return CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN,
                       nullptr);
}

inline int Descriptor(HANDLE h) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(h));
}

// Asked of the system directly, past the layer and its seam.
inline bool IsOpenDescriptor(int fd) {
    return ::fcntl(fd, F_GETFD) != -1;
}

// The kinds of system call that `counter` saw, by name, with their numbers.
inline std::map<std::string, std::int64_t> Counted(const fault_injection::CallCounter& counter) {
    std::map<std::string, std::int64_t> calls;
    for (std::size_t i = 0; i < fault_injection::kSystemCallKinds; ++i) {
        const auto kind = static_cast<fault_injection::SystemCall>(i);
        if (counter.Calls(kind) != 0) {
            calls[fault_injection::NameOf(kind)] = counter.Calls(kind);
        }
    }
    return calls;
}

}  // namespace file_calls
