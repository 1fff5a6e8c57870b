// The process's working directory and the program's first argument, as the
// program's start-up uses them. On Windows these are kernel32's
// SetCurrentDirectoryW, the runtime's _wgetcwd and the first argument of
// GetCommandLineW as CommandLineToArgvW splits it; on Linux
// current_directory_posix.cpp gives the same results.
#pragma once

#include "platform/file_api.h"

#ifndef _WIN32
// Makes `path` the process's working directory. FALSE on failure, with the
// Windows error number for GetLastError.
BOOL SetCurrentDirectoryW(LPCWSTR path);
#else
// kernel32's own, for the program's UTF-16 text (wchar_t is 16 bits there).
inline BOOL SetCurrentDirectoryW(const char16_t* path) {
    return ::SetCurrentDirectoryW(reinterpret_cast<LPCWSTR>(path));
}
#endif

// The current directory into `buffer` of `size` UTF-16 units (terminator
// included), like the runtime's _wgetcwd. Returns `buffer`, or null (and
// `buffer` holds an empty string when size > 0) when the query fails or the
// directory does not fit.
char16_t* GetCurrentDirectoryText(char16_t* buffer, int size);

// The first element of the argument vector: the program as named on the
// command line, quotes removed. Available during static initialisation,
// before any static object of the program is constructed, whatever the entry
// point. When the command line gave no argument at all, the program's full
// path. Never null.
const char16_t* ProgramFirstArgument();
