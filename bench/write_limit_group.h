// A block-I/O control group that limits the writes to one block device, with
// this process in it for the object's life; the children started meanwhile
// (dd, cmp) begin in it too. All writes to the device must pass the limit,
// also the buffered write-back that the kernel's flusher threads do for the
// process, or a large copy would reach the device unlimited.
//
// cgroup v2: a new group under the root of the hierarchy, "MAJ:MIN wbps=N"
// in its io.max. Write-back is charged to the group of the pages' writer only
// when both the io and the memory controllers are enabled for it, so both are
// enabled in the root's cgroup.subtree_control; they are left enabled
// afterwards, as taking them away would lift other groups' limits too.
// cgroup v1: "MAJ:MIN N" in blkio.throttle.write_bps_device of the root
// group. Version 1 limits each group's own I/O only, and charges all
// write-back by the flusher threads to the root group; with the process in
// the root group too, one limit covers every write to the device, which no
// other program uses. Asked for a group of its own, on v1 the limit covers
// only the writes the process issues itself (a started write-back, a sync),
// not the flusher threads'.
//
// On the way out, failure and interruption included, the limit is lifted,
// the process goes back to its own group and a group made is removed.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

class WriteLimitGroup {
public:
    // Empty when a block-I/O controller can be used here, otherwise why not.
    static std::string WhyUnavailable();

    // Raises BenchError naming the control file and the cause, with nothing
    // left behind.
    // `ownGroup`: a new group on cgroup v1 too.
    WriteLimitGroup(dev_t device, std::uint64_t bytesPerSecond, bool ownGroup);
    ~WriteLimitGroup();
    WriteLimitGroup(const WriteLimitGroup&) = delete;
    WriteLimitGroup& operator=(const WriteLimitGroup&) = delete;

    // One line for the report: the version, the group and the limit.
    std::string Describe() const;

private:
    void Join();
    void Undo() noexcept;
    std::string LimitLine(std::uint64_t bytesPerSecond) const;

    int m_version = 0;
    std::filesystem::path m_ownGroup;  // where this process was
    std::filesystem::path m_group;     // where the limit is
    bool m_made = false;               // m_group was made here
    std::string m_device;              // "7:3"
    std::uint64_t m_bytesPerSecond;
    bool m_limited = false;
    bool m_joined = false;
};
