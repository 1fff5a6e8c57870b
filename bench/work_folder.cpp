#include "bench/work_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <functional>
#include <string_view>
#include <system_error>
#include <utility>

#include "bench/bench_error.h"
#include "engine/piece_layout.h"
#include "tests/support/child_process.h"

namespace {

constexpr std::size_t kWriteSize = std::size_t{1} << 20;
// Room left over on the disk beyond the files themselves.
constexpr std::uint64_t kSpareBytes = std::uint64_t{256} << 20;
// What the floor leaves unsettled on the medium.
constexpr std::uint64_t kUnsettled = std::uint64_t{256} << 10;

// One open file descriptor of the benchmark's own, closed when it goes.
class Fd {
public:
    // Opens `path` with open(2) flags; raises naming `purpose`.
    Fd(const std::filesystem::path& path, int flags, const std::string& purpose)
        : m_fd(::open(path.c_str(), flags | O_CLOEXEC, 0644)), m_path(path) {
        Check(m_fd >= 0, "cannot open", " " + purpose);
    }
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return m_fd; }

    // Raises "<operation> <path><rest>: <errno's cause>" unless `ok`.
    void Check(bool ok, const char* operation, std::string_view rest = {}) const {
        if (!ok) {
            const int error = errno;
            throw BenchError(DescribeErrno(
                std::string(operation) + " " + m_path.string() + std::string(rest), error));
        }
    }
    void WriteAll(const void* buffer, std::size_t count) {
        for (const auto* bytes = static_cast<const unsigned char*>(buffer); count > 0;) {
            const ssize_t put = ::write(m_fd, bytes, count);
            Check(put >= 0 || errno == EINTR, "cannot write");
            bytes += std::max<ssize_t>(put, 0);
            count -= static_cast<std::size_t>(std::max<ssize_t>(put, 0));
        }
    }
    // Closes and reports a failed close (which can carry a late write error).
    void Close() { Check(::close(std::exchange(m_fd, -1)) == 0, "cannot close"); }

private:
    int m_fd;
    std::filesystem::path m_path;
};

// Writes `size` pseudo-random bytes from `state` on to `out` in 1 MiB writes,
// each followed by `afterWrite(offset, count)`; `during` names the step for an
// interrupt. Pseudo-random, so that no layer (file system, page cache, disk)
// can take a shortcut for zero pages.
void WriteRandom(Fd& out, std::uint64_t size, std::uint64_t state, std::string_view during,
                 const std::function<void(std::uint64_t, std::uint64_t)>& afterWrite) {
    std::vector<std::uint64_t> block(kWriteSize / sizeof(std::uint64_t));
    for (std::uint64_t written = 0; written < size;) {
        ThrowIfInterrupted(during);
        // splitmix64: a few instructions per 8 bytes, so making the data costs
        // little next to the runs it feeds; every starting value is usable.
        for (auto& word : block) {
            std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            word = z ^ (z >> 31);
        }
        const std::uint64_t count = std::min<std::uint64_t>(size - written, kWriteSize);
        out.WriteAll(block.data(), static_cast<std::size_t>(count));
        afterWrite(written, count);
        written += count;
    }
}

// Makes `parent` when it is missing, one level only; returns it then, or
// nothing when it was there.
std::filesystem::path MakeParent(const std::filesystem::path& parent) {
    std::error_code error;
    if (std::filesystem::exists(parent, error)) {
        if (!std::filesystem::is_directory(parent, error)) {
            throw BenchError("the work folder's parent " + parent.string() + " is not a folder");
        }
        return {};
    }
    if (!std::filesystem::create_directory(parent, error)) {
        throw BenchError("cannot create the work folder's parent " + parent.string() + ": " +
                         error.message());
    }
    return parent;
}

}  // namespace

WorkFolder::WorkFolder(const std::filesystem::path& parent, std::uint64_t needed,
                       const std::string& neededFor)
    : m_madeParent{MakeParent(std::filesystem::absolute(parent))},
      m_dir(std::filesystem::absolute(parent), "tesserak-bench-") {
    std::error_code error;
    const auto space = std::filesystem::space(path(), error);
    if (error) {
        throw BenchError("cannot tell the free space in " + path().string() + ": " +
                         error.message());
    }
    needed += kSpareBytes;
    if (space.available < needed) {
        throw BenchError("not enough free space in " + path().string() + ": " + Mebibytes(needed) +
                         " needed " + neededFor + ", " + Mebibytes(space.available) +
                         " available; use --size or --dir");
    }
}

WorkFolder::MadeParent::~MadeParent() {
    std::error_code error;
    if (!path.empty() && std::filesystem::is_empty(path, error)) {
        std::filesystem::remove(path, error);
    }
}

