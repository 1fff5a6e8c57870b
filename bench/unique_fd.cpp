#include "bench/unique_fd.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

#include "bench/bench_error.h"

UniqueFd::UniqueFd(const std::filesystem::path& path, int flags, const char* purpose)
    : m_fd(::open(path.c_str(), flags | O_CLOEXEC, 0644)), m_path(path) {
    if (m_fd < 0) {
        throw BenchError(DescribeErrno("cannot open " + path.string() + " " + purpose, errno));
    }
}

UniqueFd::~UniqueFd() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

void UniqueFd::WriteAll(const void* buffer, std::size_t count) {
    for (const auto* bytes = static_cast<const unsigned char*>(buffer); count > 0;) {
        const ssize_t put = ::write(m_fd, bytes, count);
        if (put >= 0) {
            bytes += put;
            count -= static_cast<std::size_t>(put);
        } else if (errno != EINTR) {
            throw BenchError(DescribeErrno("cannot write " + m_path.string(), errno));
        }
    }
}

void UniqueFd::Sync() {
    if (::fsync(m_fd) != 0) {
        throw BenchError(DescribeErrno("cannot flush " + m_path.string() + " to disk", errno));
    }
}

void UniqueFd::Close() {
    if (::close(std::exchange(m_fd, -1)) != 0) {
        throw BenchError(DescribeErrno("cannot close " + m_path.string(), errno));
    }
}

void FlushFilesToDisk(const std::vector<std::filesystem::path>& files) {
    std::vector<std::unique_ptr<UniqueFd>> open;
    for (const auto& file : files) {
        open.push_back(std::make_unique<UniqueFd>(file, O_RDONLY, "to flush it to disk"));
        if (::sync_file_range(open.back()->get(), 0, 0, SYNC_FILE_RANGE_WRITE) != 0) {
            throw BenchError(
                DescribeErrno("cannot start writing " + file.string() + " to disk", errno));
        }
    }
    for (auto& fd : open) {
        fd->Sync();
        fd->Close();
    }
}
