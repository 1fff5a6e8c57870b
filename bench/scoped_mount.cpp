#include "bench/scoped_mount.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "bench/bench_error.h"

namespace {

// A file just closed can hold the mount for a moment (a child still going).
constexpr int kUnmountAttempts = 50;
constexpr useconds_t kUnmountPause = 100'000;

}  // namespace

ScopedMount::ScopedMount(const std::filesystem::path& device, const std::string& type,
                         const std::filesystem::path& folder)
    : m_folder(folder) {
    std::error_code error;
    if (!std::filesystem::create_directory(m_folder, error)) {
        throw BenchError("cannot create the mount point " + m_folder.string() + ": " +
                         (error ? error.message() : "it exists already"));
    }
    if (::mount(device.c_str(), m_folder.c_str(), type.c_str(), MS_NOATIME | MS_NOSUID | MS_NODEV,
                nullptr) != 0) {
        const int saved = errno;
        std::filesystem::remove(m_folder, error);
        throw BenchError(DescribeErrno(
            "cannot mount " + device.string() + " (" + type + ") on " + m_folder.string(), saved));
    }
}

ScopedMount::~ScopedMount() {
    for (int attempt = 1; ::umount2(m_folder.c_str(), 0) != 0; ++attempt) {
        if (errno != EBUSY || attempt == kUnmountAttempts) {
            std::fprintf(stderr, "tesserak_bench: could not unmount %s (%s); detaching it lazily\n",
                         m_folder.c_str(), std::strerror(errno));
            ::umount2(m_folder.c_str(), MNT_DETACH);
            break;
        }
        ::usleep(kUnmountPause);
    }
    std::error_code error;
    std::filesystem::remove(m_folder, error);
}
