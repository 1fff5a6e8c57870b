#include "bench/sparse_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "bench/bench_error.h"
#include "bench/unique_fd.h"

SparseFile::SparseFile(const std::filesystem::path& path, std::uint64_t size) : m_path(path) {
    UniqueFd file(path, O_WRONLY | O_CREAT | O_EXCL, "to back a simulated medium");
    if (::ftruncate(file.get(), static_cast<off_t>(size)) != 0) {
        const int saved = errno;
        std::error_code error;
        std::filesystem::remove(path, error);
        throw BenchError(DescribeErrno("cannot set the size of " + path.string(), saved));
    }
}

SparseFile::~SparseFile() {
    std::error_code error;
    std::filesystem::remove(m_path, error);
    if (error) {
        std::fprintf(stderr, "tesserak_bench: could not remove %s: %s\n", m_path.c_str(),
                     error.message().c_str());
    }
}
