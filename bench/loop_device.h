// A loop device bound to a file, so that a file system can be made and
// mounted on it; the binding is undone when the object goes. The device is
// bound with auto-clear too, so it comes free at the last close even when
// the object cannot undo it (a mount still holding it).
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

class LoopDevice {
public:
    // Empty when loop devices can be had here, otherwise why not.
    static std::string WhyUnavailable();

    // Binds `backing` to a free loop device. Raises BenchError naming the
    // device or the file and the cause.
    explicit LoopDevice(const std::filesystem::path& backing);
    ~LoopDevice();
    LoopDevice(const LoopDevice&) = delete;
    LoopDevice& operator=(const LoopDevice&) = delete;

    // "/dev/loop3".
    const std::filesystem::path& path() const { return m_path; }
    // The device number, as cgroups name the device ("7:3").
    dev_t number() const { return m_number; }

private:
    int m_fd = -1;
    std::filesystem::path m_path;
    dev_t m_number = 0;
};
