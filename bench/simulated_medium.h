// A slow removable medium simulated on this machine: a sparse file on the
// normal disk bound to a loop device, an ext4 file system on it mounted on a
// new folder, and this process in a block-I/O cgroup that limits the writes
// to the device (see WriteLimitGroup). Needs root and loop devices. All of it
// is undone in reverse order when the object goes, on failure and
// interruption too: the cgroup left and removed, the file system unmounted,
// the loop device freed, the file removed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "bench/loop_device.h"
#include "bench/scoped_mount.h"
#include "bench/sparse_file.h"
#include "bench/write_limit_group.h"

class SimulatedMedium {
public:
    // Empty when simulated media can be made here, otherwise why not, in
    // words for the user.
    static std::string WhyUnavailable();

    // Makes `name`.img and the mount point `name` beside it, neither of
    // which may exist; the file system holds about `capacity` bytes.
    // Raises BenchError.
    SimulatedMedium(const std::filesystem::path& name, std::uint64_t capacity,
                    std::uint64_t bytesPerSecond);

    // The folder where the medium's file system is mounted.
    const std::filesystem::path& root() const { return m_mount.path(); }
    // Lines for the report: the device, the file system and the limit.
    std::string Describe() const;

private:
    SparseFile m_backing;
    LoopDevice m_loop;
    ScopedMount m_mount;
    WriteLimitGroup m_limit;
};
