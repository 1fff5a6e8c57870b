#include "bench/loop_device.h"

#include <fcntl.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "bench/bench_error.h"
#include "bench/unique_fd.h"

namespace {

constexpr const char* kLoopControl = "/dev/loop-control";
// Another program may take the free device between asking and binding.
constexpr int kBindAttempts = 8;

// Binds `backing` to the open device `fd`; false with errno set on failure.
bool Bind(int fd, int backing, const std::filesystem::path& backingPath) {
    loop_config config = {};
    config.fd = static_cast<unsigned>(backing);
    config.info.lo_flags = LO_FLAGS_AUTOCLEAR;
    std::strncpy(reinterpret_cast<char*>(config.info.lo_file_name), backingPath.c_str(),
                 LO_NAME_SIZE - 1);
    if (::ioctl(fd, LOOP_CONFIGURE, &config) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOTTY) {
        return false;
    }
    // Kernels before 5.8 bind in two steps.
    if (::ioctl(fd, LOOP_SET_FD, backing) != 0) {
        return false;
    }
    if (::ioctl(fd, LOOP_SET_STATUS64, &config.info) != 0) {
        const int saved = errno;
        ::ioctl(fd, LOOP_CLR_FD, 0);
        errno = saved;
        return false;
    }
    return true;
}

}  // namespace

std::string LoopDevice::WhyUnavailable() {
    const int fd = ::open(kLoopControl, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return DescribeErrno(std::string("no loop devices: cannot open ") + kLoopControl, errno) +
               " (load the loop module; in a container, pass the loop devices in)";
    }
    ::close(fd);
    return {};
}

LoopDevice::LoopDevice(const std::filesystem::path& backing) {
    UniqueFd control(kLoopControl, O_RDWR, "to find a free loop device");
    UniqueFd file(backing, O_RDWR, "to bind it to a loop device");
    for (int attempt = 1;; ++attempt) {
        const int number = ::ioctl(control.get(), LOOP_CTL_GET_FREE);
        if (number < 0) {
            throw BenchError(DescribeErrno("no free loop device", errno));
        }
        const std::filesystem::path device = "/dev/loop" + std::to_string(number);
        const int fd = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            throw BenchError(DescribeErrno("cannot open " + device.string(), errno));
        }
        if (Bind(fd, file.get(), backing)) {
            struct stat status = {};
            ::fstat(fd, &status);
            m_fd = fd;
            m_path = device;
            m_number = status.st_rdev;
            return;
        }
        const int saved = errno;
        ::close(fd);
        if (saved != EBUSY || attempt == kBindAttempts) {
            throw BenchError(
                DescribeErrno("cannot bind " + backing.string() + " to " + device.string(), saved));
        }
    }
}

LoopDevice::~LoopDevice() {
    // With the file system still mounted this only marks the device to come
    // free at its last close.
    if (::ioctl(m_fd, LOOP_CLR_FD, 0) != 0 && errno != ENXIO) {
        std::fprintf(stderr, "tesserak_bench: could not free the loop device %s: %s\n",
                     m_path.c_str(), std::strerror(errno));
    }
    ::close(m_fd);
}
