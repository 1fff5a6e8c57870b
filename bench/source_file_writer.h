// Makes the benchmark's source file: pseudo-random bytes, so that no layer
// (file system, page cache, disk) can take a shortcut for zero pages, and made
// fast enough that writing it costs little next to the runs it feeds.
#pragma once

#include <cstdint>
#include <filesystem>

class SourceFileWriter {
public:
    explicit SourceFileWriter(std::uint64_t start) : m_state(start) {}

    // Creates `path` (which must not exist) with `size` bytes and flushes it,
    // so its write-back cannot spill into the first timed run.
    void Write(const std::filesystem::path& path, std::uint64_t size);

private:
    // splitmix64: a few instructions per 8 bytes, and every starting value is usable.
    std::uint64_t Next();

    std::uint64_t m_state;
};
