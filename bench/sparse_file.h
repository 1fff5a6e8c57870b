// A new file of a given size that takes no disk space until written, removed
// when the object goes: the backing store of a simulated medium.
#pragma once

#include <cstdint>
#include <filesystem>

class SparseFile {
public:
    // Creates `path`, which must not exist. Raises BenchError.
    SparseFile(const std::filesystem::path& path, std::uint64_t size);
    ~SparseFile();
    SparseFile(const SparseFile&) = delete;
    SparseFile& operator=(const SparseFile&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