std::filesystem::path WorkFolder::MakeSource(std::uint64_t size) const {
    const std::filesystem::path source = path() / "source";
    Fd file(source, O_WRONLY | O_CREAT | O_EXCL, "to create the source file");
    WriteRandom(file, size, 0x7E55E4A4ULL, "the making of the source file", [](auto, auto) {});
    file.Check(::fsync(file.get()) == 0, "cannot flush", " to disk");
    file.Close();
    return source;
}

std::vector<std::filesystem::path> RowFolders(const std::filesystem::path& parent) {
    std::vector<std::filesystem::path> rows;
    for (int row = 1; row <= kPieceCount; ++row) {
        rows.push_back(parent / Printf("row%02d", row));
    }
    return rows;
}

std::vector<std::filesystem::path> PiecesIn(const std::vector<std::filesystem::path>& rows) {
    std::vector<std::filesystem::path> pieces;
    for (int row = 1; row <= kPieceCount; ++row) {
        pieces.push_back(PieceFile(rows.at(static_cast<std::size_t>(row - 1)), row));
    }
    return pieces;
}

void MakeFolders(const std::vector<std::filesystem::path>& folders) {
    for (const auto& folder : folders) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            throw BenchError("cannot create the folder " + folder.string() + ": " +
                             error.message());
        }
    }
}

void RemoveAll(const std::vector<std::filesystem::path>& paths) {
    for (const auto& path : paths) {
        std::error_code error;
        std::filesystem::remove_all(path, error);
        if (error) {
            throw BenchError("cannot remove " + path.string() + ": " + error.message());
        }
    }
}

int RunTool(const std::vector<std::string>& argv, const std::filesystem::path& stdoutTo,
            int alsoFine) {
    std::string line;  // for messages
    for (const auto& arg : argv) {
        line += (line.empty() ? "" : " ") + arg;
    }
    line += stdoutTo.empty() ? "" : " > " + stdoutTo.string();
    ThrowIfInterrupted(line);
    ChildResult result;
    try {
        result = RunProgram(argv, stdoutTo, Interrupted);
    } catch (const std::system_error& e) {
        throw BenchError("cannot start '" + line + "': " + e.code().message());
    }
    ThrowIfInterrupted(line);
    if (!result.exited) {
        throw BenchError("'" + line + "' was killed by signal " + std::to_string(result.signal));
    }
    if (result.exitCode != 0 && result.exitCode != alsoFine) {
        throw BenchError("'" + line + "' failed with exit status " +
                         std::to_string(result.exitCode));
    }
    return result.exitCode;
}

void CheckSameFile(const std::filesystem::path& expected, const std::filesystem::path& actual,
                   const std::string& what) {
    // cmp names the first differing byte on its own output; its status 1
    // means the files differ.
    if (RunTool({"cmp", expected.string(), actual.string()}, {}, 1) == 1) {
        throw BenchError(what + ": " + actual.string() + " differs from " + expected.string());
    }
}

void FlushFilesToDisk(const std::vector<std::filesystem::path>& files) {
    std::deque<Fd> open;
    for (const auto& file : files) {
        const Fd& fd = open.emplace_back(file, O_RDONLY, "to flush it to disk");
        fd.Check(::sync_file_range(fd.get(), 0, 0, SYNC_FILE_RANGE_WRITE) == 0,
                 "cannot start writing", " to disk");
    }
    for (Fd& fd : open) {
        fd.Check(::fsync(fd.get()) == 0, "cannot flush", " to disk");
        fd.Close();
    }
}

void WriteAtFloor(const std::filesystem::path& file, std::uint64_t size, PumpStretches& waits) {
    constexpr unsigned kSettle =
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    Fd out(file, O_WRONLY | O_CREAT | O_EXCL, "for the medium's floor");
    std::uint64_t settled = 0;
    waits.BeginPress();
    WriteRandom(out, size, 0xF100A5ULL, "the medium's floor", [&](auto offset, auto count) {
        const auto range = [&](std::uint64_t from, std::uint64_t bytes, unsigned flags) {
            out.Check(::sync_file_range(out.get(), static_cast<off64_t>(from),
                                        static_cast<off64_t>(bytes), flags) == 0,
                      "cannot write", " to the medium");
        };
        range(offset, count, SYNC_FILE_RANGE_WRITE);
        if (offset + count > settled + kUnsettled) {
            range(settled, offset + count - kUnsettled - settled, kSettle);
            settled = offset + count - kUnsettled;
        }
        waits.Pump();
    });
    out.Check(::fdatasync(out.get()) == 0, "cannot flush", " to the medium");
    waits.EndPress();
    out.Close();
}
