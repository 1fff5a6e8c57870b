#include "bench/floor_loop.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "bench/bench_error.h"
#include "bench/interrupt_flag.h"
#include "bench/unique_fd.h"
#include "bench/work_folder.h"

namespace {

constexpr std::uint64_t kWriteSize = std::uint64_t{1} << 20;
constexpr std::uint64_t kUnsettled = std::uint64_t{256} << 10;

void SyncRange(const UniqueFd& file, std::uint64_t from, std::uint64_t count, unsigned flags) {
    if (::sync_file_range(file.get(), static_cast<off64_t>(from), static_cast<off64_t>(count),
                          flags) != 0) {
        throw BenchError(
            DescribeErrno("cannot write " + file.path().string() + " to the medium", errno));
    }
}

}  // namespace

void WriteAtFloor(const std::filesystem::path& file, std::uint64_t size, PumpStretches& waits) {
    UniqueFd out(file, O_WRONLY | O_CREAT | O_EXCL, "for the medium's floor");
    std::vector<std::uint64_t> block(kWriteSize / sizeof(std::uint64_t));
    std::uint64_t state = 0xF100A5ULL;
    std::uint64_t settled = 0;
    waits.BeginPress();
    for (std::uint64_t written = 0; written < size;) {
        InterruptFlag::ThrowIfRaised("the medium's floor");
        FillRandom(block, state);
        const std::uint64_t count = std::min(size - written, kWriteSize);
        out.WriteAll(block.data(), static_cast<std::size_t>(count));
        SyncRange(out, written, count, SYNC_FILE_RANGE_WRITE);
        written += count;
        if (written > settled + kUnsettled) {
            SyncRange(
                out, settled, written - kUnsettled - settled,
                SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
            settled = written - kUnsettled;
        }
        waits.Pump();
    }
    if (::fdatasync(out.get()) != 0) {
        throw BenchError(DescribeErrno("cannot flush " + file.string() + " to the medium", errno));
    }
    waits.EndPress();
    out.Close();
}
