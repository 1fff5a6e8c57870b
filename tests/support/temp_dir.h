// A fresh folder for one test (or one benchmark run), removed with
// everything in it at the end, and the helpers for checking files in it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "framework/core/string.h"
#include "platform/file_api.h"
#include "tests/support/cstring_printer.h"

class TempDir {
public:
    TempDir();
    // A fresh folder under `base` instead of the system's temporary folder,
    // its name `prefix` and a random number. Raises std::runtime_error.
    explicit TempDir(const std::filesystem::path& base,
                     const std::string& prefix = "tesserak-test-");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // `name` inside the folder, as the program's text type.
    CString Child(const std::string& name) const;
    CString Path() const;

private:
    std::filesystem::path m_path;
};

// The system's temporary folder, or a memory file system where there is one:
// for tests that write a lot and need no particular medium.
std::filesystem::path FastTempBase();

// File helpers for checking results on disk.
std::vector<unsigned char> ReadAll(const std::filesystem::path& file);
void WriteAll(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);
// `size` bytes of a repeatable pseudo-random pattern.
std::vector<unsigned char> PatternBytes(std::size_t size, unsigned pattern = 1);
// A file of `size` bytes that holds no data blocks (reads as zeros).
void MakeSparseFile(const std::filesystem::path& file, std::uint64_t size);
CString ToCString(const std::filesystem::path& p);
// Where the engine puts piece `row` (1..10) in `folder` (engine/piece_layout.h).
std::filesystem::path PieceFile(const std::filesystem::path& folder, int row);
// The names in `folder`, sorted.
std::vector<std::string> Entries(const std::filesystem::path& folder);
#ifndef _WIN32
// This process's open file descriptors.
int CountOpenDescriptors();
#endif
// Runs a shell command; returns its exit status.
int RunCommand(const std::string& command);

// The separator the program puts between a folder and a piece name.
inline std::string Separator() {
    return kPathSeparator == u'/' ? "/" : "\\";
}
