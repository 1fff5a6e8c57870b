// The Windows names of the basic types (BOOL, DWORD, HANDLE, ...): kernel32's
// own on Windows, the same widths on Linux. The window framework uses them
// without taking in the whole file API.
#pragma once

#include <cstdint>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
using BOOL = int;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using HANDLE = void*;
using LPCWSTR = const char16_t*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;
#endif
