// The space query on Linux: statfs of the path.
#include <linux/capability.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

#include "platform/file_api.h"
#include "platform/space_query.h"
#include "platform/system_calls_posix.h"
#include "platform/utf.h"

namespace {

// Whether this process may write into the blocks a file system keeps back
// for the system (ext2/3/4 give them to root, to the owner the file system
// names, which is root unless changed, and to CAP_SYS_RESOURCE). A press
// run as root that fits only there still fits.
bool MayUseReservedBlocks() {
    if (::geteuid() == 0) {
        return true;
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (::syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    return (data[CAP_TO_INDEX(CAP_SYS_RESOURCE)].effective & CAP_TO_MASK(CAP_SYS_RESOURCE)) != 0;
}

}  // namespace

bool AskSystemForSpace(const char16_t* path, FileSystemSpace& space) {
    std::string utf8;
    struct statfs st {};
    if (!Utf16ToUtf8(std::u16string_view(path), utf8) || sys::Statfs(utf8.c_str(), &st) != 0) {
        return false;
    }
    // A file system that counts no blocks (a memory file system without a
    // size limit, many FUSE mounts) cannot say how much is left; it is not
    // full.
    if (st.f_blocks == 0) {
        return false;
    }
    const auto unit = static_cast<std::uint64_t>(st.f_frsize != 0 ? st.f_frsize : st.f_bsize);
    const auto blocks = MayUseReservedBlocks() ? st.f_bfree : st.f_bavail;
    space.freeBytes = static_cast<std::uint64_t>(blocks) * unit;
    constexpr decltype(st.f_type) kMsdosMagic = 0x4d44;  // vfat, msdos: FAT12/16/32
    space.fat = st.f_type == kMsdosMagic;
    return true;
}
