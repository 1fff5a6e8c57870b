// A slow removable medium simulated on this machine: an ext4 file system in a
// sparse file on the normal disk, mounted through a loop device on a new
// folder, and this process in a block-I/O cgroup that limits the writes to
// the device (see WriteLimitGroup). Needs root and loop devices. All of it is
// undone in reverse order when the object goes, on failure and interruption
// too: the cgroup left and removed, the file system unmounted (which frees
// the loop device), the folder and the file removed.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "bench/write_limit_group.h"

class SimulatedMedium {
public:
    // Empty when simulated media can be made here, otherwise why not, in
    // words for the user.
    static std::string WhyUnavailable();

    // Makes `name`.img and the mount point `name` beside it, neither of
    // which may exist; the file system holds about `capacity` bytes. The
    // limit goes on a group of this process's own when `ownGroup`; the loop
    // device's largest request is `maxSectorsKb` unless that is 0. Raises
    // BenchError.
    SimulatedMedium(const std::filesystem::path& name, std::uint64_t capacity,
                    std::uint64_t bytesPerSecond, bool ownGroup, int maxSectorsKb);

    // The folder where the medium's file system is mounted.
    const std::filesystem::path& root() const { return m_mount.folder; }
    // Lines for the report: the device, the file system and the limit.
    std::string Describe() const;

private:
    // The file system made in `image` and mounted on `folder` with mount's
    // loop option, which binds the device with auto-clear: it comes free when
    // the file system is unmounted, even by someone else.
    struct Mount {
        Mount(const std::filesystem::path& image, std::uint64_t size,
              const std::filesystem::path& folder, int maxSectorsKb);
        ~Mount() { Undo(); }
        Mount(const Mount&) = delete;
        Mount& operator=(const Mount&) = delete;
        void Undo() noexcept;

        std::filesystem::path image;
        std::filesystem::path folder;
        bool madeImage = false;
        bool madeFolder = false;
        bool mounted = false;
        dev_t device = 0;
        // The device's max_sectors_kb as it was, to put back; empty when
        // it was left alone.
        std::string sectorsKbBefore;
    };

    Mount m_mount;
    WriteLimitGroup m_limit;
};
