// The program's own questions about a path, asked by name rather than through
// an open handle: a file's size as its directory entry records it, and what
// occupies a name.
#pragma once

#include <cstdint>

// Size of the file at `path` as its directory entry records it (a 64-bit status
// query by path, not a question to an open handle). -1 when the query fails.
std::int64_t QueryFileSizeByPath(const char16_t* path);

// What a directory lookup of `path` finds first. The path probe uses it to tell
// "something is there" from "nothing is there" after a create has failed.
enum class PathEntryKind {
    nothing,    // no entry by that name
    file,       // a file (or anything that is not a folder)
    directory,  // a folder
    dotEntry,   // the last component is "." or ".."
};
PathEntryKind LookUpPathEntry(const char16_t* path);
