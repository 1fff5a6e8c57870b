// One open file descriptor, closed when the object goes. The benchmark's own
// file work (making the source and the floor's file, flushing outputs) goes
// through it, never through the engine it measures.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

class UniqueFd {
public:
    // Opens `path` with open(2) flags; raises BenchError naming `purpose`.
    UniqueFd(const std::filesystem::path& path, int flags, const char* purpose);
    ~UniqueFd();
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return m_fd; }
    const std::filesystem::path& path() const { return m_path; }

    // Writes all `count` bytes or raises.
    void WriteAll(const void* buffer, std::size_t count);
    // Forces the file's data to the disk or raises.
    void Sync();
    // Closes and reports a failed close (which can carry a late write error).
    void Close();

private:
    int m_fd;
    std::filesystem::path m_path;
};

// Starts the write-back of every file before waiting for any, so that ten
// pieces reach the disk as one queue, as a single file of the same size would.
void FlushFilesToDisk(const std::vector<std::filesystem::path>& files);
