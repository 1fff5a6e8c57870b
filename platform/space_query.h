// The program's own question to the system: how much the file system that
// holds a path can still take.
#pragma once

#include "platform/file_system_space.h"

// What the file system that holds `path` (an existing file or folder) can
// still take. True with `space` filled; false when the system cannot say,
// and then nothing is known (callers go on as if there were room).
bool QueryFileSystemSpace(const char16_t* path, FileSystemSpace& space);

// Each system's own answer for a path that is not null (space_query_*.cpp).
bool AskSystemForSpace(const char16_t* path, FileSystemSpace& space);
