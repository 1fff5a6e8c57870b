// The space query's part that is the same on every system: the test seam.
#include "platform/space_query.h"
#include "platform/fault_injection.h"
#include "platform/file_api.h"
#include "platform/injection_point.h"

bool QueryFileSystemSpace(const char16_t* path, FileSystemSpace& space) {
    DWORD ignored = ERROR_SUCCESS;  // the query reports no error number, only false
    if (fault_injection::TakeFailure(fault_injection::Call::QueryFileSystemSpace, ignored)) {
        return false;
    }
    if (const auto faked = fault_injection::FakedFileSystemSpace()) {
        space = *faked;
        return true;
    }
    return path != nullptr && AskSystemForSpace(path, space);
}
