// The files of a benchmark run: its work folder, the rows' folders and
// pieces, the files it writes itself, and the standard tools that make and
// compare files. Its own file work never goes through the engine it measures.
//
// The work folder is a fresh folder (the tests' TempDir) in the folder --dir
// names, removed with everything in it when the object goes, on failure and
// interruption too. The parent is made when it is missing, one level only
// (a mistyped --dir should not grow a tree), and then removed again when it is
// empty at the end; nothing else outside the run's folder is ever removed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/throughput_table.h"
#include "tests/support/temp_dir.h"

class WorkFolder {
public:
    // Raises BenchError, leaving nothing behind, when the folder cannot be
    // made or its disk has fewer than `needed` bytes free; `neededFor` says
    // what they are for, "(seven copies of the source)".
    WorkFolder(const std::filesystem::path& parent, std::uint64_t needed,
               const std::string& neededFor);

    const std::filesystem::path& path() const { return m_dir.path(); }

    // Makes the new file "source" of `size` pseudo-random bytes, flushed to
    // disk so its write-back cannot spill into the first timed run, and
    // returns its path.
    std::filesystem::path MakeSource(std::uint64_t size) const;

private:
    // The parent when this run made it, removed at the end when it is empty;
    // a member, so that a failed constructor removes it too.
    struct MadeParent {
        std::filesystem::path path;
        ~MadeParent();
    };

    MadeParent m_madeParent;
    TempDir m_dir;
};

// "row01" .. "row10" in `parent`.
std::vector<std::filesystem::path> RowFolders(const std::filesystem::path& parent);
// The piece of each row folder, as the engine names it.
std::vector<std::filesystem::path> PiecesIn(const std::vector<std::filesystem::path>& rows);
// Makes each folder with its parents; raises BenchError.
void MakeFolders(const std::vector<std::filesystem::path>& folders);
// Removes each file, or each folder with what is in it; raises BenchError.
void RemoveAll(const std::vector<std::filesystem::path>& paths);

// Runs a standard tool (split, cat, dd, cmp; found on PATH) to its end, its
// output where ours goes or into `stdoutTo`, created new; an interrupt of
// the benchmark is passed on to it. Returns its exit status; raises
// BenchError when it cannot be run, is killed, exits with other than 0 or
// `alsoFine`, or the benchmark was interrupted meanwhile.
int RunTool(const std::vector<std::string>& argv, const std::filesystem::path& stdoutTo = {},
            int alsoFine = 0);
// The check of a round trip: two files the same byte for byte, compared by
// the standard cmp, independently of the program under test. Raises
// BenchError "<what>: <actual> differs from <expected>" when they differ.
void CheckSameFile(const std::filesystem::path& expected, const std::filesystem::path& actual,
                   const std::string& what);

// Starts the write-back of every file before waiting for any, so that ten
// pieces reach the disk as one queue, as a single file of the same size would.
void FlushFilesToDisk(const std::vector<std::filesystem::path>& files);

// The medium's own floor: how fast and how evenly a bare writer gets its data
// onto it, the least any program that keeps its window answering could do.
// It writes `size` bytes of pseudo-random data to the new `file` in 1 MiB
// writes, starts the write-back of each write at once, and after each write
// waits until all but the newest 256 KiB are on the medium; an fdatasync
// ends it. One write and its wait are the stretch that a window pumping once
// per chunk would see at the least; the fdatasync is the close. Each write
// and its wait go into `waits` as one stretch, the fdatasync as the last.
void WriteAtFloor(const std::filesystem::path& file, std::uint64_t size, PumpStretches& waits);
