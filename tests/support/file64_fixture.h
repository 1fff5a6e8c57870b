// What the CFile64 tests share: a fixture with its own folder and no armed
// platform failure, the open options of the program's callers, and a way to
// compare what a CFileException carried.
//
// Failures come from real conditions wherever one exists (a missing file, a
// folder, a second open, /dev/full, RLIMIT_FSIZE, /proc/self/mem, a null
// buffer); the platform seam is used only for a failing close and for the
// 0xFFFFFFFF rule of the size and position queries.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "engine/file64.h"
#include "platform/fault_injection.h"
#include "tests/support/file_test.h"
#include "tests/support/temp_dir.h"

// What a CFileException carried, in a form that compares and prints well.
struct Raised {
    bool raised = false;
    int cause = -1;
    std::int32_t osError = 0;
    std::string fileName;
    std::string message;

    bool operator==(const Raised&) const = default;
};
void PrintTo(const Raised& r, std::ostream* os);

// What `e` carries (a thrown exception or an open's error record).
Raised Describe(const CFileException& e);
Raised Expected(int cause, std::int32_t osError, const std::string& fileName,
                const std::string& message);

// Runs `body`; returns what the CFileException it raised carried, or
// {nothing raised}. Other exceptions pass through and fail the test.
template <typename Body>
Raised Catch(Body&& body) {
    try {
        body();
    } catch (const CFileException& e) {
        return Describe(e);
    }
    return Raised{};
}

// The open options of the program's callers: a source or piece read while
// others may read it too, a new piece, and the joined result.
BOOL OpenSource(CFile64& f, const CString& path, CFileException* e = nullptr);
BOOL CreatePiece(CFile64& f, const CString& path, CFileException* e = nullptr);
BOOL OpenResult(CFile64& f, const CString& path, CFileException* e = nullptr);

// Checks that `f` is as a new handle is.
void ExpectNotOpen(const CFile64& f);

// `count` bytes of `bytes` from `from`.
std::vector<unsigned char> Slice(const std::vector<unsigned char>& bytes, std::size_t from,
                                 std::size_t count);
// `count` bytes of `file` from `offset`, read without the program's code.
std::vector<unsigned char> ReadAt(const std::filesystem::path& file, std::uint64_t offset,
                                  std::size_t count);

inline constexpr std::int64_t k4GiB = 4294967296LL;

// Skips the test where the platform seam cannot make `call` fail (on Windows
// the engine calls kernel32 itself).
#define REQUIRE_SEAM(call)                                                         \
    do {                                                                           \
        if (!fault_injection::Supports(fault_injection::Call::call)) {             \
            GTEST_SKIP() << "the platform's own " #call " cannot be made to fail"; \
        }                                                                          \
    } while (0)

class File64Test : public FileTest {};
