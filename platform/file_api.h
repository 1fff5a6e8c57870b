// The operating-system file services the program is written against.
//
// The names, constants and error numbers are kernel32's. On Windows they are
// kernel32 itself; on Linux file_api_posix.cpp gives the same results, with
// Windows error numbers, so that CFile64 is written once, on one model.
// Nothing outside this folder calls the operating system for files.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

#ifndef _WIN32
struct SECURITY_ATTRIBUTES;  // never used on Linux; callers pass null
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
struct OVERLAPPED;  // no overlapped input/output; callers pass null
using LPOVERLAPPED = OVERLAPPED*;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
// Leave to ask what the handle is open on (IsLinkHandle); Linux needs none.
inline constexpr DWORD FILE_READ_ATTRIBUTES = 0x00000080;
inline constexpr DWORD FILE_SHARE_READ = 0x00000001;
inline constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD FILE_FLAG_SEQUENTIAL_SCAN = 0x08000000;
// Do not follow a link at the last name. Windows opens the link itself (see
// IsLinkHandle); Linux refuses the open (O_NOFOLLOW).
inline constexpr DWORD FILE_FLAG_OPEN_REPARSE_POINT = 0x00200000;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
inline constexpr DWORD FILE_TYPE_UNKNOWN = 0;  // also what a failed query gives
inline constexpr DWORD FILE_TYPE_DISK = 1;     // a file on a medium
inline constexpr DWORD FILE_TYPE_CHAR = 2;     // a character device (/dev/zero, a terminal)
inline constexpr DWORD FILE_TYPE_PIPE = 3;     // a pipe or a socket

// Windows error numbers that the Linux layer reports.
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;
inline constexpr DWORD ERROR_WRITE_PROTECT = 19;
inline constexpr DWORD ERROR_NOT_READY = 21;
inline constexpr DWORD ERROR_CRC = 23;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INVALID_NAME = 123;
inline constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;  // OPEN_ALWAYS opened a file that was there
inline constexpr DWORD ERROR_SEEK_ON_DEVICE = 132;
inline constexpr DWORD ERROR_BUSY = 170;
inline constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr DWORD ERROR_NOACCESS = 998;

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                   DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL ReadFile(HANDLE hFile, void* lpBuffer, DWORD nNumberOfBytesToRead, DWORD* lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, const void* lpBuffer, DWORD nNumberOfBytesToWrite,
               DWORD* lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);
DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh,
                     DWORD dwMoveMethod);
DWORD GetFileSize(HANDLE hFile, DWORD* lpFileSizeHigh);
// Cuts the file off (or extends it) at its current position.
BOOL SetEndOfFile(HANDLE hFile);
// What the handle is open on. A block device or anything else that is not a
// file, a character device or a pipe is FILE_TYPE_UNKNOWN, with error number
// 0; a failed query is FILE_TYPE_UNKNOWN with the failure's number.
DWORD GetFileType(HANDLE hFile);
BOOL CloseHandle(HANDLE hObject);
// Removes the file at `lpFileName` (not a folder; a link itself, not what it
// points to).
BOOL DeleteFileW(LPCWSTR lpFileName);
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
#endif

// The separator between a folder and a name inside a path.
#ifdef _WIN32
inline constexpr char16_t kPathSeparator = u'\\';
#else
inline constexpr char16_t kPathSeparator = u'/';
#endif

// Whether `hFile`, opened with FILE_FLAG_OPEN_REPARSE_POINT, is open on a
// link (a symbolic link or another reparse point) rather than on a file.
// Always false on Linux, where such an open fails instead.
bool IsLinkHandle(HANDLE hFile);

// Lets a file the program has just created keep the stretches it never
// writes as holes, where its file system can: a piece written far past the
// file's end then costs only its own bytes, where the system would otherwise
// fill the gap before it with zeros inside that one write (Windows on NTFS).
// TRUE when the file is sparse now or its system keeps holes anyway (Linux);
// FALSE when it cannot be (a FAT volume, a failed request), and then the
// writes fill any gap as before.
BOOL MakeSparse(HANDLE hFile);
