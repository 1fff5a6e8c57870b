#include "bench/write_limit_group.h"

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "bench/bench_error.h"

namespace {

// A group that was just left can be busy for a moment.
constexpr int kRemoveAttempts = 50;
constexpr useconds_t kRemovePause = 20'000;

// Where the block-I/O controller lives and where this process is in it.
struct Hierarchy {
    int version = 0;
    std::filesystem::path mount;
    std::filesystem::path ownGroup;
};

std::vector<std::string> Words(const std::string& line, char separator = ' ') {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; std::getline(in, word, separator);) {
        if (!word.empty()) {
            words.push_back(word);
        }
    }
    return words;
}

bool Contains(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// The whole text of a small file; empty when it cannot be read.
std::string ReadSmallFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One write, as control files want it.
void WriteControl(const std::filesystem::path& file, const std::string& text) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        throw BenchError(DescribeErrno("cannot open " + file.string(), errno));
    }
    const ssize_t written = ::write(fd, text.data(), text.size());
    const int saved = errno;
    ::close(fd);
    if (written != static_cast<ssize_t>(text.size())) {
        throw BenchError(DescribeErrno("cannot write '" + text + "' to " + file.string(),
                                       written < 0 ? saved : EIO));
    }
}

// This process's group in the hierarchy with id 0 (v2) or with `controller`
// (v1), as /proc/self/cgroup names it.
std::optional<std::string> OwnGroupIn(int version, const std::string& controller) {
    std::ifstream in("/proc/self/cgroup");
    for (std::string line; std::getline(in, line);) {
        const std::size_t first = line.find(':');
        const std::size_t second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos) {
            continue;
        }
        const std::string id = line.substr(0, first);
        const auto controllers = Words(line.substr(first + 1, second - first - 1), ',');
        if ((version == 2 && id == "0") || (version == 1 && Contains(controllers, controller))) {
            return line.substr(second + 1);
        }
    }
    return std::nullopt;
}

// `group` relative to a mount of the hierarchy whose root is `mountRoot`.
std::filesystem::path Below(const std::filesystem::path& mount, const std::string& mountRoot,
                            const std::string& group) {
    std::string relative = group;
    if (mountRoot != "/" && relative.rfind(mountRoot, 0) == 0) {
        relative = relative.substr(mountRoot.size());
    }
    return mount / std::filesystem::path(relative).relative_path();
}

// v2 when its hierarchy offers the io controller, otherwise v1's blkio.
std::optional<Hierarchy> FindHierarchy() {
    std::optional<Hierarchy> v1;
    std::optional<Hierarchy> v2;
    std::ifstream in("/proc/self/mountinfo");
    for (std::string line; std::getline(in, line);) {
        const auto words = Words(line);
        std::size_t dash = 0;
        while (dash < words.size() && words[dash] != "-") {
            ++dash;
        }
        if (dash < 5 || dash + 3 >= words.size()) {
            continue;
        }
        const std::string& root = words[3];
        const std::filesystem::path mount = words[4];
        const std::string& type = words[dash + 1];
        if (type == "cgroup2" && !v2) {
            const auto available = Words(ReadSmallFile(mount / "cgroup.controllers"));
            const auto own = OwnGroupIn(2, "");
            if (Contains(available, "io") && own) {
                v2 = Hierarchy{2, mount, Below(mount, root, *own)};
            }
        } else if (type == "cgroup" && !v1 && Contains(Words(words[dash + 3], ','), "blkio")) {
            const auto own = OwnGroupIn(1, "blkio");
            if (own) {
                v1 = Hierarchy{1, mount, Below(mount, root, *own)};
            }
        }
    }
    return v2 ? v2 : v1;
}

}  // namespace

std::string WriteLimitGroup::WhyUnavailable() {
    if (!FindHierarchy()) {
        return "no block-I/O cgroup controller: neither a cgroup v2 hierarchy offering io nor a "
               "v1 blkio hierarchy is mounted";
    }
    return {};
}

WriteLimitGroup::WriteLimitGroup(dev_t device, std::uint64_t bytesPerSecond, bool ownGroup)
    : m_device(std::to_string(major(device)) + ":" + std::to_string(minor(device))),
      m_bytesPerSecond(bytesPerSecond) {
    const auto hierarchy = FindHierarchy();
    if (!hierarchy) {
        throw BenchError(WhyUnavailable());
    }
    m_version = hierarchy->version;
    m_ownGroup = hierarchy->ownGroup;
    const std::filesystem::path& root = hierarchy->mount;
    try {
        if (m_version == 2) {
            const auto available = Words(ReadSmallFile(root / "cgroup.controllers"));
            WriteControl(root / "cgroup.subtree_control",
                         Contains(available, "memory") ? "+io +memory" : "+io");
        }
        if (m_version == 2 || ownGroup) {
            std::string pattern = (root / "tesserak-bench-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr) {
                throw BenchError(
                    DescribeErrno("cannot create a cgroup in " + root.string(), errno));
            }
            m_group = pattern;
            m_made = true;
        } else {
            m_group = root;
        }
        WriteControl(m_group / (m_version == 2 ? "io.max" : "blkio.throttle.write_bps_device"),
                     LimitLine(m_bytesPerSecond));
        m_limited = true;
        Join();
    } catch (...) {
        Undo();
        throw;
    }
}

WriteLimitGroup::~WriteLimitGroup() {
    Undo();
}

std::string WriteLimitGroup::LimitLine(std::uint64_t bytesPerSecond) const {
    if (m_version == 2) {
        return m_device + " wbps=" + (bytesPerSecond == 0 ? "max" : std::to_string(bytesPerSecond));
    }
    // Version 1 lifts a limit with 0.
    return m_device + " " + std::to_string(bytesPerSecond);
}

void WriteLimitGroup::Join() {
    WriteControl(m_group / "cgroup.procs", std::to_string(::getpid()));
    m_joined = true;
}

void WriteLimitGroup::Undo() noexcept {
    try {
        // Lifted first, so nothing this process still has queued waits on
        // the limit while it leaves.
        if (m_limited) {
            m_limited = false;
            WriteControl(m_group / (m_version == 2 ? "io.max" : "blkio.throttle.write_bps_device"),
                         LimitLine(0));
        }
    } catch (const BenchError& e) {
        std::fprintf(stderr, "tesserak_bench: %s\n", e.what());
    }
    try {
        if (m_joined) {
            m_joined = false;
            WriteControl(m_ownGroup / "cgroup.procs", std::to_string(::getpid()));
        }
    } catch (const BenchError& e) {
        std::fprintf(stderr, "tesserak_bench: %s\n", e.what());
    }
    if (!m_made) {
        return;
    }
    m_made = false;
    for (int attempt = 1; ::rmdir(m_group.c_str()) != 0; ++attempt) {
        if (errno != EBUSY || attempt == kRemoveAttempts) {
            std::fprintf(stderr, "tesserak_bench: could not remove the cgroup %s: %s\n",
                         m_group.c_str(), std::strerror(errno));
            break;
        }
        ::usleep(kRemovePause);
    }
}

std::string WriteLimitGroup::Describe() const {
    return "cgroup v" + std::to_string(m_version) + (m_made ? " group " : " root group ") +
           m_group.string() + ": " +
           (m_version == 2 ? "io.max '" : "blkio.throttle.write_bps_device '") +
           LimitLine(m_bytesPerSecond) + "'";
}
