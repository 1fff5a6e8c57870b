#include "bench/work_folder.h"

#include <fcntl.h>

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "bench/bench_error.h"
#include "bench/interrupt_flag.h"
#include "bench/throughput_table.h"
#include "bench/unique_fd.h"
#include "engine/piece_layout.h"
#include "tests/support/child_process.h"

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;
// Room left over on the disk beyond the files themselves.
constexpr std::uint64_t kSpareBytes = std::uint64_t{256} << 20;

// The command line as one text, for messages.
std::string CommandLine(const std::vector<std::string>& argv,
                        const std::filesystem::path& stdoutTo) {
    std::string line;
    for (const auto& arg : argv) {
        line += (line.empty() ? "" : " ") + arg;
    }
    return stdoutTo.empty() ? line : line + " > " + stdoutTo.string();
}

}  // namespace

void FillRandom(std::vector<std::uint64_t>& block, std::uint64_t& state) {
    // splitmix64: a few instructions per 8 bytes, so making the data costs
    // little next to the runs it feeds; every starting value is usable.
    for (auto& word : block) {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        word = z ^ (z >> 31);
    }
}

WorkFolder::WorkFolder(const std::filesystem::path& parent, std::uint64_t needed,
                       const std::string& neededFor)
    : m_parent(std::filesystem::absolute(parent)) {
    std::error_code error;
    if (!std::filesystem::exists(m_parent, error)) {
        if (!std::filesystem::create_directory(m_parent, error)) {
            throw BenchError("cannot create the work folder's parent " + m_parent.string() + ": " +
                             error.message());
        }
        m_madeParent = true;
    } else if (!std::filesystem::is_directory(m_parent, error)) {
        throw BenchError("the work folder's parent " + m_parent.string() + " is not a folder");
    }
    try {
        m_dir.emplace(m_parent, "tesserak-bench-");
        CheckFreeSpace(needed, neededFor);
    } catch (...) {
        m_dir.reset();
        if (m_madeParent) {
            std::filesystem::remove(m_parent, error);
        }
        throw;
    }
}

WorkFolder::~WorkFolder() {
    m_dir.reset();
    std::error_code error;
    if (m_madeParent && std::filesystem::is_empty(m_parent, error)) {
        std::filesystem::remove(m_parent, error);
    }
}

void WorkFolder::CheckFreeSpace(std::uint64_t needed, const std::string& neededFor) const {
    std::error_code error;
    const auto space = std::filesystem::space(path(), error);
    if (error) {
        throw BenchError("cannot tell the free space in " + path().string() + ": " +
                         error.message());
    }
    needed += kSpareBytes;
    if (space.available < needed) {
        throw BenchError("not enough free space in " + path().string() + ": " +
                         Mebibytes(static_cast<long long>(needed)) + " needed " + neededFor + ", " +
                         Mebibytes(static_cast<long long>(space.available)) +
                         " available; use --size or --dir");
    }
}

std::filesystem::path WorkFolder::MakeSource(std::uint64_t size) const {
    const std::filesystem::path source = path() / "source";
    UniqueFd file(source, O_WRONLY | O_CREAT | O_EXCL, "to create the source file");
    std::vector<std::uint64_t> block(kBlockSize / sizeof(std::uint64_t));
    std::uint64_t state = 0x7E55E4A4ULL;
    for (std::uint64_t left = size; left > 0;) {
        InterruptFlag::ThrowIfRaised("the making of the source file");
        FillRandom(block, state);
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, kBlockSize));
        file.WriteAll(block.data(), count);
        left -= count;
    }
    file.Sync();
    file.Close();
    return source;
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

std::vector<std::filesystem::path> RowFolders(const std::filesystem::path& parent) {
    std::vector<std::filesystem::path> rows;
    for (int row = 1; row <= kPieceCount; ++row) {
        char name[16];
        std::snprintf(name, sizeof name, "row%02d", row);
        rows.push_back(parent / name);
    }
    return rows;
}

std::vector<std::filesystem::path> PiecesIn(const std::vector<std::filesystem::path>& rows) {
    std::vector<std::filesystem::path> pieces;
    for (int row = 1; row <= kPieceCount; ++row) {
        pieces.push_back(PieceFile(rows[static_cast<std::size_t>(row - 1)], row));
    }
    return pieces;
}

int RunTool(const std::vector<std::string>& argv, const std::filesystem::path& stdoutTo) {
    const std::string line = CommandLine(argv, stdoutTo);
    InterruptFlag::ThrowIfRaised(line.c_str());
    ChildResult result;
    try {
        result = RunProgram(argv, stdoutTo, InterruptFlag::Raised);
    } catch (const std::system_error& e) {
        throw BenchError("cannot start '" + line + "': " + e.code().message());
    }
    InterruptFlag::ThrowIfRaised(line.c_str());
    if (!result.exited) {
        throw BenchError("'" + line + "' was killed by signal " + std::to_string(result.signal));
    }
    return result.exitCode;
}

void RunToolChecked(const std::vector<std::string>& argv, const std::filesystem::path& stdoutTo) {
    const int status = RunTool(argv, stdoutTo);
    if (status != 0) {
        throw BenchError("'" + CommandLine(argv, stdoutTo) + "' failed with exit status " +
                         std::to_string(status));
    }
}

void CheckSameFile(const std::filesystem::path& expected, const std::filesystem::path& actual,
                   const std::string& what) {
    // cmp names the first differing byte on its own output.
    const int status = RunTool({"cmp", expected.string(), actual.string()});
    if (status == 1) {
        throw BenchError(what + ": " + actual.string() + " differs from " + expected.string());
    }
    if (status != 0) {
        throw BenchError("'" + CommandLine({"cmp", expected.string(), actual.string()}, {}) +
                         "' failed with exit status " + std::to_string(status));
    }
}
