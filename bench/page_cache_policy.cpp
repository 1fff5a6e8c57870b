#include "bench/page_cache_policy.h"

#include <fcntl.h>
#include <unistd.h>

#include <vector>

#include "bench/bench_error.h"
#include "bench/interrupt_flag.h"
#include "bench/unique_fd.h"

namespace {

constexpr const char* kDropCaches = "/proc/sys/vm/drop_caches";

// Opening for writing is the real test: root inside a container may pass
// access(2) and still meet a read-only /proc/sys.
bool CanDropCaches() {
    const int fd = ::open(kDropCaches, O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace

PageCachePolicy::PageCachePolicy(bool cold) : m_cold(cold), m_canDrop(CanDropCaches()) {
    if (m_cold && !m_canDrop) {
        throw BenchError(std::string("--cold needs to write ") + kDropCaches +
                         ", which this user cannot (run as root)");
    }
}

void PageCachePolicy::BeforeTimedRun(const std::vector<std::filesystem::path>& inputs) const {
    ::sync();
    if (m_canDrop) {
        DropAll();
    }
    if (m_cold) {
        return;
    }
    for (const auto& input : inputs) {
        Warm(input);
    }
}

std::string PageCachePolicy::Describe() const {
    if (m_cold) {
        return "cold cache: before each timed run, sync and drop the whole page cache";
    }
    if (m_canDrop) {
        return "warm cache: before each timed run, sync, drop the page cache and read the run's "
               "input once, so only the input is cached";
    }
    return "warm cache: before each timed run, sync and read the run's input once (the cache "
           "cannot be dropped without root, so earlier runs' files may stay cached too)";
}

void PageCachePolicy::Warm(const std::filesystem::path& input) const {
    // read(2) through a small buffer, not mmap, so the warming does not show
    // up in the resident-memory figure of the engine.
    UniqueFd file(input, O_RDONLY, "to warm the page cache");
    std::vector<unsigned char> buffer(std::size_t{1} << 20);
    while (file.Read(buffer.data(), buffer.size()) > 0) {
        InterruptFlag::ThrowIfRaised("the warming of the page cache");
    }
}

void PageCachePolicy::DropAll() {
    UniqueFd control(kDropCaches, O_WRONLY, "to drop the page cache");
    control.WriteAll("3\n", 2);
    control.Close();
}
