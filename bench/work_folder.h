// The files of a benchmark run: its work folder, the rows' folders and
// pieces, and the standard tools that make and compare files.
//
// The work folder is a fresh folder (the tests' TempDir) in the folder --dir
// names, removed with everything in it when the object goes, on failure and
// interruption too. The parent is made when it is missing, one level only
// (a mistyped --dir should not grow a tree), and then removed again when it is
// empty at the end; nothing else outside the run's folder is ever removed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

class WorkFolder {
public:
    // Raises BenchError, leaving nothing behind, when the folder cannot be
    // made or its disk has fewer than `needed` bytes free; `neededFor` says
    // what they are for, "(seven copies of the source)".
    WorkFolder(const std::filesystem::path& parent, std::uint64_t needed,
               const std::string& neededFor);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::filesystem::path& path() const { return m_dir->path(); }

    // Makes the new file "source" of `size` pseudo-random bytes, flushed to
    // disk so its write-back cannot spill into the first timed run, and
    // returns its path. Pseudo-random, so that no layer (file system, page
    // cache, disk) can take a shortcut for zero pages.
    std::filesystem::path MakeSource(std::uint64_t size) const;

private:
    void CheckFreeSpace(std::uint64_t needed, const std::string& neededFor) const;

    std::filesystem::path m_parent;
    bool m_madeParent = false;
    std::optional<TempDir> m_dir;
};

// "row01" .. "row10" in `parent`.
std::vector<std::filesystem::path> RowFolders(const std::filesystem::path& parent);
// The piece of each row folder, as the engine names it.
std::vector<std::filesystem::path> PiecesIn(const std::vector<std::filesystem::path>& rows);

// Runs a standard tool (split, cat, dd, cmp; found on PATH) to its end, its
// output where ours goes or into `stdoutTo`, created new; an interrupt of
// the benchmark is passed on to it. Returns its exit status; raises
// BenchError when it cannot be run, is killed, or the benchmark was
// interrupted meanwhile.
int RunTool(const std::vector<std::string>& argv, const std::filesystem::path& stdoutTo = {});
// The same, and raises BenchError unless it exits with 0.
void RunToolChecked(const std::vector<std::string>& argv,
                    const std::filesystem::path& stdoutTo = {});
// The check of a round trip: two files the same byte for byte, compared by
// the standard cmp, independently of the program under test. Raises
// BenchError "<what>: <actual> differs from <expected>" when they differ.
void CheckSameFile(const std::filesystem::path& expected, const std::filesystem::path& actual,
                   const std::string& what);

// Fills `block` with the next pseudo-random words after `state`.
void FillRandom(std::vector<std::uint64_t>& block, std::uint64_t& state);
// Makes each folder with its parents; raises BenchError.
void MakeFolders(const std::vector<std::filesystem::path>& folders);
// Removes each file, or each folder with what is in it; raises BenchError.
void RemoveAll(const std::vector<std::filesystem::path>& paths);
