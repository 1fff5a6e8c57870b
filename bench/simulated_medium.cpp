#include "bench/simulated_medium.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "bench/child_process.h"

namespace {

constexpr const char* kMakeFileSystem = "mkfs.ext4";
// The medium's own bookkeeping beyond the files: ext4's metadata, and room so
// that a nearly full file system does not slow the writes down.
constexpr std::uint64_t kSpareBytes = std::uint64_t{96} << 20;

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path == nullptr ? "" : path);
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (!dir.empty() && ::access((std::filesystem::path(dir) / program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

// Formats the device and hands it on to the mount. No journal, as on the
// FAT of a memory card: the journal's writes come from a kernel thread that
// no cgroup limits. Inode tables are written now rather than by a kernel
// thread in the background of the timed runs.
const std::filesystem::path& Formatted(const std::filesystem::path& device) {
    ChildProcess({kMakeFileSystem, "-q", "-F", "-m", "0", "-O", "^has_journal", "-E",
                  "lazy_itable_init=0", device.string()})
        .RunChecked();
    return device;
}

}  // namespace

std::string SimulatedMedium::WhyUnavailable() {
    if (::geteuid() != 0) {
        return "it needs root (loop devices, mount and cgroups); run it with sudo";
    }
    if (std::string why = LoopDevice::WhyUnavailable(); !why.empty()) {
        return why;
    }
    if (!OnPath(kMakeFileSystem)) {
        return std::string(kMakeFileSystem) + " is not on PATH (Debian package e2fsprogs)";
    }
    return WriteLimitGroup::WhyUnavailable();
}

SimulatedMedium::SimulatedMedium(const std::filesystem::path& name, std::uint64_t capacity,
                                 std::uint64_t bytesPerSecond)
    : m_backing(name.string() + ".img", capacity + kSpareBytes),
      m_loop(m_backing.path()),
      m_mount(Formatted(m_loop.path()), "ext4", name),
      m_limit(m_loop.number(), bytesPerSecond) {}

std::string SimulatedMedium::Describe() const {
    return m_loop.path().string() + " on " + m_backing.path().string() + ", ext4 on " +
           m_mount.path().string() + ", " + m_limit.Describe();
}
