#include "bench/simulated_medium.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "bench/bench_error.h"
#include "bench/child_process.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr const char* kLoopControl = "/dev/loop-control";
constexpr const char* kMakeFileSystem = "mkfs.ext4";
// The medium's own bookkeeping beyond the files: ext4's metadata, and room so
// that a nearly full file system does not slow the writes down.
constexpr std::uint64_t kSpareBytes = std::uint64_t{96} << 20;
// A file just closed can hold the mount for a moment (a child still going).
constexpr int kUnmountAttempts = 50;
constexpr useconds_t kUnmountPause = 100'000;

// The loop device's request size in sysfs.
std::filesystem::path SectorsKbFile(dev_t device) {
    return "/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device)) +
           "/queue/max_sectors_kb";
}

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

void WriteSectorsKb(dev_t device, const std::string& kb) {
    std::ofstream file(SectorsKbFile(device));
    file << kb << std::flush;
    if (!file) {
        throw BenchError("cannot write " + kb + " to " + SectorsKbFile(device).string() +
                         " (more than the device's max_hw_sectors_kb?)");
    }
}

}  // namespace

std::string SimulatedMedium::WhyUnavailable() {
    if (::geteuid() != 0) {
        return "it needs root (loop devices, mount and cgroups); run it with sudo";
    }
    const int fd = ::open(kLoopControl, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return DescribeErrno(std::string("no loop devices: cannot open ") + kLoopControl, errno) +
               " (load the loop module; in a container, pass the loop devices in)";
    }
    ::close(fd);
    if (!OnPath(kMakeFileSystem)) {
        return std::string(kMakeFileSystem) + " is not on PATH (Debian package e2fsprogs)";
    }
    return WriteLimitGroup::WhyUnavailable();
}

SimulatedMedium::SimulatedMedium(const std::filesystem::path& name, std::uint64_t capacity,
                                 std::uint64_t bytesPerSecond, bool ownGroup, int maxSectorsKb)
    : m_mount(name.string() + ".img", capacity + kSpareBytes, name, maxSectorsKb),
      m_limit(m_mount.device, bytesPerSecond, ownGroup) {}

std::string SimulatedMedium::Describe() const {
    // The kernel's name of the device, as the loop option found it.
    const std::string device = "/sys/dev/block/" + std::to_string(major(m_mount.device)) + ":" +
                               std::to_string(minor(m_mount.device));
    std::error_code error;
    const std::string loop = std::filesystem::read_symlink(device, error).filename().string();
    std::ifstream sectors(SectorsKbFile(m_mount.device));
    std::string sectorsKb = "?";
    sectors >> sectorsKb;
    return "/dev/" + (error ? "loop?" : loop) + " on " + m_mount.image.string() + ", ext4 on " +
           m_mount.folder.string() + ", max_sectors_kb " + sectorsKb +
           (m_mount.sectorsKbBefore.empty() ? "" : " (was " + m_mount.sectorsKbBefore + ")") +
           ", " + m_limit.Describe();
}

SimulatedMedium::Mount::Mount(const std::filesystem::path& image, std::uint64_t size,
                              const std::filesystem::path& folder, int maxSectorsKb)
    : image(image), folder(folder) {
    try {
        if (std::filesystem::exists(image)) {
            throw BenchError("cannot make the medium's file " + image.string() +
                             ": it exists already");
        }
        MakeSparseFile(image, size);
        madeImage = true;
        // No journal, as on the FAT of a memory card: the journal's writes
        // come from a kernel thread that no cgroup limits. Inode tables are
        // written now rather than by a kernel thread in the background of the
        // timed runs.
        ChildProcess({kMakeFileSystem, "-q", "-F", "-m", "0", "-O", "^has_journal", "-E",
                      "lazy_itable_init=0", image.string()})
            .RunChecked();
        if (!std::filesystem::create_directory(folder)) {
            throw BenchError("cannot create the mount point " + folder.string() +
                             ": it exists already");
        }
        madeFolder = true;
        ChildProcess({"mount", "-t", "ext4", "-o", "loop,noatime,nosuid,nodev", image.string(),
                      folder.string()})
            .RunChecked();
        mounted = true;
        struct stat status = {};
        if (::stat(folder.c_str(), &status) != 0) {
            throw BenchError(DescribeErrno("cannot read the device of " + folder.string(), errno));
        }
        device = status.st_dev;
        if (maxSectorsKb > 0) {
            std::ifstream before(SectorsKbFile(device));
            std::string old;
            if (!(before >> old)) {
                throw BenchError("cannot read " + SectorsKbFile(device).string());
            }
            WriteSectorsKb(device, std::to_string(maxSectorsKb));
            sectorsKbBefore = old;
        }
    } catch (...) {
        Undo();
        throw;
    }
}

void SimulatedMedium::Mount::Undo() noexcept {
    if (!sectorsKbBefore.empty()) {
        try {
            WriteSectorsKb(device, sectorsKbBefore);
        } catch (const BenchError& e) {
            std::fprintf(stderr, "tesserak_bench: %s\n", e.what());
        }
        sectorsKbBefore.clear();
    }
    for (int attempt = 1; mounted && ::umount2(folder.c_str(), 0) != 0; ++attempt) {
        if (errno != EBUSY || attempt == kUnmountAttempts) {
            std::fprintf(stderr, "tesserak_bench: could not unmount %s (%s); detaching it lazily\n",
                         folder.c_str(), std::strerror(errno));
            ::umount2(folder.c_str(), MNT_DETACH);
            break;
        }
        ::usleep(kUnmountPause);
    }
    mounted = false;
    for (auto [path, made] : {std::pair{folder, &madeFolder}, std::pair{image, &madeImage}}) {
        std::error_code error;
        if (*made && !std::filesystem::remove(path, error) && error) {
            std::fprintf(stderr, "tesserak_bench: could not remove %s: %s\n", path.c_str(),
                         error.message().c_str());
        }
        *made = false;
    }
}
